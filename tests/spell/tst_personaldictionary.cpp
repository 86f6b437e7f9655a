#include "spell/personaldictionary.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_PersonalDictionary : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void reads_data();
    void reads();
    void addsAndReadsBack();
    void refusesWhatIsNoWord_data();
    void refusesWhatIsNoWord();
    void hugeFileIsReadInPartAndKept();
    void unwritableFolderKeepsTheWordForTheRun();
};

namespace {

QString write(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("mots.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

} // namespace

void tst_PersonalDictionary::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one a line") << QByteArray("moléclue\nrefractomètre\n")
                                << QStringList{"moléclue", "refractomètre"};
    QTest::newRow("Windows line ends, blanks, doubles")
        << QByteArray("  oxydo \r\n\r\noxydo\r\n") << QStringList{"oxydo"};
    QTest::newRow("not UTF-8 lines dropped")
        << QByteArray("bon\n\xe9t\xe9\nmot\n") << QStringList{"bon", "mot"};
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\nmot\n", 8) << QStringList{"mot"};
    QTest::newRow("line of two words") << QByteArray("deux mots\nun\n") << QStringList{"un"};
    QTest::newRow("no end of line") << QByteArray("dernier") << QStringList{"dernier"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
}

void tst_PersonalDictionary::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    PersonalDictionary dictionary(write(dir, bytes));
    QVERIFY(dictionary.load());
    QCOMPARE(dictionary.words(), expected);
}

void tst_PersonalDictionary::addsAndReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sous/dossier/mots.txt"));
    PersonalDictionary first(path);
    QVERIFY(first.load()); // missing file: empty
    QVERIFY(first.add(QStringLiteral("moléclue")));
    QVERIFY(first.add(QStringLiteral("aujourd'hui")));
    PersonalDictionary second(path);
    QVERIFY(second.load());
    QCOMPARE(second.words(), (QStringList{"moléclue", "aujourd'hui"}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("moléclue\naujourd'hui\n"));
}

void tst_PersonalDictionary::refusesWhatIsNoWord_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("empty") << QString();
    QTest::newRow("blank") << QStringLiteral("   ");
    QTest::newRow("two words") << QStringLiteral("deux mots");
    QTest::newRow("line break") << QStringLiteral("a\nb");
    QTest::newRow("too long") << QString(PersonalDictionary::kLongestWord + 1, QLatin1Char('a'));
}

void tst_PersonalDictionary::refusesWhatIsNoWord()
{
    QFETCH(QString, word);
    QTemporaryDir dir;
    PersonalDictionary dictionary(dir.filePath(QStringLiteral("mots.txt")));
    QVERIFY(!dictionary.add(word));
    QVERIFY(dictionary.words().isEmpty());
    QVERIFY(!QFile::exists(dictionary.path()));
}

void tst_PersonalDictionary::hugeFileIsReadInPartAndKept()
{
    QTemporaryDir dir;
    QByteArray bytes;
    while (bytes.size() <= PersonalDictionary::kMaximumFileSize)
        bytes += "mot\n";
    const QString path = write(dir, bytes + "dernier\n");
    PersonalDictionary dictionary(path);
    QVERIFY(!dictionary.load());
    QCOMPARE(dictionary.words(), QStringList{"mot"});
    QVERIFY(!dictionary.add(QStringLiteral("nouveau"))); // known for the run, file not cut short
    QVERIFY(dictionary.contains(QStringLiteral("nouveau")));
    QCOMPARE(QFileInfo(path).size(), bytes.size() + 8);
}

void tst_PersonalDictionary::unwritableFolderKeepsTheWordForTheRun()
{
    QTemporaryDir dir;
    const QString file = write(dir, "x\n");
    PersonalDictionary dictionary(file + QStringLiteral("/mots.txt")); // below a plain file
    QVERIFY(dictionary.load());
    QVERIFY(!dictionary.add(QStringLiteral("moléclue")));
    QVERIFY(dictionary.contains(QStringLiteral("moléclue")));
}

QTEST_GUILESS_MAIN(tst_PersonalDictionary)
#include "tst_personaldictionary.moc"
