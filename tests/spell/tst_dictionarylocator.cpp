#include "spell/dictionarylocator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_DictionaryLocator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findsFrench_data();
    void findsFrench();
    void standardFoldersComeAfterDicpath();
};

namespace {

// "a:fr_BE,fr_FR" puts fr_BE and fr_FR in folder a; "fr_BE.aff" alone only an affix file.
void makeFolders(const QTemporaryDir &root, const QStringList &layout, QStringList *folders)
{
    for (const QString &spec : layout) {
        const QString name = spec.section(QLatin1Char(':'), 0, 0);
        const QString folder = root.filePath(name);
        QDir().mkpath(folder);
        folders->append(folder);
        for (const QString &file :
             spec.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList names =
                file.contains(QLatin1Char('.'))
                    ? QStringList{file}
                    : QStringList{file + QStringLiteral(".aff"), file + QStringLiteral(".dic")};
            for (const QString &each : names) {
                QFile out(QDir(folder).filePath(each));
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write("1\neau\n");
            }
        }
    }
}

} // namespace

void tst_DictionaryLocator::findsFrench_data()
{
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QString>("expected"); // folder/name, empty: none
    QTest::newRow("fr_FR in a later folder wins") << QStringList{"a:fr_BE", "b:fr_FR"} << "b/fr_FR";
    QTest::newRow("other fr_* in name order") << QStringList{"a:fr_CH,fr_BE"} << "a/fr_BE";
    QTest::newRow("plain fr last") << QStringList{"a:fr", "b:fr_CA"} << "b/fr_CA";
    QTest::newRow("plain fr alone") << QStringList{"a:fr"} << "a/fr";
    QTest::newRow("affix without words") << QStringList{"a:fr_FR.aff", "b:fr_LU"} << "b/fr_LU";
    QTest::newRow("no French") << QStringList{"a:en_GB,de_DE"} << "";
    QTest::newRow("no folder at all") << QStringList{} << "";
}

void tst_DictionaryLocator::findsFrench()
{
    QFETCH(QStringList, layout);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QStringList folders;
    makeFolders(root, layout, &folders);
    folders.append(root.filePath(QStringLiteral("missing")));
    const auto found = DictionaryLocator::findFrench(folders);
    if (expected.isEmpty()) {
        QVERIFY(!found);
        return;
    }
    QVERIFY(found);
    QCOMPARE(found->affixPath, root.filePath(expected + QStringLiteral(".aff")));
    QCOMPARE(found->wordsPath, root.filePath(expected + QStringLiteral(".dic")));
}

void tst_DictionaryLocator::standardFoldersComeAfterDicpath()
{
    qputenv("DICPATH", "/opt/one:/opt/two");
    const QStringList folders = DictionaryLocator::searchFolders();
    qunsetenv("DICPATH");
    QCOMPARE(folders.mid(0, 2), (QStringList{"/opt/one", "/opt/two"}));
    QVERIFY(folders.contains(QStringLiteral("/usr/share/hunspell")));
}

QTEST_GUILESS_MAIN(tst_DictionaryLocator)
#include "tst_dictionarylocator.moc"
