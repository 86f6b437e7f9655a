#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

ToolRun runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(VELIGRAM_TOOL), QStringList{QStringLiteral("exercise")} + args);
    ToolRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_ExerciseTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void show()
    {
        const ToolRun run = runTool({"show", QFINDTESTDATA("data/accents.E01")});
        QCOMPARE(run.exitCode, 0);
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(json.size(), 8);
        QCOMPARE(json["statement"].toString(), QStringLiteral("énoncé.rtf"));
        QCOMPARE(json["initialParameters"].toString(), QString());
        QCOMPARE(json["correction"].toString(), QStringLiteral("corrigé.rtf"));
        QCOMPARE(json["correctionParameters"].toString(), QString());
        QVERIFY(json["difficulty"].isDouble());
        QCOMPARE(json["difficulty"].toInt(), 0);
        QCOMPARE(json["scroll"].toInt(), 7);
        QCOMPARE(json["description"].toString(),
                 QStringLiteral("Énergie é") + QString(110, 'x') + QStringLiteral("\r\nsuite à côté"));
        QCOMPARE(json["title"].toString(), QStringLiteral("Mécanique œuvre €"));
    }

    void showTrimsTheTitle()
    {
        const ToolRun run = runTool({"show", QFINDTESTDATA("data/titlespaces.E03")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(run.out).object()["title"].toString(),
                 QStringLiteral("Titre entouré"));
    }

    void showFailures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing file") << "";
        QTest::newRow("difficulty out of range") << QFINDTESTDATA("data/baddifficulty.E03");
    }
    void showFailures()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString path = file.isEmpty() ? dir.filePath("absent.E01") : file;
        const ToolRun run = runTool({"show", path});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(QStringLiteral("Vérifier:\n- le nom du fichier,\n- l'état du lecteur.")),
                 qPrintable(run.err));
        QCOMPARE(QFile::exists(path), !file.isEmpty()); // reading creates nothing
    }

    void writeMatchesGolden_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("all options")
            << "accents.E01"
            << QStringList{
                   "--statement",   QStringLiteral("énoncé.rtf"),
                   "--correction",  QStringLiteral("corrigé.rtf"),
                   "--difficulty",  "0",
                   "--scroll",      "7",
                   "--description", QStringLiteral("Énergie é") + QString(110, 'x') + "\r\nsuite à côté",
                   "--title",       QStringLiteral("Mécanique œuvre €")};
        QTest::newRow("no correction")
            << "nocorrection.E01"
            << QStringList{"--statement",  "enonce.rtf", "--initial-parameters", "depart.P01",
                           "--difficulty", "2",          "--description",        "Sans correction",
                           "--title",      "Titre"};
    }
    void writeMatchesGolden()
    {
        QFETCH(QString, golden);
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QString path = dir.filePath(golden);
        const ToolRun run = runTool(QStringList{"write", path} + options);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(fileBytes(path), fileBytes(QFINDTESTDATA("data/" + golden)));
    }

    void omittedOptionsAreEmptyOrZero()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bare.E01");
        QCOMPARE(runTool({"write", path}).exitCode, 0);
        const QByteArray bytes = fileBytes(path);
        QCOMPARE(bytes.size(), 11 * 128);
        QCOMPARE(bytes.mid(4 * 128, 4), QByteArray("\x02\x00 0", 4));
        QCOMPARE(bytes.mid(5 * 128, 4), QByteArray("\x02\x00 0", 4));
        QCOMPARE(bytes.mid(10 * 128, 2), QByteArray("\x00\x00", 2));
    }

    void writeFailureLeavesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ex.E03");
        QVERIFY(QFile::copy(QFINDTESTDATA("data/desc120.E03"), path));
        const ToolRun run = runTool({"write", path, "--statement", QString(127, 'n')});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Sauvegarde impossible")), qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("- la protection en écriture.")));
        QCOMPARE(fileBytes(path), fileBytes(QFINDTESTDATA("data/desc120.E03")));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown option") << QStringList{"write", "x.E01", "--colour", "red"};
        QTest::newRow("option without value") << QStringList{"write", "x.E01", "--title"};
        QTest::newRow("difficulty 4") << QStringList{"write", "x.E01", "--difficulty", "4"};
        QTest::newRow("scroll not a number") << QStringList{"write", "x.E01", "--scroll", "abc"};
        QTest::newRow("no file") << QStringList{"show"};
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        if (args.size() > 1)
            args[1] = dir.filePath(args[1]);
        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!run.err.isEmpty());
        if (args.size() > 1)
            QVERIFY(!QFile::exists(args[1]));
    }
};

QTEST_GUILESS_MAIN(tst_ExerciseTool)
#include "tst_exercisetool.moc"
