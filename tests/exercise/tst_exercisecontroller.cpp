#include "exercise/exercisecontroller.h"
#include "exercise/exercisefile.h"
#include "exercise/exercisemodule.h"
#include "exercise/exercisepage.h"
#include "exercise/exercisepanel.h"
#include "exercise/moduletable.h"
#include "failingfolder.h"
#include "fakeshellhost.h"
#include "scriptedplatform.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(SaveFault)

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Everything the flows touch, built fresh for each test function.
struct Fixture
{
    Fixture() : host(state, fake.messages)
    {
        controller = installExercise(host, state, fake.platform());
        page = static_cast<ExercisePage *>(host.placed.at(WindowArea::ExercisePage));
        panel = static_cast<ExercisePanel *>(host.placed.at(WindowArea::ExercisePanel));
        host.runStartup();
    }

    QString path(const QString &name) const { return QDir::toNativeSeparators(dir.filePath(name)); }
    // An exercise file with its texts beside it; an empty text name leaves that record empty.
    QString makeExercise(const QString &name, const QString &statement, const QString &correction)
    {
        ExerciseData data;
        data.files = {statement, QString(), correction, QString()};
        data.title = QStringLiteral("Titre");
        if (!statement.isEmpty())
            writeFile(dir.filePath(statement), "statement of " + name.toUtf8());
        if (!correction.isEmpty())
            writeFile(dir.filePath(correction), "correction of " + name.toUtf8());
        [[maybe_unused]] const ExerciseFileResult result = ExerciseFile::write(dir.filePath(name), data);
        return path(name);
    }
    void selectModule(const QString &displayText)
    {
        panel->findChild<QComboBox *>("Combo2")->setCurrentText(displayText);
    }
    void open(const QString &exercisePath)
    {
        fake.files.chooseNext(exercisePath);
        controller->openExercise();
    }
    QAction *command(const char *name) { return host.command(QLatin1String(name)); }
    bool shown(ExercisePanel::Icon icon) const { return !panel->iconWidget(icon)->isHidden(); }

    QTemporaryDir dir;
    EditorState state;
    ScriptedPlatform fake;
    FakeShellHost host;
    ExerciseController *controller = nullptr;
    ExercisePage *page = nullptr;
    ExercisePanel *panel = nullptr;
};

} // namespace

