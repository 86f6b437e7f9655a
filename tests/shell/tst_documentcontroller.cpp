#include "documentfixture.h"

#include <QStandardPaths>

#include <cerrno>
#include <functional>

namespace {

const QString modifiedPrompt = QStringLiteral("Enregistrer modifications ?");
const QString warningTitle = QStringLiteral("Avertissement");
const QString untitledTitle = QStringLiteral("VELIGRAM - SANS NOM");
constexpr QRgb black = 0xff000000;

} // namespace

class tst_DocumentController : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void newTextResetsTypingFormat();
    void newTextPrompt_data();
    void newTextPrompt();

    void openAsksTheRightDialog();
    void openCancelOrFailureChangesNothing_data();
    void openCancelOrFailureChangesNothing();
    void openModifiedAnsweredNoKeepsDocumentUnsaved();
    void openStopsWhenYesDidNotSave();
    void savingAnOpenedTextFileWritesRtfIntoIt();

    void saveUntitledCancelWritesNothing();
    void saveFallsBackToSaveAsWhenTheWriteFails();
    void saveAsOntoCurrentFileAsksNothing();
    void saveAsAddsTheExtensionToABareName_data();
    void saveAsAddsTheExtensionToABareName();
    void everyChangeMarksTheTextChanged_data();
    void everyChangeMarksTheTextChanged();
    void saveAsOverwriteNoShowsTheDialogAgain();
    void saveAsFailureShowsMessageAndDialogAgain_data();
    void saveAsFailureShowsMessageAndDialogAgain();

    void saveAllWritesBothBuffers();
    void saveAllKeepsGoingAfterAFailedWrite();
    void dispatcherChoosesBySavedExercise_data();
    void dispatcherChoosesBySavedExercise();
    void dispatcherAlsoSavesAThirdText();

    void openExerciseTextPrompt_data();
    void openExerciseTextPrompt();
    void openExerciseTextFailure();

    void openPathReportsFailure();
};

void tst_DocumentController::newTextResetsTypingFormat()
{
    DocumentFixture f;
    f.exo->setText("old text");
    f.exo->setSelection({0, 3});
    f.exo->setSelBold(true);
    f.exo->setSelItalic(true);
    f.exo->setSelUnderline(true);
    f.exo->setSelFontName(QStringLiteral("Courier New"));
    f.exo->setSelFontSize(20);
    f.exo->setSelColor(qRgb(200, 0, 0));
    f.exo->setSelCharOffset(60);
    f.exo->setSelAlignment(2);
    f.exo->setSelBullet(true);
    f.exo->setSelIndent(80);
    f.exo->setSelRightIndent(40);
    f.exo->setSelTabCount(2);
    f.state.currentDocumentPath = f.path("old.rtf");
    f.state.documentSaved = 1; // saved as it is: New has nothing to ask

    QVERIFY(f.documents.newText());

    QCOMPARE(f.exo->text(), QByteArray());
    QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);
    QCOMPARE(f.titles, QStringList{untitledTitle});
    QCOMPARE(f.state.documentSaved, 1);
    RichTextControl &exo = *f.exo;
    QVERIFY(exo.selIndent() == 19.0);
    QVERIFY(exo.selRightIndent() == 12.0);
    QVERIFY(exo.selTabCount() == 0);
    QVERIFY(exo.selFontName() == QStringLiteral("Arial"));
    QVERIFY(exo.selFontSize() == 10.0);
    QVERIFY(exo.selColor() == black);
    QVERIFY(exo.selAlignment() == 0);
    QVERIFY(exo.selBold() == false);
    QVERIFY(exo.selBullet() == false);
    QVERIFY(exo.selCharOffset() == 0);
    QVERIFY(exo.selItalic() == false);
    QVERIFY(exo.selUnderline() == false);
    QVERIFY(f.fake.messages.asked().isEmpty());
}

void tst_DocumentController::newTextPrompt_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("saveDialogCancelled");
    QTest::addColumn<bool>("textReplaced");
    QTest::addColumn<bool>("fileWritten");

    QTest::newRow("No: new text, nothing saved") << false << false << true << false;
    QTest::newRow("Yes, saved: new text") << true << false << true << true;
    QTest::newRow("Yes, save cancelled: text kept") << true << true << false << false;
}

