#include "recovery/recoverystart.h"
#include "recoveryfixture.h"
#include "shell/documentcontroller.h"

#include <QStandardPaths>

namespace {

const QByteArray boldCopy = R"({\rtf1\ansi\pard Texte {\b en gras} perdu\par})";

} // namespace

// What a previous run left in the folder, and the start that finds it.
struct StartFixture : RecoveryFixture
{
    RecoveryStart start{folder, fake.messages};

    RecoveryEntry leave(const QString &buffer, const QString &original, const QByteArray &rtf,
                        const QString &exercise = {}, bool shown = false)
    {
        RecoveryEntry entry;
        entry.file = buffer + QStringLiteral("-left.rtf");
        entry.buffer = buffer;
        entry.original = original;
        entry.exercise = exercise;
        entry.shown = shown;
        if (!folder.writeCopy(entry, rtf))
            qWarning("cannot leave a copy");
        left.append(entry);
        if (!folder.writeIndex(left))
            qWarning("cannot write the index");
        return entry;
    }
    QList<RecoveryEntry> restore()
    {
        return start.restore(state, *window,
                             [this](const QString &path) { return window->openFromCommandLine(path); });
    }
    QStringList rejected() const { return QDir(folder.rejectedPath()).entryList(QDir::Files); }
    QList<RecoveryEntry> left;
};

class tst_RecoveryStart : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void nothingLeftAsksNothing();
    void yesReopensTheDocumentUnderItsPath_data();
    void yesReopensTheDocumentUnderItsPath();
    void noRemovesTheCopies();
    void anUnreadableCopyIsSetAsideAndNamed_data();
    void anUnreadableCopyIsSetAsideAndNamed();
    void yesReopensTheExerciseWithBothTexts();
    void anExerciseTextWhoseExerciseIsGoneOpensOnItsOwn();
    void theTrackerGoesOnWithTheRecoveredCopies();
};

void tst_RecoveryStart::nothingLeftAsksNothing()
{
    StartFixture f;
    QVERIFY(!f.start.ask());
    QVERIFY(f.fake.messages.asked().isEmpty());
}

void tst_RecoveryStart::yesReopensTheDocumentUnderItsPath_data()
{
    QTest::addColumn<QString>("original");
    QTest::newRow("a new text") << QStringLiteral("SANS NOM");
    QTest::newRow("an opened file") << QStringLiteral("/cours/chimie.rtf");
}

void tst_RecoveryStart::yesReopensTheDocumentUnderItsPath()
{
    QFETCH(QString, original);
    StartFixture f;
    f.leave(RecoveryEntry::document, original, boldCopy);
    f.fake.messages.answerNext(MessageAnswer::Yes);
    QVERIFY(f.start.ask());
    const MessageRequest asked = f.fake.messages.asked().value(0);
    QCOMPARE(asked.text, QStringLiteral("Veligram s'est arrêté sans enregistrer vos dernières modifications. "
                                        "Voulez-vous récupérer les textes non enregistrés ?"));
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(asked.icon, MessageIcon::Question);

    QCOMPARE(f.restore().size(), 1);
    RichTextControl &exo = f.window->exo();
    QCOMPARE(exo.text(), QByteArray("Texte en gras perdu"));
    exo.setSelection({6, 7});
    QVERIFY(exo.selBold() == true);
    QCOMPARE(f.state.currentDocumentPath, original);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("VELIGRAM - ") + original);
    QCOMPARE(f.state.documentSaved, int16_t(0)); // marked modified: the close guard asks
    QCOMPARE(f.copies().size(), 1);              // until the text is saved
}

void tst_RecoveryStart::noRemovesTheCopies()
{
    StartFixture f;
    f.leave(RecoveryEntry::document, QStringLiteral("SANS NOM"), boldCopy);
    f.fake.messages.answerNext(MessageAnswer::No);
    QVERIFY(!f.start.ask());
    QVERIFY(f.folder.leftovers().isEmpty());
    QCOMPARE(f.state.documentSaved, int16_t(1));
    QVERIFY(f.window->exo().text().isEmpty());
}

void tst_RecoveryStart::anUnreadableCopyIsSetAsideAndNamed_data()
{
    QTest::addColumn<QByteArray>("damage");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("truncated, Oui") << QByteArray(R"({\rtf1\ansi\pard Tex)") << MessageAnswer::Yes;
    QTest::newRow("truncated, Non") << QByteArray(R"({\rtf1\ansi\pard Tex)") << MessageAnswer::No;
    QTest::newRow("foreign bytes") << QByteArray("\x89PNG\r\n\x1a\n", 8) << MessageAnswer::Yes;
}