class tst_ExerciseController : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startUpState()
    {
        Fixture f;
        auto *modules = f.panel->findChild<QComboBox *>("Combo2");
        QCOMPARE(modules->count(), 13);
        QCOMPARE(modules->currentIndex(), 0);
        QVERIFY(f.state.moduleExtension.isEmpty());
        auto *difficulty = f.page->findChild<QComboBox *>("ComboZ1");
        QCOMPARE(difficulty->count(), 4);
        QCOMPARE(difficulty->itemText(2), QStringLiteral("** moyen"));
        QCOMPARE(difficulty->currentIndex(), 0);
        QVERIFY(!f.command("az51")->isEnabled());
        QVERIFY(!f.command("az52")->isEnabled());
        QVERIFY(f.command("az53")->isEnabled());
        QVERIFY(!f.shown(ExercisePanel::Statement));
        QVERIFY(!f.shown(ExercisePanel::Correction));
        QCOMPARE(f.panel->instructionsRuns(), 1);
        QVERIFY(f.page->isHidden());
        QCOMPARE(f.host.exercisePath(), QString());
    }

    void moduleCheck_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("show page") << "az53";
        QTest::newRow("open exercise") << "az54";
    }
    void moduleCheck()
    {
        QFETCH(QString, command);
        Fixture f;
        f.selectModule("Korlim");
        f.selectModule(ModuleTable::prompt());
        QCOMPARE(f.state.moduleExtension, QStringLiteral("E11")); // kept, yet no module selected
        f.fake.messages.answerNext(MessageAnswer::Ok);
        f.command(qPrintable(command))->trigger();
        QCOMPARE(f.fake.messages.asked().size(), 1);
        QCOMPARE(f.fake.messages.asked()[0].text, QStringLiteral("Il faut sélectionner un simulateur"));
        QCOMPARE(f.fake.messages.asked()[0].title, QStringLiteral("Choix impossible"));
        QCOMPARE(f.fake.messages.asked()[0].icon, MessageIcon::Exclamation);
        QVERIFY(f.fake.files.requests().isEmpty());
        QVERIFY(f.page->isHidden());
    }

    void openChecksTheExtension_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("same extension") << "Ambrel"
                                        << "exo1.E01" << true;
        QTest::newRow("lower-case extension") << "Ambrel"
                                              << "exo1.e01" << true;
        QTest::newRow("other module's extension") << "Cadrillon"
                                                  << "exo1.e01" << false;
        QTest::newRow("no extension") << "Ambrel"
                                      << "exo1" << false;
    }
    void openChecksTheExtension()
    {
        QFETCH(QString, module);
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        Fixture f;
        const QString path = f.makeExercise(name, "enonce.rtf", QString());
        f.selectModule(module);
        if (!accepted)
            f.fake.messages.answerNext(MessageAnswer::Ok);
        f.open(path);

        const FileDialogRequest request = f.fake.files.requests().at(0).request;
        const QString extension = *ModuleTable::extensionForDisplayText(module);
        QCOMPARE(request.title, QStringLiteral("Ouvrir un fichier exercice"));
        QCOMPARE(request.initialName, "*." + extension);
        QCOMPARE(request.filter, module + "|*." + extension);
        QVERIFY(request.cancelIsError);
        if (accepted) {
            QVERIFY(f.fake.messages.asked().isEmpty());
            QCOMPARE(f.page->exercisePath(), path);
            QCOMPARE(f.state.exerciseDirectory, QDir::toNativeSeparators(f.dir.path() + "/"));
            QCOMPARE(f.state.currentDocumentPath, f.path("enonce.rtf"));
        } else {
            QCOMPARE(f.fake.messages.asked().size(), 1);
            const MessageRequest message = f.fake.messages.asked()[0];
            QCOMPARE(message.text, "Le nom du fichier doit se terminer par ." + extension +
                                       QStringLiteral(" pour le module sélectionné."));
            QCOMPARE(message.title, QStringLiteral("Fichier non valide"));
            QCOMPARE(message.icon, MessageIcon::Stop);
            QCOMPARE(f.page->exercisePath(), QString());
            QCOMPARE(f.state.exerciseDirectory, QString());
        }
        VERIFY_ALL_CONSUMED(f.fake);
    }

    void activationWithBothTexts()
    {
        Fixture f;
        const QString path = f.makeExercise("exo.E03", "enonce.rtf", "corrige.rtf");
        f.selectModule("Cadrillon");
        f.open(path);
        QCOMPARE(f.host.statementItemPath(), f.path("enonce.rtf"));
        QCOMPARE(f.host.correctionItemPath(), f.path("corrige.rtf"));
        QVERIFY(f.command("sepatext")->isVisible());
        QVERIFY(f.command("textexo")->isVisible());
        QVERIFY(f.command("textcor")->isVisible());
        QVERIFY(f.command("az52")->isEnabled());
        QVERIFY(f.command("az51")->isEnabled());
        QVERIFY(f.shown(ExercisePanel::Statement));
        QVERIFY(f.shown(ExercisePanel::Correction));
        QCOMPARE(f.host.statementBuffer.content, QByteArray("statement of exo.E03"));
        QCOMPARE(f.host.correctionBuffer.content, QByteArray("correction of exo.E03"));
        QCOMPARE(f.host.exoText.content, QByteArray("statement of exo.E03"));
        QCOMPARE(f.state.documentSaved, int16_t(1));
        QVERIFY(f.host.exoText.focusCount > 0);
        QVERIFY(f.page->isHidden()); // opening does not show the page
    }

    void activationWithoutCorrection()
    {
        Fixture f;
        const QString path = f.makeExercise("exo.E03", "enonce.rtf", QString());
        f.selectModule("Cadrillon");
        f.open(path);
        QVERIFY(f.command("textexo")->isVisible());
        QVERIFY(!f.command("textcor")->isVisible());
        QVERIFY(f.command("az52")->isEnabled());
        QVERIFY(!f.command("az51")->isEnabled());
        QVERIFY(f.shown(ExercisePanel::Statement));
        QVERIFY(!f.shown(ExercisePanel::Correction));
    }

    // The statement named by the exercise is looked for beside the exercise file only; when it
    // is not there, the previous exercise's text must not stay in exo under the new path.
    void missingStatementFile()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.open(f.makeExercise("first.E03", "first.rtf", QString()));
        const QString second = f.makeExercise("second.E03", "absent.rtf", QString());
        QVERIFY(QFile::remove(f.dir.filePath("absent.rtf")));
        f.fake.messages.answerNext(MessageAnswer::Ok);
        f.open(second);
        QCOMPARE(f.fake.messages.asked().size(), 1);
        QCOMPARE(f.fake.messages.asked()[0].text, "Fichier " + f.path("absent.rtf") + " introuvable.");
        QCOMPARE(f.fake.messages.asked()[0].title, QStringLiteral("Ouverture du texte impossible"));
        QCOMPARE(f.fake.messages.asked()[0].icon, MessageIcon::Stop);
        QCOMPARE(f.state.currentDocumentPath, f.path("absent.rtf"));
        QCOMPARE(f.host.exoText.content, QByteArray());
        QCOMPARE(f.host.statementBuffer.content, QByteArray());
    }

    void reopeningTheSamePathReloadsNothing()
    {
        Fixture f;
        const QString path = f.makeExercise("exo.E03", "enonce.rtf", "corrige.rtf");
        f.selectModule("Cadrillon");
        f.open(path);
        f.host.exoText.content = "edited";
        const int loads = f.host.statementBuffer.loadCount;
        f.open(path);
        QCOMPARE(f.host.statementBuffer.loadCount, loads);
        QCOMPARE(f.host.exoText.content, QByteArray("edited"));
        VERIFY_ALL_CONSUMED(f.fake);
    }

    void switchingKeepsBothEditsWithoutPrompt()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.open(f.makeExercise("exo.E03", "enonce.rtf", "corrige.rtf"));
        f.host.exoText.content = "statement edited";
        f.state.documentSaved = 0;
        f.command("az51")->trigger();
        QCOMPARE(f.state.currentDocumentPath, f.path("corrige.rtf"));
        QCOMPARE(f.host.exoText.content, QByteArray("correction of exo.E03"));
        f.host.exoText.content = "correction edited";
        f.command("az52")->trigger();
        QCOMPARE(f.state.currentDocumentPath, f.path("enonce.rtf"));
        QCOMPARE(f.host.exoText.content, QByteArray("statement edited"));
        QCOMPARE(f.host.correctionBuffer.content, QByteArray("correction edited"));
        QVERIFY(f.fake.messages.asked().isEmpty());
        QCOMPARE(f.state.documentSaved, int16_t(0));

        // Edit statement again while showing it: nothing happens.
        const int titles = f.host.titleUpdates;
        f.command("az52")->trigger();
        QCOMPARE(f.host.titleUpdates, titles);

        QVERIFY(f.host.saveDispatcher());
        QCOMPARE(fileBytes(f.dir.filePath("enonce.rtf")), QByteArray("statement edited"));
        QCOMPARE(fileBytes(f.dir.filePath("corrige.rtf")), QByteArray("correction edited"));
    }

    void switchingFromAnotherTextAsksFirst()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.open(f.makeExercise("exo.E03", "enonce.rtf", "corrige.rtf"));
        f.state.currentDocumentPath = f.path("other.rtf");
        f.host.exoText.content = "other text";
        f.state.documentSaved = 0;
        f.host.saveFails = true;
        f.fake.messages.answerNext(MessageAnswer::Yes);
        f.command("az51")->trigger();
        // Yes, and the save did not happen: the other text stays.
        QCOMPARE(f.host.exoText.content, QByteArray("other text"));
        QCOMPARE(f.state.currentDocumentPath, f.path("other.rtf"));

        f.fake.messages.answerNext(MessageAnswer::No);
        f.command("az51")->trigger();
        QCOMPARE(f.host.exoText.content, QByteArray("correction of exo.E03"));
        QCOMPARE(f.host.statementBuffer.content, QByteArray("statement of exo.E03"));
        QCOMPARE(f.fake.messages.asked().size(), 2);
        QCOMPARE(f.fake.messages.asked()[0].text, QStringLiteral("Enregistrer modifications ?"));
    }

    void openWithUnsavedChangesStopsWhenTheSaveFails()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.state.documentSaved = 0;
        f.host.saveFails = true;
        f.fake.messages.answerNext(MessageAnswer::Yes);
        f.controller->openExercise();
        QCOMPARE(f.host.dispatcherRuns, 1);
        QVERIFY(f.fake.files.requests().isEmpty());
    }

    void chooseSlotFile_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("statement") << 0 << "*.RTF";
        QTest::newRow("initial parameters") << 1 << "*.C04";
        QTest::newRow("correction") << 2 << "*.RTF";
        QTest::newRow("correction parameters") << 3 << "*.C04";
    }
    void chooseSlotFile()
    {
        QFETCH(int, slot);
        QFETCH(QString, pattern);
        Fixture f;
        f.selectModule("Korlim");
        f.fake.files.chooseNext(QStringLiteral("/elsewhere/sub dir/choice.file"));
        auto *choose = f.page->findChild<QWidget *>(QStringLiteral("CommandZ10_%1").arg(slot));
        QVERIFY(choose);
        QTest::mouseClick(choose, Qt::LeftButton);
        const FileDialogRequest request = f.fake.files.requests().at(0).request;
        QCOMPARE(request.title, QStringLiteral("Ouvrir un fichier exercice"));
        QCOMPARE(request.initialName, pattern);
        QCOMPARE(request.filter, pattern + "|" + pattern);
        auto *caption = f.page->findChild<QLabel *>(QStringLiteral("ficex_%1").arg(slot));
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("choice.file"));

        f.fake.files.cancelNext();
        f.controller->chooseSlotFile(slot);
        QCOMPARE(caption->text(), QStringLiteral("choice.file"));
        QTest::mouseClick(f.page->findChild<QWidget *>(QStringLiteral("CommandZ14_%1").arg(slot)),
                          Qt::LeftButton);
        QCOMPARE(caption->text(), QString());
    }

    void saveWithoutStatementIsRefused()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.controller->showPage();
        f.fake.messages.answerNext(MessageAnswer::Ok);
        f.controller->saveExercise();
        QCOMPARE(f.fake.messages.asked()[0].text,
                 QStringLiteral("Il n'y a pas d'énoncé (obligatoire) pour cet exercice."));
        QCOMPARE(f.fake.messages.asked()[0].title, QStringLiteral("Enregistrement impossible"));
        QCOMPARE(f.fake.messages.asked()[0].icon, MessageIcon::Stop);
        QVERIFY(f.fake.files.requests().isEmpty());
        QVERIFY(!f.page->isHidden());
    }

    void saveNormalisesTheName_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("other extension") << "exo1.txt"
                                         << "exo1.E03";
        QTest::newRow("no dot") << "exo1"
                                << "exo1.E03";
        QTest::newRow("lower-case extension") << "exo1.e03"
                                              << "exo1.E03";
        QTest::newRow("dot in a folder name only") << "cours.2024/exo1"
                                                   << "cours.2024/exo1.E03";
    }
    void saveNormalisesTheName()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        Fixture f;
        QVERIFY(QDir(f.dir.path()).mkdir("cours.2024"));
        writeFile(f.dir.filePath("enonce.rtf"), "statement");
        writeFile(f.dir.filePath("cours.2024/enonce.rtf"), "statement");
        f.selectModule("Cadrillon");
        f.controller->showPage();
        f.page->setSlotName(0, "enonce.rtf");
        f.fake.files.chooseNext(f.dir.filePath(chosen));
        f.controller->saveExercise();
        const FileDialogRequest request = f.fake.files.requests().at(0).request;
        QCOMPARE(request.title, QStringLiteral("Enregistrer le fichier exercice"));
        QCOMPARE(request.initialName, QStringLiteral("*.E03"));
        QCOMPARE(request.filter, QStringLiteral("*.E03|*.E03"));
        QVERIFY(QFile::exists(f.dir.filePath(written)));
        QCOMPARE(f.page->exercisePath(), f.path(written));
        QCOMPARE(f.state.exerciseDirectory,
                 QDir::toNativeSeparators(QFileInfo(f.dir.filePath(written)).path()) + QDir::separator());
        QCOMPARE(f.state.currentDocumentPath, f.state.exerciseDirectory + "enonce.rtf");
        QCOMPARE(f.host.exoText.content, QByteArray("statement"));
        QVERIFY(f.page->isHidden());
        VERIFY_ALL_CONSUMED(f.fake);
    }

    void saveOntoAnExistingFileAsks()
    {
        Fixture f;
        const QString path = f.makeExercise("exo.E03", "enonce.rtf", QString());
        const QByteArray before = fileBytes(path);
        f.selectModule("Cadrillon");
        f.open(path);
        f.controller->showPage();
        f.page->findChild<QLineEdit *>("titrexo")->setText("Nouveau titre");
        f.fake.files.chooseNext(path);
        f.fake.messages.answerNext(MessageAnswer::No);
        f.controller->saveExercise();
        QCOMPARE(f.fake.files.requests().last().request.initialName, path);
        QCOMPARE(f.fake.messages.asked()[0].text, QStringLiteral("Ecraser le fichier existant"));
        QCOMPARE(f.fake.messages.asked()[0].title, QStringLiteral("Ce fichier existe déjà"));
        QCOMPARE(f.fake.messages.asked()[0].icon, MessageIcon::Question);
        QCOMPARE(f.fake.messages.asked()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(fileBytes(path), before);
        QVERIFY(!f.page->isHidden());

        f.fake.files.chooseNext(path);
        f.fake.messages.answerNext(MessageAnswer::Yes);
        f.controller->saveExercise();
        ExerciseData data;
        QVERIFY(ExerciseFile::read(path, data));
        QCOMPARE(data.title, QStringLiteral("Nouveau titre"));
        QVERIFY(f.page->isHidden());
    }

    void saveCancelledHidesThePage()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.controller->showPage();
        f.page->setSlotName(0, "enonce.rtf");
        f.fake.files.cancelNext();
        f.controller->saveExercise();
        QVERIFY(f.page->isHidden());
        QCOMPARE(f.page->exercisePath(), QString());
    }

    void failedWriteChangesNothing()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.controller->showPage();
        f.page->setSlotName(0, "enonce.rtf");
        f.page->findChild<QLineEdit *>("titrexo")->setText(QStringLiteral("flèche → droite"));
        f.fake.files.chooseNext(f.dir.filePath("exo.E03"));
        f.fake.messages.answerNext(MessageAnswer::Ok);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be stored"));
        f.controller->saveExercise();
        QCOMPARE(f.fake.messages.asked()[0].title, QStringLiteral("Sauvegarde impossible"));
        QCOMPARE(f.fake.messages.asked()[0].icon, MessageIcon::Stop);
        QVERIFY(!QFile::exists(f.dir.filePath("exo.E03")));
        QCOMPARE(f.page->exercisePath(), QString());
        QVERIFY(!f.page->isHidden());
    }

    // A save that the disk or the folder refuses says why, through the page's message box, and
    // leaves the previous exercise file and the page as they were.
    void failedSaveReportsTheSystemReason_data()
    {
        QTest::addColumn<SaveFault>("fault");
        for (const SaveFault fault : {SaveFault::FullDisk, SaveFault::NearlyFullDisk,
                                      SaveFault::ReadOnlyFolder, SaveFault::VanishedFolder})
            QTest::newRow(faultName(fault)) << fault;
    }
    void failedSaveReportsTheSystemReason()
    {
        QFETCH(SaveFault, fault);
        FailingFolder folder(fault);
        // Longer than a nearly full disk's room: bytes past record 11 travel with the new file.
        const QByteArray before(4 * FailingFolder::spareBytes, '\x5a');
        QVERIFY(folder.put("exo.E03", before));
        if (!folder.unavailable().isEmpty())
            QSKIP(qPrintable(folder.unavailable()));
        Fixture f;
        f.selectModule("Cadrillon");
        f.controller->showPage();
        f.page->setSlotName(0, "enonce.rtf");
        QVERIFY(folder.start());
        f.fake.files.chooseNext(folder.filePath("exo.E03"));
        if (folder.keepsFiles())
            f.fake.messages.answerNext(MessageAnswer::Yes); // overwrite the existing file
        f.fake.messages.answerNext(MessageAnswer::Ok);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write"));

        f.controller->saveExercise();
        const MessageRequest reported = f.fake.messages.asked().constLast();
        QCOMPARE(reported.title, QStringLiteral("Sauvegarde impossible"));
        QCOMPARE(reported.icon, MessageIcon::Stop);
        QVERIFY2(reported.text.startsWith(ExerciseFile::writeFailure().message + QStringLiteral("\n\n")),
                 qPrintable(reported.text));
        QVERIFY2(reported.text.contains(folder.expectedReason()), qPrintable(reported.text));
        if (folder.keepsFiles())
            QCOMPARE(folder.read("exo.E03"), before);
        QCOMPARE(f.page->exercisePath(), QString());
        QCOMPARE(f.page->slotName(0), QStringLiteral("enonce.rtf"));
        QVERIFY(!f.page->isHidden());
        VERIFY_ALL_CONSUMED(f.fake);
    }

    // The tool is the page's writer without the page: both must give the same bytes.
    void savedFileEqualsToolOutput()
    {
        Fixture f;
        writeFile(f.dir.filePath("enonce.rtf"), "statement");
        f.selectModule("Cadrillon");
        f.controller->showPage();
        f.page->setSlotName(0, QStringLiteral("enonce.rtf"));
        f.page->setSlotName(1, QStringLiteral("départ.P03"));
        f.page->setSlotName(2, QStringLiteral("corrige.rtf"));
        f.page->findChild<QComboBox *>("ComboZ1")->setCurrentIndex(2);
        f.page->findChild<QLineEdit *>("titrexo")->setText(QStringLiteral("  Chute libre  "));
        ExerciseData data = f.page->data();
        data.scroll = 42;
        data.description = QStringLiteral("Première ligne\r\n") + QString(130, 'x');
        f.page->setData(data);
        f.fake.files.chooseNext(f.dir.filePath("editor.E03"));
        f.fake.messages.answerNext(MessageAnswer::Ok); // the correction file is not there
        f.controller->saveExercise();

        QProcess tool;
        tool.start(QStringLiteral(VELIGRAM_TOOL),
                   {"exercise", "write", f.dir.filePath("tool.E03"), "--statement", "enonce.rtf",
                    "--initial-parameters", QStringLiteral("départ.P03"), "--correction", "corrige.rtf",
                    "--difficulty", "2", "--scroll", "42", "--description", data.description, "--title",
                    "  Chute libre  "});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(fileBytes(f.dir.filePath("editor.E03")), fileBytes(f.dir.filePath("tool.E03")));
    }

    void showPageReadsTheFile()
    {
        Fixture f;
        const QString path = f.makeExercise("exo.E03", "enonce.rtf", QString());
        f.selectModule("Cadrillon");
        f.open(path);
        f.page->findChild<QLineEdit *>("titrexo")->setText("unsaved");
        f.controller->showPage();
        QVERIFY(!f.page->isHidden());
        QCOMPARE(f.page->findChild<QLineEdit *>("titrexo")->text(), QStringLiteral("Titre"));
        QCOMPARE(f.page->findChild<QLabel *>("ficex_0")->text(), QStringLiteral("enonce.rtf"));
        f.controller->hidePage();
        QVERIFY(f.page->isHidden());
    }

    void newExerciseAsksOnceThenClears()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        f.open(f.makeExercise("exo.E03", "enonce.rtf", "corrige.rtf"));
        f.controller->showPage();
        f.controller->hidePage();
        f.host.exoText.content = "statement edited";
        f.state.documentSaved = 0;
        f.fake.messages.answerNext(MessageAnswer::Yes);
        f.controller->newExercise();
        QCOMPARE(f.fake.messages.asked().size(), 1);
        // The dispatcher ran while both texts were still there.
        QCOMPARE(fileBytes(f.dir.filePath("enonce.rtf")), QByteArray("statement edited"));
        QCOMPARE(fileBytes(f.dir.filePath("corrige.rtf")), QByteArray("correction of exo.E03"));
        QCOMPARE(f.host.statementBuffer.content, QByteArray());
        QCOMPARE(f.host.correctionBuffer.content, QByteArray());
        QCOMPARE(f.page->exercisePath(), QString());
        QCOMPARE(f.page->findChild<QLabel *>("ficex_0")->text(), QString());
        QCOMPARE(f.page->findChild<QLineEdit *>("titrexo")->text(), QString());
        QVERIFY(!f.command("textexo")->isVisible());
        QVERIFY(!f.command("sepatext")->isVisible());
        QVERIFY(!f.command("az52")->isEnabled());
        QVERIFY(!f.shown(ExercisePanel::Statement));
        QCOMPARE(f.host.newTextRuns, 1);
        QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);
        QCOMPARE(f.state.moduleExtension, QStringLiteral("E03"));
        QVERIFY(!f.state.exerciseDirectory.isEmpty());
    }

    void newExerciseStopsWhenTheSaveFails()
    {
        Fixture f;
        f.selectModule("Cadrillon");
        const QString path = f.makeExercise("exo.E03", "enonce.rtf", "corrige.rtf");
        f.open(path);
        f.state.documentSaved = 0;
        f.host.saveFails = true;
        f.fake.messages.answerNext(MessageAnswer::Yes);
        f.controller->newExercise();
        QCOMPARE(f.page->exercisePath(), path);
        QCOMPARE(f.host.correctionBuffer.content, QByteArray("correction of exo.E03"));
        QCOMPARE(f.host.newTextRuns, 0);
    }

    void commandLineSelectsTheModule()
    {
        Fixture f;
        const QString path = f.makeExercise("exo.e03", "enonce.rtf", QString());
        QVERIFY(ExerciseController::isExercisePath(path));
        QVERIFY(!ExerciseController::isExercisePath("notes.rtf"));
        QVERIFY(!ExerciseController::isExercisePath("exo.E13"));
        QVERIFY(f.controller->openFromCommandLine(path));
        QCOMPARE(f.panel->moduleText(), QStringLiteral("Cadrillon"));
        QCOMPARE(f.state.moduleExtension, QStringLiteral("E03"));
        QCOMPARE(f.page->exercisePath(), path);
        QCOMPARE(f.page->findChild<QLineEdit *>("titrexo")->text(), QStringLiteral("Titre"));
        QCOMPARE(f.host.exoText.content, QByteArray("statement of exo.e03"));

        Fixture missing;
        missing.fake.messages.answerNext(MessageAnswer::Ok);
        QVERIFY(!missing.controller->openFromCommandLine(missing.path("absent.E03")));
        QCOMPARE(missing.fake.messages.asked()[0].title, QStringLiteral("Lecture impossible"));
        QVERIFY(!QFile::exists(missing.path("absent.E03")));
        QCOMPARE(missing.page->exercisePath(), QString());
    }

    void captionsClickLikeTheirIcons()
    {
        Fixture f;
        f.fake.messages.answerNext(MessageAnswer::Ok);
        QTest::mouseClick(f.panel->findChild<QWidget *>("Label7_0"), Qt::LeftButton);
        QCOMPARE(f.fake.messages.asked().size(), 1); // module check of "Paramètres"
        f.selectModule("Cadrillon");
        QTest::mouseClick(f.panel->findChild<QWidget *>("Image2"), Qt::LeftButton);
        QVERIFY(!f.page->isHidden());
        QTest::mouseClick(f.page->findChild<QWidget *>("Command19"), Qt::LeftButton);
        QVERIFY(f.page->isHidden());
    }
};

QTEST_MAIN(tst_ExerciseController)
#include "tst_exercisecontroller.moc"
