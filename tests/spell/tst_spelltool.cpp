#include "spellfixture.h"

#include <QProcess>
#include <QTest>

// `veligram-tool spell`, run as a teacher runs it over a folder of exercises.
class tst_SpellTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reports_data();
    void reports();
};

void tst_SpellTool::reports_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");
    const QString faults = QFINDTESTDATA("data/fautes.rtf");
    const QString clean = QFINDTESTDATA("data/propre.rtf");
    QTest::newRow("mistakes") << QStringList{faults} << 1
                              << QStringList{faults + ":1:4: moléclue -> molécule, moléculaire",
                                             faults + ":3:4: sle -> sel, se, le"};
    QTest::newRow("no mistake") << QStringList{clean} << 0 << QStringList{};
    QTest::newRow("several files") << QStringList{clean, faults} << 1
                                   << QStringList{faults + ":1:4: moléclue -> molécule, moléculaire",
                                                  faults + ":3:4: sle -> sel, se, le"};
    QTest::newRow("missing file") << QStringList{clean + QStringLiteral(".absent")} << 2 << QStringList{};
    QTest::newRow("no file named") << QStringList{} << 2 << QStringList{};
}

void tst_SpellTool::reports()
{
    QFETCH(QStringList, files);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    if (!realFrenchEngine())
        QSKIP("no French dictionary here: install hunspell-fr");
    QProcess tool;
    tool.start(QStringLiteral(VELIGRAM_TOOL), QStringList{QStringLiteral("spell")} + files);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), status);
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             lines);
}

QTEST_GUILESS_MAIN(tst_SpellTool)
#include "tst_spelltool.moc"
