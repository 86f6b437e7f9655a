#include "spell/dictionarylocator.h"
#include "spell/hunspellengine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Dictionaries that are no dictionaries: nothing crashes, hangs or underlines every word.
class tst_HunspellEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void damagedDictionary_data();
    void damagedDictionary();
    void frenchWords();
    void wordsAddedBeforeTheRead();
};

void tst_HunspellEngine::damagedDictionary_data()
{
    QTest::addColumn<QByteArray>("affix");
    QTest::addColumn<QByteArray>("words");
    QTest::newRow("empty files") << QByteArray() << QByteArray();
    QTest::newRow("binary") << QByteArray("\x00\xff\x13\x37", 4) << QByteArray("\xff\xfe\x00\x01\x02", 5);
    QTest::newRow("count larger than the words")
        << QByteArray("SET UTF-8\n") << QByteArray("99999999\nmot\n");
    QTest::newRow("negative count") << QByteArray("SET UTF-8\n") << QByteArray("-5\nmot\n");
    QTest::newRow("unknown encoding") << QByteArray("SET KOI8-Z\n") << QByteArray("1\neau\n");
}

void tst_HunspellEngine::damagedDictionary()
{
    QFETCH(QByteArray, affix);
    QFETCH(QByteArray, words);
    QTemporaryDir dir;
    const DictionaryFiles files{QStringLiteral("fr_FR"), dir.filePath(QStringLiteral("fr_FR.aff")),
                                dir.filePath(QStringLiteral("fr_FR.dic"))};
    for (const auto &[path, bytes] : {std::pair{files.affixPath, affix}, std::pair{files.wordsPath, words}}) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    const std::unique_ptr<HunspellEngine> engine = HunspellEngine::open(files);
    if (engine) // a dictionary that knows "eau" and nothing else is still read as one
        QVERIFY(!engine->isCorrect(QStringLiteral("moléclue")));
    BackgroundHunspellEngine background(files);
    if (!engine) {
        QVERIFY(background.isCorrect(QStringLiteral("moléclue"))); // no dictionary: nothing underlined
        QVERIFY(background.suggestions(QStringLiteral("moléclue"), 7).isEmpty());
        background.addWord(QStringLiteral("mot"));
    }
}

void tst_HunspellEngine::frenchWords()
{
    const auto files = DictionaryLocator::findFrench(DictionaryLocator::searchFolders());
    if (!files)
        QSKIP("no French dictionary here: install hunspell-fr");
    BackgroundHunspellEngine engine(*files);
    QVERIFY(engine.isCorrect(QStringLiteral("c'est-à-dire")));
    QVERIFY(!engine.isCorrect(QStringLiteral("moléclue")));
    QCOMPARE(engine.suggestions(QStringLiteral("moléclue"), 7).value(0), QStringLiteral("molécule"));
    QVERIFY(!engine.isCorrect(QStringLiteral("refractoscope")));
    engine.addWord(QStringLiteral("refractoscope"));
    QVERIFY(engine.isCorrect(QStringLiteral("refractoscope")));
    QVERIFY(engine.isCorrect(QString(500, QLatin1Char('z')))); // longer than any word: not asked
}

void tst_HunspellEngine::wordsAddedBeforeTheRead()
{
    const auto files = DictionaryLocator::findFrench(DictionaryLocator::searchFolders());
    if (!files)
        QSKIP("no French dictionary here: install hunspell-fr");
    BackgroundHunspellEngine engine(*files);
    // The personal word list goes in at start, before anything asks for the dictionary.
    engine.addWord(QStringLiteral("refractoscope"));
    QVERIFY(engine.isCorrect(QStringLiteral("refractoscope")));
    QVERIFY(!engine.isCorrect(QStringLiteral("moléclue")));
}

QTEST_GUILESS_MAIN(tst_HunspellEngine)
#include "tst_hunspellengine.moc"
