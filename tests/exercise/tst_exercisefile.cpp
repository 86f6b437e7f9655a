#include "exercise/exercisefile.h"
#include "exercise/recordfile.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ExerciseData)

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString alphabet(int length, char first)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += QLatin1Char(char(first + i % 26));
    return text;
}

const std::array<QString, 4> kFiles = {QStringLiteral("enonce.rtf"), QStringLiteral("depart.P03"),
                                       QStringLiteral("corrige.rtf"), QStringLiteral("solution.P03")};

ExerciseData exercise(std::array<QString, 4> files, int difficulty, int scroll, QString description,
                      QString title)
{
    ExerciseData data;
    data.files = std::move(files);
    data.difficulty = difficulty;
    data.scroll = scroll;
    data.description = std::move(description);
    data.title = std::move(title);
    return data;
}

} // namespace

class tst_ExerciseFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Files whose bytes the writer must reproduce exactly and the reader must read back.
    void goldenRoundTrip_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<ExerciseData>("data");
        QTest::newRow("120 characters fill record 7 only, difficulty \" 2\"")
            << "desc120.E03" << exercise(kFiles, 2, 0, alphabet(120, 'a'), "Chute libre");
        QTest::newRow("121 characters spill one into record 8")
            << "desc121.E03" << exercise(kFiles, 1, 15, alphabet(120, 'a') + 'Z', "Chute libre");
        QTest::newRow("480 characters fill records 7 to 10, scroll at its maximum")
            << "desc480.E03" << exercise(kFiles, 3, 32767, alphabet(480, 'A'), "Quatre morceaux");
        QTest::newRow("Windows-1252 bytes, line break cut between records")
            << "accents.E01"
            << exercise({QStringLiteral("énoncé.rtf"), QString(), QStringLiteral("corrigé.rtf"), QString()},
                        0, 7, QStringLiteral("Énergie é") + QString(110, 'x') + "\r\nsuite à côté",
                        QStringLiteral("Mécanique œuvre €"));
        QTest::newRow("no correction: records 3 and 4 empty")
            << "nocorrection.E01"
            << exercise({"enonce.rtf", "depart.P01", "", ""}, 2, 0, "Sans correction", "Titre");
    }
    void goldenRoundTrip()
    {
        QFETCH(QString, golden);
        QFETCH(ExerciseData, data);
        const QString goldenPath = QFINDTESTDATA("data/" + golden);
        QVERIFY(!goldenPath.isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath(golden);
        QVERIFY(ExerciseFile::write(path, data));
        QCOMPARE(fileBytes(path), fileBytes(goldenPath));

        ExerciseData page;
        QVERIFY(ExerciseFile::read(goldenPath, page));
        QCOMPARE(page, data);
    }

    void readOnlyCases_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("title");
        QTest::newRow("spaces-only piece dropped, the next closes up")
            << "spacespiece.E03" << QString(120, 'A') + QString(10, 'B') << "x";
        QTest::newRow("title trimmed") << "titlespaces.E03"
                                       << "d" << QStringLiteral("Titre entouré");
        QTest::newRow("truncated file: missing records read empty") << "truncated.E03"
                                                                    << ""
                                                                    << "";
    }
    void readOnlyCases()
    {
        QFETCH(QString, golden);
        QFETCH(QString, description);
        QFETCH(QString, title);
        ExerciseData page;
        page.description = "old";
        page.title = "old";
        QVERIFY(ExerciseFile::read(QFINDTESTDATA("data/" + golden), page));
        QCOMPARE(page.description, description);
        QCOMPARE(page.title, title);
    }

    void existingLongerFileIsNotTruncated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("longer.E03");
        QVERIFY(QFile::copy(QFINDTESTDATA("data/longer.E03"), path));
        const QByteArray before = fileBytes(path);
        QVERIFY(ExerciseFile::write(path, exercise(kFiles, 1, 15, alphabet(120, 'a') + 'Z', "Chute libre")));
        const QByteArray after = fileBytes(path);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.left(11 * 128), fileBytes(QFINDTESTDATA("data/desc121.E03")));
        QCOMPARE(after.mid(11 * 128), before.mid(11 * 128));
    }

    void refusedWritesTouchNothing_data()
    {
        QTest::addColumn<ExerciseData>("data");
        ExerciseData data = exercise(kFiles, 1, 0, "d", "t");
        data.files[2] = QString(127, 'n');
        QTest::newRow("file name of 127 characters") << data;
        data = exercise(kFiles, 1, 0, "d", "t");
        data.title = QStringLiteral("flèche → droite");
        QTest::newRow("character outside Windows-1252") << data;
        data = exercise(kFiles, 1, 0, QString(481, 'd'), "t");
        QTest::newRow("description longer than its four records") << data;
        data = exercise(kFiles, 1, 0, "d", QString(121, 't'));
        QTest::newRow("title longer than its box") << data;
    }
    void refusedWritesTouchNothing()
    {
        QFETCH(ExerciseData, data);
        QTemporaryDir dir;
        const QString path = dir.filePath("ex.E03");
        QVERIFY(QFile::copy(QFINDTESTDATA("data/desc120.E03"), path));
        const QByteArray before = fileBytes(path);
        const ExerciseFileResult result = ExerciseFile::write(path, data);
        QVERIFY(!result);
        QCOMPARE(result.title, QStringLiteral("Sauvegarde impossible"));
        QCOMPARE(result.message,
                 QStringLiteral("Vérifier:\n- le nom du fichier,\n- l'espace disponible sur le "
                                "disque\n- la protection en écriture."));
        QCOMPARE(fileBytes(path), before);

        const QString fresh = dir.filePath("fresh.E03");
        QVERIFY(!ExerciseFile::write(fresh, data));
        QVERIFY(!QFile::exists(fresh));
    }

    void missingFileIsReportedAndNotCreated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("absent.E03");
        ExerciseData page = exercise(kFiles, 2, 3, "keep", "keep");
        const ExerciseData before = page;
        const ExerciseFileResult result = ExerciseFile::read(path, page);
        QVERIFY(!result);
        QCOMPARE(result.title, QStringLiteral("Lecture impossible"));
        QCOMPARE(result.message, QStringLiteral("Vérifier:\n- le nom du fichier,\n- l'état du lecteur."));
        QCOMPARE(page, before);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(ExerciseFile::readTextNames(path).statement, QString());
        QVERIFY(!QFile::exists(path));
    }

    // A number out of its control's range stops reading there: earlier fields are new, later
    // ones keep their old values.
    void numberOutOfRangeStopsReading_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<int>("difficulty");
        QTest::addColumn<int>("scroll");
        QTest::newRow("difficulty 4") << "baddifficulty.E03" << 9 << 9;
        QTest::newRow("scroll -1") << "badscroll.E03" << 1 << 9;
    }
    void numberOutOfRangeStopsReading()
    {
        QFETCH(QString, golden);
        QFETCH(int, difficulty);
        QFETCH(int, scroll);
        ExerciseData page = exercise({"a", "b", "c", "d"}, 9, 9, "old", "old");
        const ExerciseFileResult result = ExerciseFile::read(QFINDTESTDATA("data/" + golden), page);
        QVERIFY(!result);
        QCOMPARE(result.title, QStringLiteral("Lecture impossible"));
        QCOMPARE(page.files, kFiles);
        QCOMPARE(page.difficulty, difficulty);
        QCOMPARE(page.scroll, scroll);
        QCOMPARE(page.description, QStringLiteral("old"));
        QCOMPARE(page.title, QStringLiteral("old"));
    }

    void numbersBeyondSixteenBitsAreRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("big.E03");
        QVERIFY(ExerciseFile::write(path, exercise(kFiles, 1, 0, "d", "t")));
        QVERIFY(RecordFile::writeStrings(path, {{6, " 65538"}}));
        ExerciseData page;
        QVERIFY(!ExerciseFile::read(path, page));
        QVERIFY(RecordFile::writeStrings(path, {{5, " 2.5"}, {6, "  12abc"}}));
        QVERIFY(ExerciseFile::read(path, page));
        QCOMPARE(page.difficulty, 2); // half to even
        QCOMPARE(page.scroll, 12);
    }

    void textNames()
    {
        const ExerciseFile::TextNames names = ExerciseFile::readTextNames(QFINDTESTDATA("data/accents.E01"));
        QCOMPARE(names.statement, QStringLiteral("énoncé.rtf"));
        QCOMPARE(names.correction, QStringLiteral("corrigé.rtf"));
    }
};

QTEST_APPLESS_MAIN(tst_ExerciseFile)
#include "tst_exercisefile.moc"
