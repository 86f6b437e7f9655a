#include "documentfixture.h"
#include "exercise/exercisefile.h"
#include "exercise/recordfile.h"
#include "failingfolder.h"
#include "shell/mainwindow.h"
#include "shell/statefile.h"

#include <QStandardPaths>

Q_DECLARE_METATYPE(SaveFault)

namespace {

const QString fullPrompt = QStringLiteral("Impossible d'écrire sur ce disque");
const QString drivePrompt = QStringLiteral("Vérifier l'état du lecteur");

// Longer than the room a nearly full disk leaves, so that the write is cut part way.
QByteArray longText(const QByteArray &word)
{
    QByteArray text;
    while (text.size() < 4 * FailingFolder::spareBytes)
        text += word + ' ';
    return text;
}

QByteArray rtfOf(const QByteArray &text)
{
    const std::unique_ptr<RichTextControl> control = createRichTextControl();
    control->setText(text);
    return control->textRtf();
}

QByteArray textOfFile(const QString &path)
{
    const std::unique_ptr<RichTextControl> control = createRichTextControl();
    return control->loadFile(path) ? control->text() : QByteArray("(unreadable)");
}

// A file other programs also wrote to: records past those the editor writes, which it keeps.
QByteArray recordsWithTail(const QMap<int, QByteArray> &records)
{
    QByteArray bytes(3 * FailingFolder::spareBytes, '\x5a');
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        bytes.replace((it.key() - 1) * RecordFile::recordSize, RecordFile::recordSize,
                      *RecordFile::encodeString(it.value()));
    return bytes;
}

bool reportsTheReason(const MessageRequest &asked, const QString &prompt, const QString &title,
                      const QString &reason)
{
    // The fixed text stays whole on its first line; the system's reason follows.
    const bool reported = asked.text.startsWith(prompt + QStringLiteral("\n\n")) &&
                          asked.text.contains(reason) && asked.title == title &&
                          asked.icon == MessageIcon::Stop && asked.buttons == MessageButtons::Ok;
    if (!reported)
        qWarning().noquote() << "asked" << asked.text << "/" << asked.title << iconName(asked.icon)
                             << "; expected the reason" << reason;
    return reported;
}

} // namespace

// Starts the fault of the row, or skips the row saying why this machine cannot make it.
#define START_FAULT(folder)                                                                                  \
    do {                                                                                                     \
        if (!(folder).unavailable().isEmpty())                                                               \
            QSKIP(qPrintable((folder).unavailable()));                                                       \
        QVERIFY2((folder).start(), "the fault could not be made");                                           \
    } while (false)

// The previous file is there byte for byte, with nothing left beside it; in a folder that
// vanished nothing was created either.
#define VERIFY_PREVIOUS_FILE(folder, name, before)                                                           \
    do {                                                                                                     \
        if ((folder).keepsFiles()) {                                                                         \
            QCOMPARE((folder).read(name), before);                                                           \
            QCOMPARE((folder).names(), QStringList{name});                                                   \
        } else {                                                                                             \
            QVERIFY(!QFileInfo::exists((folder).filePath(name)));                                            \
        }                                                                                                    \
    } while (false)

class tst_DataSafety : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void controlSaveKeepsThePreviousFile_data() { addFaultRows(); }
    void controlSaveKeepsThePreviousFile();
    void saveReportsTheReasonThenSavesElsewhere_data() { addFaultRows(); }
    void saveReportsTheReasonThenSavesElsewhere();
    void saveAllReportsTheReasonAndWritesTheOtherText_data() { addFaultRows(); }
    void saveAllReportsTheReasonAndWritesTheOtherText();
    void exerciseFileKeepsThePreviousFile_data() { addFaultRows(); }
    void exerciseFileKeepsThePreviousFile();
    void stateFileFailsSilentlyAndKeepsItsRecords_data() { addFaultRows(); }
    void stateFileFailsSilentlyAndKeepsItsRecords();

private:
    static void addFaultRows()
    {
        QTest::addColumn<SaveFault>("fault");
        for (const SaveFault fault : {SaveFault::FullDisk, SaveFault::NearlyFullDisk,
                                      SaveFault::ReadOnlyFolder, SaveFault::VanishedFolder})
            QTest::newRow(faultName(fault)) << fault;
    }
};

void tst_DataSafety::controlSaveKeepsThePreviousFile()
{
    QFETCH(SaveFault, fault);
    FailingFolder folder(fault);
    const QByteArray before = rtfOf("the previous text");
    QVERIFY(folder.put("doc.rtf", before));
    const std::unique_ptr<RichTextControl> control = createRichTextControl();
    const QByteArray text = longText("nouveau");
    control->setText(text);
    START_FAULT(folder);

    QVERIFY(!control->saveFile(folder.filePath("doc.rtf")));
    QVERIFY2(control->fileError().contains(folder.expectedReason()), qPrintable(control->fileError()));
    VERIFY_PREVIOUS_FILE(folder, "doc.rtf", before);

    // Nothing of the text was lost: it saves elsewhere, whole.
    QTemporaryDir elsewhere;
    QVERIFY(control->saveFile(elsewhere.filePath("copie.rtf")));
    QCOMPARE(control->fileError(), QString());
    QCOMPARE(textOfFile(elsewhere.filePath("copie.rtf")), text);
}