void tst_DocumentController::newTextPrompt()
{
    QFETCH(bool, yes);
    QFETCH(bool, saveDialogCancelled);
    QFETCH(bool, textReplaced);
    QFETCH(bool, fileWritten);

    DocumentFixture f;
    f.modify("precious");
    f.fake.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);
    if (yes) {
        if (saveDialogCancelled)
            f.fake.files.cancelNext();
        else
            f.fake.files.chooseNext(f.path("kept.rtf"));
    }

    QCOMPARE(f.documents.newText(), textReplaced);

    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(sameMessage(f.fake.messages.asked().first(), modifiedPrompt, warningTitle, MessageIcon::Question,
                        MessageButtons::YesNo));
    QCOMPARE(f.exo->text().isEmpty(), textReplaced);
    QCOMPARE(QFile::exists(f.path("kept.rtf")), fileWritten);
    QCOMPARE(f.state.documentSaved, textReplaced ? 1 : 0);
    QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::openAsksTheRightDialog()
{
    DocumentFixture f;
    f.fake.files.cancelNext();
    QVERIFY(!f.documents.open());
    QCOMPARE(f.fake.files.requests().size(), 1);
    const FileDialogCall call = f.fake.files.requests().first();
    QCOMPARE(call.mode, FileDialogMode::Open);
    QCOMPARE(call.request.title, QStringLiteral("Ouvrir un fichier texte"));
    QCOMPARE(call.request.filter,
             QStringLiteral("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*"));
    QCOMPARE(toQtNameFilters(call.request.filter).size(), 3);
    QCOMPARE(call.request.initialName, QStringLiteral("*.rtf"));
    QVERIFY(f.fake.messages.asked().isEmpty()); // nothing to save: no prompt
}

void tst_DocumentController::openCancelOrFailureChangesNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("dialog cancelled") << true;
    QTest::newRow("file cannot be read") << false;
}

void tst_DocumentController::openCancelOrFailureChangesNothing()
{
    QFETCH(bool, cancel);
    DocumentFixture f;
    f.exo->setText("mine");
    f.state.currentDocumentPath = f.path("mine.rtf");
    if (cancel)
        f.fake.files.cancelNext();
    else
        f.fake.files.chooseNext(f.path("absent.rtf"));

    QVERIFY(!f.documents.open());
    QCOMPARE(f.exo->text(), QByteArray("mine"));
    QCOMPARE(f.state.currentDocumentPath, f.path("mine.rtf"));
    QVERIFY(f.titles.isEmpty());
    QVERIFY(f.fake.messages.asked().isEmpty());
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::openModifiedAnsweredNoKeepsDocumentUnsaved()
{
    DocumentFixture f;
    f.write("other.rtf", R"({\rtf1\ansi other text\par})");
    f.modify();
    f.fake.messages.answerNext(MessageAnswer::No);
    f.fake.files.chooseNext(f.path("other.rtf"));

    QVERIFY(f.documents.open());
    QVERIFY(f.exo->text().startsWith("other text"));
    QCOMPARE(f.state.currentDocumentPath, f.path("other.rtf"));
    QCOMPARE(f.titles, QStringList{"VELIGRAM - " + f.path("other.rtf")});
    QCOMPARE(f.state.documentSaved, 0); // the close prompt still asks
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::openStopsWhenYesDidNotSave()
{
    DocumentFixture f;
    f.modify("precious");
    f.fake.messages.answerNext(MessageAnswer::Yes);
    f.fake.files.cancelNext(); // the save-as dialog: no open dialog may follow

    QVERIFY(!f.documents.open());
    QCOMPARE(f.fake.files.requests().size(), 1);
    QCOMPARE(f.fake.files.requests().first().mode, FileDialogMode::Save);
    QCOMPARE(f.exo->text(), QByteArray("precious"));
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::savingAnOpenedTextFileWritesRtfIntoIt()
{
    DocumentFixture f;
    f.write("notes.txt", "plain words\r\nsecond line");
    f.fake.files.chooseNext(f.path("notes.txt"), 2);
    QVERIFY(f.documents.open());
    QCOMPARE(f.state.currentDocumentPath, f.path("notes.txt"));
    f.modify(f.exo->text() + " more");

    QVERIFY(f.documents.save());
    const QByteArray written = f.read("notes.txt");
    QVERIFY2(written.startsWith("{\\rtf"), written.left(40).constData());
    QVERIFY(written.contains("plain words"));
    QCOMPARE(f.state.documentSaved, 1);
    QVERIFY(f.fake.files.requests().size() == 1); // no save-as dialog
}

void tst_DocumentController::saveUntitledCancelWritesNothing()
{
    DocumentFixture f;
    f.modify();
    f.fake.files.cancelNext();

    QVERIFY(!f.documents.save());
    QCOMPARE(f.fake.files.requests().size(), 1);
    const FileDialogCall call = f.fake.files.requests().first();
    QCOMPARE(call.mode, FileDialogMode::Save);
    QCOMPARE(call.request.title, QStringLiteral("Enregistrer un fichier texte"));
    QCOMPARE(call.request.filter, QStringLiteral("Texte format rtf|*.rtf"));
    QCOMPARE(call.request.initialName, EditorState::untitled);
    QVERIFY(call.request.cancelIsError);
    QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);
    QVERIFY(f.titles.isEmpty());
    QCOMPARE(f.state.documentSaved, 0);
    QCOMPARE(f.state.savingAs, 0);
}

void tst_DocumentController::saveFallsBackToSaveAsWhenTheWriteFails()
{
    DocumentFixture f;
    f.modify();
    f.state.currentDocumentPath = f.missingFolderPath("lost.rtf");
    f.fake.files.chooseNext(f.path("found.rtf"));

    QVERIFY(f.documents.save());
    QCOMPARE(f.fake.files.requests().first().request.initialName, f.missingFolderPath("lost.rtf"));
    QVERIFY(f.fake.messages.asked().isEmpty()); // the failed write itself is not reported
    QVERIFY(f.read("found.rtf").startsWith("{\\rtf"));
    QCOMPARE(f.state.currentDocumentPath, f.path("found.rtf"));
    QCOMPARE(f.state.documentSaved, 1);
}

void tst_DocumentController::saveAsOntoCurrentFileAsksNothing()
{
    DocumentFixture f;
    f.write("same.rtf", "old");
    f.state.currentDocumentPath = f.path("same.rtf");
    f.modify("new words");
    f.fake.files.chooseNext(f.path("same.rtf"));

    QVERIFY(f.documents.saveAs());
    QVERIFY(f.fake.messages.asked().isEmpty());
    QVERIFY(f.read("same.rtf").contains("new words"));
}

void tst_DocumentController::saveAsAddsTheExtensionToABareName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("bare name gets .rtf") << "ex1"
                                         << "ex1.rtf";
    QTest::newRow("a .txt name is kept") << "ex1.txt"
                                         << "ex1.txt";
}

void tst_DocumentController::saveAsAddsTheExtensionToABareName()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    DocumentFixture f;
    f.modify("mots");
    f.fake.files.chooseNext(f.path(typed));
    QVERIFY(f.documents.saveAs());
    QVERIFY(f.read(written).startsWith("{\\rtf1"));
    QCOMPARE(f.state.currentDocumentPath, f.path(written));
}

