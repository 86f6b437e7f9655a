#include "scriptedsysteminfo.h"
#include "shell/helpcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    bool ok = false;
    QString output;
};

Run run(const QString &program, const QStringList &arguments, const QString &directory = QString())
{
    QProcess process;
    if (!directory.isEmpty())
        process.setWorkingDirectory(directory);
    process.start(program, arguments);
    Run result;
    result.ok = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
                process.exitCode() == 0;
    result.output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return result;
}

} // namespace

// The Debian package CPack makes of this build, unpacked into a scratch root.
class tst_DebianPackage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void filesInTheirUsualPlaces_data();
    void filesInTheirUsualPlaces();
    void programsOnlyInBin();
    void dependenciesComeFromTheLibraries();
    void triggersRegisterTheExerciseType();
    void installedEditorFindsItsHelp();
    void installedToolRuns();

private:
    QTemporaryDir m_scratch;
    QString m_deb;
    QString m_root;
    QStringList m_files;
};

void tst_DebianPackage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString cpack = QStringLiteral(VELIGRAM_CPACK);
    if (!QFileInfo(cpack).isExecutable())
        QSKIP("cpack is not installed: the Debian package cannot be built");
    if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("dpkg-shlibdeps")).isEmpty())
        QSKIP("dpkg-deb or dpkg-shlibdeps is missing (package dpkg-dev): the package cannot be built");
    QVERIFY(m_scratch.isValid());
    const Run pack =
        run(cpack,
            {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
             QStringLiteral(VELIGRAM_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), m_scratch.path()},
            QStringLiteral(VELIGRAM_BUILD_DIR));
    QVERIFY2(pack.ok, qPrintable(pack.output));
    const QStringList debs =
        QDir(m_scratch.path()).entryList({QStringLiteral("veligram_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = m_scratch.filePath(debs.first());
    m_root = m_scratch.filePath(QStringLiteral("root"));
    const Run unpack = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, m_root});
    QVERIFY2(unpack.ok, qPrintable(unpack.output));
    const Run contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_deb});
    QVERIFY(contents.ok);
    for (const QString &line : contents.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString name = line.section(QLatin1Char(' '), -1);
        if (!name.endsWith(QLatin1Char('/')))
            m_files << name.remove(0, 1); // "./usr/bin/x" -> "/usr/bin/x"
    }
}

void tst_DebianPackage::filesInTheirUsualPlaces_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("the editor") << "/usr/bin/veligram";
    QTest::newRow("the tool") << "/usr/bin/veligram-tool";
    QTest::newRow("the help, with the program's data") << "/usr/share/veligram/QZ7.hlp";
    QTest::newRow("the desktop entry") << "/usr/share/applications/veligram.desktop";
    QTest::newRow("the exercise files' type") << "/usr/share/mime/packages/veligram-exercise.xml";
    QTest::newRow("the icon") << "/usr/share/icons/hicolor/scalable/apps/veligram.svg";
    QTest::newRow("the copyright") << "/usr/share/doc/veligram/copyright";
    QTest::newRow("the changelog") << "/usr/share/doc/veligram/changelog.Debian.gz";
}

void tst_DebianPackage::filesInTheirUsualPlaces()
{
    QFETCH(QString, file);
    QVERIFY2(m_files.contains(file), qPrintable(m_files.join(QLatin1Char('\n'))));
    QVERIFY(QFileInfo(m_root + file).size() > 0);
}

void tst_DebianPackage::programsOnlyInBin()
{
    QStringList bin;
    for (const QString &file : m_files) {
        QVERIFY2(file.startsWith(QLatin1String("/usr/")), qPrintable(file));
        if (file.startsWith(QLatin1String("/usr/bin/")))
            bin << file;
    }
    QCOMPARE(bin, QStringList({"/usr/bin/veligram", "/usr/bin/veligram-tool"}));
    QVERIFY(!m_files.contains(QStringLiteral("/usr/bin/QZ7.hlp")));
}

void tst_DebianPackage::dependenciesComeFromTheLibraries()
{
    const Run depends =
        run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_deb, QStringLiteral("Depends")});
    QVERIFY(depends.ok);
    // Computed from what the programs link, with the versions the libraries' symbols need.
    for (const char *library : {"libc6 (>=", "libqt6core6 (>=", "libqt6gui6 (>=", "libqt6widgets6 (>=",
                                "libqt6printsupport6 (>=", "libstdc++6 (>=", "libqt6svg6"})
        QVERIFY2(depends.output.contains(QLatin1String(library)),
                 qPrintable(library + (" in " + depends.output)));
    QVERIFY2(!depends.output.contains(QLatin1String("-dev")), qPrintable(depends.output));
}

void tst_DebianPackage::triggersRegisterTheExerciseType()
{
    const Run triggers =
        run(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), m_deb, QStringLiteral("triggers")});
    QVERIFY2(triggers.ok, qPrintable(triggers.output));
    QVERIFY(triggers.output.contains(QLatin1String("activate-noawait /usr/share/mime/packages")));
    QVERIFY(triggers.output.contains(QLatin1String("activate-noawait /usr/share/applications")));
}

void tst_DebianPackage::installedEditorFindsItsHelp()
{
    ScriptedSystemInfo system;
    system.setApplicationDirectory(m_root + QStringLiteral("/usr/bin"));
    QCOMPARE(QDir::fromNativeSeparators(findHelpFile(system)),
             m_root + QStringLiteral("/usr/share/veligram/QZ7.hlp"));
    // In the build tree it sits beside the executable.
    system.setApplicationDirectory(QStringLiteral(VELIGRAM_EDITOR_DIR));
    QCOMPARE(QDir::fromNativeSeparators(findHelpFile(system)),
             QStringLiteral(VELIGRAM_EDITOR_DIR "/QZ7.hlp"));
}

void tst_DebianPackage::installedToolRuns()
{
    const QString sample = m_scratch.filePath(QStringLiteral("sample.rtf"));
    QFile file(sample);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi Installe\\par}");
    file.close();
    QProcess tool;
    tool.start(m_root + QStringLiteral("/usr/bin/veligram-tool"),
               {QStringLiteral("rtf"), QStringLiteral("text"), sample});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).trimmed(), QStringLiteral("Installe"));
}

QTEST_GUILESS_MAIN(tst_DebianPackage)
#include "tst_debianpackage.moc"