void tst_RecoveryStart::anUnreadableCopyIsSetAsideAndNamed()
{
    QFETCH(QByteArray, damage);
    QFETCH(MessageAnswer, answer);
    StartFixture f;
    const RecoveryEntry damaged = f.leave(RecoveryEntry::document, QStringLiteral("/cours/a.rtf"), boldCopy);
    QFile file(f.folder.filePath(damaged.file));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(damage);
    file.close();

    f.fake.messages.answerNext(answer);
    f.fake.messages.answerNext(MessageAnswer::Ok);
    QVERIFY(!f.start.ask());
    QCOMPARE(f.fake.messages.asked().size(), 2);
    const MessageRequest report = f.fake.messages.asked().at(1);
    QCOMPARE(report.icon, MessageIcon::Exclamation);
    QVERIFY2(report.text.contains(damaged.file), qPrintable(report.text));
    QVERIFY2(report.text.contains(QStringLiteral("/cours/a.rtf")), qPrintable(report.text));
    QCOMPARE(f.rejected(), QStringList{damaged.file});
    QFile kept(f.folder.rejectedPath() + QLatin1Char('/') + damaged.file);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), damage); // as it was: never deleted, never rewritten
    QVERIFY(f.window->exo().text().isEmpty());
}

void tst_RecoveryStart::yesReopensTheExerciseWithBothTexts()
{
    StartFixture f;
    const QString exercise = f.exercise();
    f.leave(RecoveryEntry::statement, f.statementPath(), R"({\rtf1\ansi\pard Enonce {\i repris}\par})",
            exercise);
    f.leave(RecoveryEntry::correction, f.correctionPath(), R"({\rtf1\ansi\pard Corrige repris\par})",
            exercise, true);
    f.fake.messages.answerNext(MessageAnswer::Yes);
    QVERIFY(f.start.ask());
    QCOMPARE(f.restore().size(), 2);
    QCOMPARE(f.window->exercisePath(), exercise);
    QCOMPARE(f.window->sujetampon().text(), QByteArray("Enonce repris"));
    QCOMPARE(f.window->corectampon().text(), QByteArray("Corrige repris"));
    // exo shows the text it showed when the run stopped.
    QCOMPARE(f.state.currentDocumentPath, f.correctionPath());
    QCOMPARE(f.window->exo().text(), QByteArray("Corrige repris"));
    QCOMPARE(f.state.documentSaved, int16_t(0));
    // "Enregistrer" writes each text where it belongs.
    QVERIFY(f.window->saveDispatcher());
    QFile statement(f.statementPath());
    QVERIFY(statement.open(QIODevice::ReadOnly));
    QVERIFY(statement.readAll().contains("repris"));
}

void tst_RecoveryStart::anExerciseTextWhoseExerciseIsGoneOpensOnItsOwn()
{
    StartFixture f;
    const QString gone = QDir::toNativeSeparators(f.dir.filePath(QStringLiteral("parti.E01")));
    f.leave(RecoveryEntry::statement, f.statementPath(), boldCopy, gone);
    f.fake.messages.answerNext(MessageAnswer::Yes);
    QVERIFY(f.start.ask());
    const QList<RecoveryEntry> placed = f.restore();
    QCOMPARE(placed.size(), 1);
    QCOMPARE(placed.first().buffer, RecoveryEntry::document);
    QCOMPARE(f.state.currentDocumentPath, f.statementPath());
    QCOMPARE(f.window->exo().text(), QByteArray("Texte en gras perdu"));
    QVERIFY(f.window->exercisePath().isEmpty());
}

void tst_RecoveryStart::theTrackerGoesOnWithTheRecoveredCopies()
{
    StartFixture f;
    f.leave(RecoveryEntry::document, QStringLiteral("SANS NOM"), boldCopy);
    f.fake.messages.answerNext(MessageAnswer::Yes);
    QVERIFY(f.start.ask());
    f.tracker.adopt(f.restore());
    f.at(60000);
    QCOMPARE(f.copies().size(), 1);
    // Given up at a prompt: its copy goes.
    f.fake.messages.answerNext(MessageAnswer::No);
    QVERIFY(f.window->documents().newText());
    f.at(61000);
    QVERIFY(f.folder.leftovers().isEmpty());
}

QTEST_MAIN(tst_RecoveryStart)
#include "tst_recoverystart.moc"