void tst_DocumentController::everyChangeMarksTheTextChanged_data()
{
    QTest::addColumn<std::function<void(RichTextControl &)>>("change");
    QTest::newRow("text replaced") << std::function<void(RichTextControl &)>([](RichTextControl &t) {
        t.setSelection({0, 3});
        t.setSelText("x");
    });
    QTest::newRow("bold") << std::function<void(RichTextControl &)>([](RichTextControl &t) {
        t.setSelection({0, 3});
        t.setSelBold(true);
    });
    QTest::newRow("alignment") << std::function<void(RichTextControl &)>(
        [](RichTextControl &t) { t.setSelAlignment(2); });
    QTest::newRow("tab stops") << std::function<void(RichTextControl &)>(
        [](RichTextControl &t) { t.setSelTabCount(1); });
    QTest::newRow("RTF pasted") << std::function<void(RichTextControl &)>(
        [](RichTextControl &t) { t.setSelRtf(R"({\rtf1 {\b y}})"); });
    QTest::newRow("undo") << std::function<void(RichTextControl &)>([](RichTextControl &t) {
        t.setSelText("z");
        QVERIFY(t.canUndo());
        t.undo();
    });
}

void tst_DocumentController::everyChangeMarksTheTextChanged()
{
    QFETCH(std::function<void(RichTextControl &)>, change);
    DocumentFixture f;
    f.write("saved.rtf", R"({\rtf1 abc def\par})");
    QVERIFY(f.documents.openPath(f.path("saved.rtf")));
    QCOMPARE(f.state.documentSaved, int16_t(1)); // a load is no change
    change(*f.exo);
    QCOMPARE(f.state.documentSaved, int16_t(0));
    QVERIFY(f.documents.save());
    QCOMPARE(f.state.documentSaved, int16_t(1));
}