// Save to the current file fails without a word and opens save as, as always; picking the same
// file again is answered with the reason, then another place takes the text.
void tst_DataSafety::saveReportsTheReasonThenSavesElsewhere()
{
    QFETCH(SaveFault, fault);
    FailingFolder folder(fault);
    const QByteArray before = rtfOf("the previous text");
    QVERIFY(folder.put("doc.rtf", before));
    DocumentFixture f;
    f.state.currentDocumentPath = folder.filePath("doc.rtf");
    const QByteArray text = longText("nouveau");
    f.modify(text);
    START_FAULT(folder);
    f.fake.files.chooseNext(folder.filePath("doc.rtf"));
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.fake.files.chooseNext(f.path("ailleurs.rtf"));

    QVERIFY(f.documents.save());
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(reportsTheReason(f.fake.messages.asked().first(), fullPrompt,
                             QStringLiteral("Enregistrement impossible"), folder.expectedReason()));
    VERIFY_PREVIOUS_FILE(folder, "doc.rtf", before);
    QCOMPARE(textOfFile(f.path("ailleurs.rtf")), text);
    QCOMPARE(f.exo->text(), text);
    QCOMPARE(f.state.currentDocumentPath, f.path("ailleurs.rtf"));
    QCOMPARE(f.state.documentSaved, 1);
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DataSafety::saveAllReportsTheReasonAndWritesTheOtherText()
{
    QFETCH(SaveFault, fault);
    FailingFolder folder(fault);
    const QByteArray before = rtfOf("the previous statement");
    QVERIFY(folder.put("enonce.rtf", before));
    DocumentFixture f;
    f.items.setStatement(folder.filePath("enonce.rtf"), true);
    f.items.setCorrection(f.path("corrige.rtf"), true);
    f.state.currentDocumentPath = f.items.statementPath();
    const QByteArray statement = longText("énoncé");
    f.modify(statement);
    f.corectampon->setText("correction");
    START_FAULT(folder);
    f.fake.messages.answerNext(MessageAnswer::Ok);

    QVERIFY(!f.documents.saveAll());
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(reportsTheReason(f.fake.messages.asked().first(), drivePrompt,
                             QStringLiteral("Sauvegarde impossible"), folder.expectedReason()));
    VERIFY_PREVIOUS_FILE(folder, "enonce.rtf", before);
    QCOMPARE(textOfFile(f.path("corrige.rtf")), QByteArray("correction"));
    QCOMPARE(f.exo->text(), statement);
    QCOMPARE(f.sujetampon->text(), statement);
    QCOMPARE(f.state.documentSaved, 0); // the close prompt still asks
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DataSafety::exerciseFileKeepsThePreviousFile()
{
    QFETCH(SaveFault, fault);
    FailingFolder folder(fault);
    ExerciseData previous;
    previous.files = {QStringLiteral("ancien.rtf"), QString(), QString(), QString()};
    previous.title = QStringLiteral("Ancien titre");
    const QByteArray before = recordsWithTail(*ExerciseFile::encode(previous));
    QVERIFY(folder.put("exo.E03", before));
    ExerciseData data = previous;
    data.title = QStringLiteral("Nouveau titre");
    data.description = QString(ExerciseData::maxDescriptionLength, QLatin1Char('d'));
    START_FAULT(folder);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write"));
    const ExerciseFileResult result = ExerciseFile::write(folder.filePath("exo.E03"), data);
    QVERIFY(!result);
    QCOMPARE(result.title, QStringLiteral("Sauvegarde impossible"));
    QVERIFY2(result.message.startsWith(ExerciseFile::writeFailure().message + QStringLiteral("\n\n")),
             qPrintable(result.message));
    QVERIFY2(result.message.contains(folder.expectedReason()), qPrintable(result.message));
    VERIFY_PREVIOUS_FILE(folder, "exo.E03", before);
}

// The state file is no concern of the user's: a failure shows nothing, and the records other
// programs keep there survive it.
void tst_DataSafety::stateFileFailsSilentlyAndKeepsItsRecords()
{
    QFETCH(SaveFault, fault);
    FailingFolder folder(fault);
    const QByteArray before = recordsWithTail({{1, "module"}, {StateFile::openRecord, "NON"}, {7, "autre"}});
    QVERIFY(folder.put("TEMPO.SPC", before));
    EditorState state;
    ScriptedPlatform fake;
    fake.system.setApplicationDirectory(folder.path());
    Platform platform = fake.platform();
    START_FAULT(folder);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write .*TEMPO.SPC"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write .*TEMPO.SPC"));
    {
        MainWindow window(state, platform, [] { return createRichTextControl(); });
        window.start();
        QVERIFY(window.close());
    }
    QCOMPARE(fake.messages.asked().size(), 0);
    VERIFY_PREVIOUS_FILE(folder, "TEMPO.SPC", before);
}

QTEST_MAIN(tst_DataSafety)
#include "tst_datasafety.moc"
