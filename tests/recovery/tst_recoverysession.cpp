#include "mainwindowfixture.h"
#include "recovery/recoverysession.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_RecoverySession : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void delaysFromTheEnvironment_data();
    void delaysFromTheEnvironment();
    void aCleanQuitTakesTheCopiesAndFreesTheFolder();
    void anEditorWithoutTheFolderKeepsNoCopies();
};

void tst_RecoverySession::delaysFromTheEnvironment_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<qint64>("quiet");
    QTest::addColumn<qint64>("longest");
    QTest::newRow("unset: 5 s and 30 s") << QByteArray() << qint64(5000) << qint64(30000);
    QTest::newRow("shortened for a test") << QByteArray("300, 3000") << qint64(300) << qint64(3000);
    QTest::newRow("longest under quiet: ignored") << QByteArray("3000,300") << qint64(5000) << qint64(30000);
    QTest::newRow("negative: ignored") << QByteArray("-1,300") << qint64(5000) << qint64(30000);
    QTest::newRow("not numbers: ignored") << QByteArray("vite,lent") << qint64(5000) << qint64(30000);
    QTest::newRow("one number: ignored") << QByteArray("300") << qint64(5000) << qint64(30000);
}

void tst_RecoverySession::delaysFromTheEnvironment()
{
    QFETCH(QByteArray, value);
    QFETCH(qint64, quiet);
    QFETCH(qint64, longest);
    if (value.isEmpty())
        qunsetenv("VELIGRAM_RECOVERY_DELAYS");
    else
        qputenv("VELIGRAM_RECOVERY_DELAYS", value);
    const RecoverySession::Settings settings = RecoverySession::Settings::fromEnvironment();
    qunsetenv("VELIGRAM_RECOVERY_DELAYS");
    QCOMPARE(settings.quietMs, quiet);
    QCOMPARE(settings.longestMs, longest);
}

namespace {

// A recovery folder in `dir`, with copies written as soon as a text changes.
RecoverySession::Settings immediateCopies(const QTemporaryDir &dir)
{
    RecoverySession::Settings settings;
    settings.folder = dir.filePath(QStringLiteral("recovery"));
    settings.quietMs = 0;
    settings.longestMs = 0;
    return settings;
}

} // namespace

void tst_RecoverySession::aCleanQuitTakesTheCopiesAndFreesTheFolder()
{
    MainWindowFixture f;
    QTemporaryDir dir;
    const RecoverySession::Settings settings = immediateCopies(dir);
    RecoverySession session(
        settings, f.state, f.fake.messages, *f.window, [&f] { return f.window->exercisePath(); },
        [&f](const QString &path) { return f.window->openFromCommandLine(path); });
    QVERIFY(!session.askAtStart()); // nothing left: nothing asked
    session.begin(false);
    QVERIFY(session.active());
    QTest::keyClicks(f.exo().widget(), QStringLiteral("abc"));
    QTRY_VERIFY(!session.folder().leftovers().entries.isEmpty());

    session.end();
    QVERIFY(session.folder().leftovers().isEmpty());
    RecoveryFolder next(settings.folder);
    QVERIFY(next.claim());
}

void tst_RecoverySession::anEditorWithoutTheFolderKeepsNoCopies()
{
    MainWindowFixture f;
    QTemporaryDir dir;
    const RecoverySession::Settings settings = immediateCopies(dir);
    RecoveryFolder first(settings.folder);
    QVERIFY(first.claim());
    RecoverySession session(settings, f.state, f.fake.messages, *f.window, {}, {});
    QVERIFY(!session.askAtStart());
    session.begin(false);
    QVERIFY(!session.active());
    QTest::keyClicks(f.exo().widget(), QStringLiteral("abc"));
    QTest::qWait(300);
    session.end();
    QCOMPARE(QDir(settings.folder).entryList(QDir::Files), QStringList{RecoveryFolder::lockName});
    QVERIFY(first.owned());
}

QTEST_MAIN(tst_RecoverySession)
#include "tst_recoverysession.moc"
