#include "recoveryfixture.h"
#include "shell/documentcontroller.h"

#include <QAction>
#include <QStandardPaths>

class tst_RecoveryTracker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void nothingIsCopiedWhileEverythingIsSaved();
    void aCopyFollowsTheLastChangeByTheQuietTime();
    void typingWithoutAPauseIsCopiedAtTheLongestDelay();
    void aSaveRemovesTheCopyAndTheDocumentIsNeverTouched();
    void aDiscardedTextLosesItsCopy();
    void bothExerciseBuffersHaveTheirCopy();
    void aCopyUnderwayOfASavedTextIsDropped();
};

void tst_RecoveryTracker::nothingIsCopiedWhileEverythingIsSaved()
{
    RecoveryFixture f;
    f.window->exo().setText("loaded, not typed");
    f.at(60000);
    QVERIFY(f.copies().isEmpty());
    QVERIFY(f.tracker.textsAtRisk().isEmpty());
}

void tst_RecoveryTracker::aCopyFollowsTheLastChangeByTheQuietTime()
{
    RecoveryFixture f;
    f.type(QStringLiteral("abc"));
    f.at(4999);
    QVERIFY(f.copies().isEmpty());
    QCOMPARE(f.tracker.nextTickIn(), 1);
    f.at(5000);
    const QList<RecoveryEntry> copies = f.copies();
    QCOMPARE(copies.size(), 1);
    QCOMPARE(copies.first().buffer, RecoveryEntry::document);
    QCOMPARE(copies.first().original, QStringLiteral("SANS NOM"));
    QCOMPARE(f.textOf(copies.first()), QStringLiteral("abc"));
    // Nothing new: no new copy.
    f.at(20000);
    QCOMPARE(f.copies(), copies);
}

void tst_RecoveryTracker::typingWithoutAPauseIsCopiedAtTheLongestDelay()
{
    RecoveryFixture f;
    for (qint64 t = 0; t < 30000; t += 4000) {
        f.now = t;
        f.type(QStringLiteral("x"));
        f.at(t);
        QVERIFY2(f.copies().isEmpty(), qPrintable(QString::number(t)));
    }
    f.type(QStringLiteral("y"));
    f.at(30000);
    QCOMPARE(f.textOf(f.copyOf(RecoveryEntry::document)), QStringLiteral("xxxxxxxxy"));
}

void tst_RecoveryTracker::aSaveRemovesTheCopyAndTheDocumentIsNeverTouched()
{
    RecoveryFixture f;
    const QByteArray original = R"({\rtf1\ansi\pard Cours de chimie\par})";
    const QString path = f.file(QStringLiteral("cours.rtf"), original);
    QVERIFY(f.window->documents().openPath(path));
    f.type(QStringLiteral("Ajout "));
    f.at(5000);
    QCOMPARE(f.copyOf(RecoveryEntry::document).original, path);
    QFile document(path);
    QVERIFY(document.open(QIODevice::ReadOnly));
    QCOMPARE(document.readAll(), original);
    document.close();

    QVERIFY(f.window->documents().save());
    f.at(5000 + RecoveryTracker::pollMs);
    QVERIFY(f.copies().isEmpty());
    QVERIFY(f.folder.leftovers().isEmpty());
}

void tst_RecoveryTracker::aDiscardedTextLosesItsCopy()
{
    RecoveryFixture f;
    f.type(QStringLiteral("brouillon"));
    f.at(5000);
    QCOMPARE(f.copies().size(), 1);
    f.fake.messages.answerNext(MessageAnswer::No); // "Enregistrer modifications ?"
    QVERIFY(f.window->documents().newText());
    f.at(6000);
    QVERIFY(f.copies().isEmpty());
}

void tst_RecoveryTracker::bothExerciseBuffersHaveTheirCopy()
{
    RecoveryFixture f;
    const QString exercise = f.exercise();
    QVERIFY(f.window->openFromCommandLine(exercise));
    QCOMPARE(f.state.currentDocumentPath, f.statementPath());
    f.window->exo().setSelection({0, 0});
    f.type(QStringLiteral("Nouvel "));
    f.window->command(QStringLiteral("az51"))->trigger(); // the correction
    QCOMPARE(f.state.currentDocumentPath, f.correctionPath());
    f.window->exo().setSelection({0, 0});
    f.type(QStringLiteral("Vrai "));
    f.at(5000);

    const RecoveryEntry statement = f.copyOf(RecoveryEntry::statement);
    QCOMPARE(statement.exercise, exercise);
    QCOMPARE(statement.original, f.statementPath());
    QVERIFY(!statement.shown);
    QCOMPARE(f.textOf(statement), QStringLiteral("Nouvel Enonce du fichier"));
    const RecoveryEntry correction = f.copyOf(RecoveryEntry::correction);
    QCOMPARE(correction.original, f.correctionPath());
    QVERIFY(correction.shown);
    QCOMPARE(f.textOf(correction), QStringLiteral("Vrai Corrige du fichier"));
    QVERIFY(f.copyOf(RecoveryEntry::document).file.isEmpty());

    // "Enregistrer" writes both texts: both copies go.
    QVERIFY(f.window->saveDispatcher());
    f.at(6000);
    QVERIFY(f.copies().isEmpty());
}

void tst_RecoveryTracker::aCopyUnderwayOfASavedTextIsDropped()
{
    RecoveryFixture f;
    const QString path =
        f.file(QStringLiteral("long.rtf"), "{\\rtf1\\ansi " + QByteArray("du texte ").repeated(5000) + "}");
    QVERIFY(f.window->documents().openPath(path));
    f.type(QStringLiteral("z"));
    f.tracker.setPieceSize(100);
    f.now = 5000;
    f.tracker.tick();
    QVERIFY(f.tracker.copying());
    QVERIFY(f.window->documents().save());
    f.at(5001);
    QVERIFY(!f.tracker.copying());
    QVERIFY(f.copies().isEmpty());
}

QTEST_MAIN(tst_RecoveryTracker)
#include "tst_recoverytracker.moc"
