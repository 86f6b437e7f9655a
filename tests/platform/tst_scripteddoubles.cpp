#include "scriptedplatform.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTest>

class tst_ScriptedDoubles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void messageAnswersComeInOrderAndAreLogged();
    void unexpectedMessageFailsTheTest();
    void unfitAnswerFailsTheTest_data();
    void unfitAnswerFailsTheTest();
    void unexpectedFileDialogFailsAndCancels();
    void fileDialogAnswers();
    void inputBoxAnswers();
    void leftoverAnswersAreReported();
    void leftoverAnswersFailWhenThePlatformGoes();
    void clipboardPutReplacesEverything();
    void keystrokesAreLoggedAndHandled();
    void printJobRendersPages();
    void cancelledPrintRunsNoJob();
    void systemInfoDefaults();
};

void tst_ScriptedDoubles::messageAnswersComeInOrderAndAreLogged()
{
    ScriptedPlatform fake;
    fake.messages.answerNext(MessageAnswer::No);
    fake.messages.answerNext(MessageAnswer::Ok);
    MessageBoxes &boxes = fake.platform().messages;
    QCOMPARE(boxes.show(QStringLiteral("Enregistrer modifications ?"), QStringLiteral("Avertissement"),
                        MessageIcon::Question, MessageButtons::YesNo),
             MessageAnswer::No);
    QCOMPARE(boxes.show(QStringLiteral("Fini"), QStringLiteral("Info")), MessageAnswer::Ok);
    QCOMPARE(fake.messages.asked().size(), 2);
    QCOMPARE(fake.messages.asked()[0].title, QStringLiteral("Avertissement"));
    QCOMPARE(fake.messages.asked()[0].icon, MessageIcon::Question);
    QCOMPARE(fake.messages.asked()[0].buttons, MessageButtons::YesNo);
    QCOMPARE(fake.messages.askedTexts(), QStringList({"Enregistrer modifications ?", "Fini"}));
    VERIFY_ALL_CONSUMED(fake);
}

void tst_ScriptedDoubles::unexpectedMessageFailsTheTest()
{
    ScriptedMessageBoxes boxes;
    QEXPECT_FAIL("", "a question with nothing queued must fail the test", Continue);
    const MessageAnswer answer =
        boxes.show(QStringLiteral("Ecraser le fichier existant?"), QStringLiteral("Ce fichier existe déjà"),
                   MessageIcon::Exclamation, MessageButtons::YesNo);
    QCOMPARE(answer, MessageAnswer::No); // the cautious way out
    QCOMPARE(boxes.faults().size(), 1);
    QVERIFY(boxes.faults().first().contains(QStringLiteral("Ecraser le fichier existant?")));
}

void tst_ScriptedDoubles::unfitAnswerFailsTheTest_data()
{
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<MessageAnswer>("queued");
    QTest::addColumn<MessageAnswer>("returned");
    QTest::newRow("Cancel to Yes/No") << MessageButtons::YesNo << MessageAnswer::Cancel << MessageAnswer::No;
    QTest::newRow("Yes to OK/Cancel")
        << MessageButtons::OkCancel << MessageAnswer::Yes << MessageAnswer::Cancel;
    QTest::newRow("No to OK") << MessageButtons::Ok << MessageAnswer::No << MessageAnswer::Ok;
    QTest::newRow("Ok to Yes/No/Cancel")
        << MessageButtons::YesNoCancel << MessageAnswer::Ok << MessageAnswer::Cancel;
}

void tst_ScriptedDoubles::unfitAnswerFailsTheTest()
{
    QFETCH(MessageButtons, buttons);
    QFETCH(MessageAnswer, queued);
    QFETCH(MessageAnswer, returned);
    ScriptedMessageBoxes boxes;
    boxes.answerNext(queued);
    QEXPECT_FAIL(QTest::currentDataTag(), "an answer the box does not offer is a script fault", Continue);
    QCOMPARE(boxes.show(QStringLiteral("Question"), QStringLiteral("Titre"), MessageIcon::None, buttons),
             returned);
    QCOMPARE(boxes.faults().size(), 1);
}