void tst_DocumentController::saveAsOverwriteNoShowsTheDialogAgain()
{
    DocumentFixture f;
    f.write("taken.rtf", "someone else's");
    f.modify("mine");
    f.fake.files.chooseNext(f.path("taken.rtf"));
    f.fake.messages.answerNext(MessageAnswer::No);
    f.fake.files.chooseNext(f.path("taken.rtf"));
    f.fake.messages.answerNext(MessageAnswer::Yes);

    QVERIFY(f.documents.saveAs());
    QCOMPARE(f.fake.files.requests().size(), 2);
    QCOMPARE(f.fake.messages.asked().size(), 2);
    for (const MessageRequest &asked : f.fake.messages.asked())
        QVERIFY(sameMessage(asked, QStringLiteral("Ecraser le fichier existant?"),
                            QStringLiteral("Ce fichier existe déjà"), MessageIcon::Exclamation,
                            MessageButtons::YesNo));
    QVERIFY(f.read("taken.rtf").contains("mine"));
    QCOMPARE(f.state.currentDocumentPath, f.path("taken.rtf"));
    QCOMPARE(f.titles, QStringList{"VELIGRAM - " + f.path("taken.rtf")});
    QCOMPARE(f.state.documentSaved, 1);
    QCOMPARE(f.state.savingAs, 0);
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::saveAsFailureShowsMessageAndDialogAgain_data()
{
    QTest::addColumn<bool>("dialogFails");
    QTest::newRow("dialog failure") << true;
    QTest::newRow("write failure") << false;
}

void tst_DocumentController::saveAsFailureShowsMessageAndDialogAgain()
{
    QFETCH(bool, dialogFails);
    DocumentFixture f;
    f.modify();
    if (dialogFails)
        f.fake.files.failNext();
    else
        f.fake.files.chooseNext(f.missingFolderPath("nowhere.rtf"));
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.fake.files.cancelNext();

    QVERIFY(!f.documents.saveAs());
    QCOMPARE(f.fake.files.requests().size(), 2);
    QCOMPARE(f.fake.messages.asked().size(), 1);
    // A failed write adds the system's reason; a failed dialog has none to give.
    const QString reason = dialogFails ? QString() : QStringLiteral("\n\n") + qt_error_string(ENOENT);
    QVERIFY(sameMessage(f.fake.messages.asked().first(),
                        QStringLiteral("Impossible d'écrire sur ce disque") + reason,
                        QStringLiteral("Enregistrement impossible"), MessageIcon::Stop, MessageButtons::Ok));
    // A name that could not be written is not adopted, even though the dialog chose it.
    QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);
    QCOMPARE(f.state.documentSaved, 0);
    QCOMPARE(f.state.savingAs, 0);
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::saveAllWritesBothBuffers()
{
    DocumentFixture f;
    f.openExercise("enonce.rtf", "corrige.rtf");
    f.sujetampon->setText("statement");
    f.corectampon->setText("correction");
    f.state.currentDocumentPath = f.path("corrige.rtf");
    f.modify("edited correction");

    QVERIFY(f.documents.saveAll());
    QVERIFY(f.read("enonce.rtf").contains("statement"));
    QVERIFY(f.read("corrige.rtf").contains("edited correction")); // exo copied into its buffer first
    QCOMPARE(f.corectampon->text(), f.exo->text());
    QCOMPARE(f.state.documentSaved, 1);
    QVERIFY(f.fake.messages.asked().isEmpty());
}

void tst_DocumentController::saveAllKeepsGoingAfterAFailedWrite()
{
    DocumentFixture f;
    f.items.setStatement(f.missingFolderPath("enonce.rtf"), true);
    f.items.setCorrection(f.path("corrige.rtf"), true);
    f.state.currentDocumentPath = f.items.statementPath();
    f.modify("statement");
    f.corectampon->setText("correction");
    f.fake.messages.answerNext(MessageAnswer::Ok);

    QVERIFY(!f.documents.saveAll());
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(sameMessage(f.fake.messages.asked().first(),
                        QStringLiteral("Vérifier l'état du lecteur\n\n") + qt_error_string(ENOENT),
                        QStringLiteral("Sauvegarde impossible"), MessageIcon::Stop, MessageButtons::Ok));
    QVERIFY(f.read("corrige.rtf").contains("correction")); // the next buffer is still written
    QCOMPARE(f.state.documentSaved, 0);                    // the close prompt still asks
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::dispatcherChoosesBySavedExercise_data()
{
    QTest::addColumn<bool>("withCorrection");
    QTest::newRow("statement and correction: both buffers") << true;
    QTest::newRow("statement only: the shown text") << false;
}

void tst_DocumentController::dispatcherChoosesBySavedExercise()
{
    QFETCH(bool, withCorrection);
    DocumentFixture f;
    f.openExercise("enonce.rtf", withCorrection ? "corrige.rtf" : QString());
    f.state.currentDocumentPath = f.path("enonce.rtf");
    f.corectampon->setText("correction");
    f.modify("statement");

    QVERIFY(f.documents.saveDispatcher());
    QVERIFY(f.read("enonce.rtf").contains("statement"));
    QCOMPARE(QFile::exists(f.path("corrige.rtf")), withCorrection);
    QCOMPARE(f.state.documentSaved, 1);
    QVERIFY(f.fake.files.requests().isEmpty());
}

void tst_DocumentController::dispatcherAlsoSavesAThirdText()
{
    DocumentFixture f;
    f.openExercise("enonce.rtf", "corrige.rtf");
    f.state.currentDocumentPath = f.path("notes.rtf");
    f.modify("third text");

    QVERIFY(f.documents.saveDispatcher());
    QVERIFY(QFile::exists(f.path("enonce.rtf")));
    QVERIFY(QFile::exists(f.path("corrige.rtf")));
    QVERIFY(f.read("notes.rtf").contains("third text"));
    QCOMPARE(f.state.documentSaved, 1);
}

void tst_DocumentController::openExerciseTextPrompt_data()
{
    QTest::addColumn<bool>("statement");
    QTest::addColumn<bool>("opened"); // the user answered OK
    QTest::newRow("statement, OK") << true << true;
    QTest::newRow("statement, Cancel") << true << false;
    QTest::newRow("correction, OK") << false << true;
    QTest::newRow("correction, Cancel") << false << false;
}

void tst_DocumentController::openExerciseTextPrompt()
{
    QFETCH(bool, statement);
    QFETCH(bool, opened);

    DocumentFixture f;
    f.write("enonce.rtf", R"({\rtf1 the statement\par})");
    f.write("corrige.rtf", R"({\rtf1 the correction\par})");
    f.openExercise("enonce.rtf", "corrige.rtf");
    f.state.currentDocumentPath = f.path("notes.rtf");
    f.modify("unsaved notes");
    f.fake.messages.answerNext(opened ? MessageAnswer::Ok : MessageAnswer::Cancel);

    QCOMPARE(statement ? f.documents.openStatement() : f.documents.openCorrection(), opened);
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(sameMessage(f.fake.messages.asked().first(),
                        QStringLiteral("Attention : perte des modifications sur le texte."),
                        statement ? QStringLiteral("Ouvrir l'énoncé") : QStringLiteral("Ouvrir le corrigé"),
                        MessageIcon::None, MessageButtons::OkCancel));
    const QString expectedPath =
        opened ? f.path(statement ? "enonce.rtf" : "corrige.rtf") : f.path("notes.rtf");
    QCOMPARE(f.state.currentDocumentPath, expectedPath);
    if (opened) {
        QVERIFY(f.exo->text().startsWith(statement ? "the statement" : "the correction"));
        QCOMPARE(f.titles, QStringList{"VELIGRAM - " + expectedPath});
        QCOMPARE(f.state.documentSaved, 1);
    } else {
        QCOMPARE(f.exo->text(), QByteArray("unsaved notes"));
        QCOMPARE(f.state.documentSaved, 0);
    }
    QVERIFY(f.sujetampon->text().isEmpty()); // the buffers are not involved
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::openExerciseTextFailure()
{
    DocumentFixture f;
    f.openExercise("missing.rtf", QString());
    f.exo->setText("kept");
    f.state.currentDocumentPath = f.path("notes.rtf");
    f.fake.messages.answerNext(MessageAnswer::Ok);

    QVERIFY(!f.documents.openStatement());
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(sameMessage(f.fake.messages.asked().first(),
                        QStringLiteral("Erreur lors de l'ouverture du fichier"),
                        QStringLiteral("Lecture impossible"), MessageIcon::Stop, MessageButtons::Ok));
    QCOMPARE(f.exo->text(), QByteArray("kept"));
    QCOMPARE(f.state.currentDocumentPath, f.path("notes.rtf"));
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DocumentController::openPathReportsFailure()
{
    DocumentFixture f;
    f.fake.messages.answerNext(MessageAnswer::Ok);
    QVERIFY(!f.documents.openPath(f.path("absent.rtf")));
    QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);

    f.write("given.rtf", R"({\rtf1 from the command line\par})");
    QVERIFY(f.documents.openPath(f.path("given.rtf")));
    QCOMPARE(f.state.currentDocumentPath, f.path("given.rtf"));
    QVERIFY(f.exo->text().startsWith("from the command line"));
    VERIFY_ALL_CONSUMED(f.fake);
}

QTEST_MAIN(tst_DocumentController)
#include "tst_documentcontroller.moc"