void tst_ScriptedDoubles::unexpectedFileDialogFailsAndCancels()
{
    ScriptedFileDialogs files;
    FileDialogRequest request;
    request.title = QStringLiteral("Ouvrir un fichier texte");
    QEXPECT_FAIL("", "a dialog with nothing queued must fail the test", Continue);
    const FileDialogResult result = files.open(request);
    QVERIFY(result.cancelled);
    QVERIFY(!result.accepted());
    QVERIFY(files.faults().first().contains(QStringLiteral("Ouvrir un fichier texte")));
}

void tst_ScriptedDoubles::fileDialogAnswers()
{
    ScriptedFileDialogs files;
    files.chooseNext(QStringLiteral("/tmp/a/b.rtf"), 2);
    files.cancelNext();
    files.failNext();
    FileDialogRequest request;
    request.title = QStringLiteral("Enregistrer un fichier texte");
    request.filter = QStringLiteral("Texte format rtf|*.rtf");
    request.initialName = QStringLiteral("*.rtf");

    const FileDialogResult chosen = files.save(request);
    QVERIFY(chosen.accepted());
    QCOMPARE(chosen.path, QDir::toNativeSeparators(QStringLiteral("/tmp/a/b.rtf")));
    QCOMPARE(chosen.filterIndex, 2);
    const FileDialogResult cancelled = files.open(request);
    QVERIFY(cancelled.cancelled && !cancelled.failed);
    const FileDialogResult failed = files.open(request);
    QVERIFY(failed.failed && !failed.accepted());

    QCOMPARE(files.requests().size(), 3);
    QCOMPARE(files.requests()[0].mode, FileDialogMode::Save);
    QCOMPARE(files.requests()[1].mode, FileDialogMode::Open);
    QCOMPARE(files.requests()[0].request.initialName, QStringLiteral("*.rtf"));
    QCOMPARE(files.pendingAnswers(), 0);
}

void tst_ScriptedDoubles::inputBoxAnswers()
{
    ScriptedInputBoxes input;
    input.answerNext(QStringLiteral("2,5"));
    input.cancelNext();
    QCOMPARE(input.ask(QStringLiteral("Décalage"), QStringLiteral("Indices"), QStringLiteral("5")),
             std::optional<QString>(QStringLiteral("2,5")));
    QCOMPARE(input.ask(QStringLiteral("Décalage"), QStringLiteral("Indices")), std::nullopt);
    QCOMPARE(input.asked().size(), 2);
    QCOMPARE(input.asked()[0].defaultText, QStringLiteral("5"));
    QEXPECT_FAIL("", "an input box with nothing queued must fail the test", Continue);
    QCOMPARE(input.ask(QStringLiteral("Encore ?"), QStringLiteral("Titre")), std::nullopt);
    QCOMPARE(input.faults().size(), 1);
}

void tst_ScriptedDoubles::leftoverAnswersAreReported()
{
    ScriptedPlatform fake;
    fake.messages.answerNext(MessageAnswer::Yes);
    fake.files.cancelNext();
    QVERIFY(!fake.allConsumed());
    QVERIFY(fake.unconsumed().contains(QStringLiteral("1 message box")));
    QVERIFY(fake.unconsumed().contains(QStringLiteral("1 file dialog")));
    fake.dropPendingAnswers();
    QVERIFY(fake.allConsumed());
}

void tst_ScriptedDoubles::leftoverAnswersFailWhenThePlatformGoes()
{
    auto fake = std::make_unique<ScriptedPlatform>();
    fake->printer.acceptPrintNext();
    QEXPECT_FAIL("", "answers never asked for must fail the test", Continue);
    fake.reset();
    QVERIFY(!fake); // reached only through the expected failure: a silent reset would XPASS here
}

void tst_ScriptedDoubles::clipboardPutReplacesEverything()
{
    ScriptedClipboard clipboard;
    clipboard.setRtf(QByteArrayLiteral("{\\rtf1 x}"), QStringLiteral("x"));
    QVERIFY(clipboard.hasRtf());
    QCOMPARE(clipboard.text(), QStringLiteral("x"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    clipboard.setImage(image);
    QVERIFY(!clipboard.hasRtf());
    QVERIFY(clipboard.hasImage());
    clipboard.putPlainText(QStringLiteral("plain"));
    QVERIFY(!clipboard.hasRtf() && !clipboard.hasImage());
    QCOMPARE(clipboard.rtf(), QByteArray());
    clipboard.clear();
    QVERIFY(clipboard.isEmpty());
    QCOMPARE(clipboard.log(), QStringList({"setRtf", "setImage", "putPlainText", "clear"}));
}

void tst_ScriptedDoubles::keystrokesAreLoggedAndHandled()
{
    ScriptedKeystrokes keys;
    QWidget first;
    QWidget second;
    keys.send(&first, QStringLiteral("^z"));
    QStringList handled;
    keys.setHandler([&](QWidget *receiver, const QString &sent) {
        QCOMPARE(receiver, &second);
        handled.append(sent);
    });
    keys.send(&second, QStringLiteral("+{INSERT}"));
    QCOMPARE(keys.sent(), QStringList({"^z", "+{INSERT}"}));
    QCOMPARE(keys.receivers(), QList<QPointer<QWidget>>({&first, &second}));
    QCOMPARE(handled, QStringList({"+{INSERT}"}));
}

void tst_ScriptedDoubles::printJobRendersPages()
{
    ScriptedPrinting printer;
    printer.acceptPrintNext(true);
    bool selectionSeen = false;
    const bool printed = printer.print(true, [&](QPagedPaintDevice &device, bool selectionOnly) {
        selectionSeen = selectionOnly;
        QPainter painter(&device);
        painter.drawText(100, 100, QStringLiteral("page 1"));
        device.newPage();
        painter.drawText(100, 100, QStringLiteral("page 2"));
        return true;
    });
    QVERIFY(printed);
    QVERIFY(selectionSeen);
    QCOMPARE(printer.jobCount(), 1);
    QCOMPARE(printer.lastPageCount(), 2);
    QVERIFY(QFileInfo(printer.lastPdfPath()).size() > 0);
    QCOMPARE(printer.calls().size(), 1);
    QVERIFY(printer.calls()[0].hasSelection);
}

void tst_ScriptedDoubles::cancelledPrintRunsNoJob()
{
    ScriptedPrinting printer;
    printer.cancelSetUpNext();
    printer.cancelPrintNext();
    QVERIFY(!printer.setUp());
    bool ran = false;
    QVERIFY(!printer.print(false, [&](QPagedPaintDevice &, bool) { return ran = true; }));
    QVERIFY(!ran);
    QCOMPARE(printer.jobCount(), 0);
}

void tst_ScriptedDoubles::systemInfoDefaults()
{
    ScriptedSystemInfo system;
    QCOMPARE(system.screenGeometry().width(), 1024);
    QVERIFY(system.screenFonts().contains(QStringLiteral("Wingdings")));
    QVERIFY(QFileInfo(system.applicationDirectory()).isDir());
    QVERIFY(system.fileExists(system.applicationDirectory()));
    QVERIFY(!system.fileExists(QDir(system.temporaryDirectory()).filePath(QStringLiteral("QZ7.hlp"))));
    system.setApplicationDirectory(QStringLiteral("/"));
    QCOMPARE(system.applicationDirectory(), QDir::toNativeSeparators(QStringLiteral("/")));
}

QTEST_MAIN(tst_ScriptedDoubles)
#include "tst_scripteddoubles.moc"
