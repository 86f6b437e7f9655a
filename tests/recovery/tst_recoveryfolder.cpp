#include "recovery/recoveryfolder.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray copyBytes = R"({\rtf1\ansi\pard du {\b texte}\par})";

RecoveryEntry documentEntry(const QString &file = QStringLiteral("exo-1.rtf"))
{
    RecoveryEntry entry;
    entry.file = file;
    entry.buffer = RecoveryEntry::document;
    entry.original = QStringLiteral("/cours/chimie.rtf");
    entry.shown = true;
    return entry;
}

bool writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList filesIn(const QString &path)
{
    return QDir(path).entryList(QDir::Files, QDir::Name);
}

} // namespace

class tst_RecoveryFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aSecondEditorDoesNotTakeTheFolder();
    void theLockOfADeadProcessIsTakenOver();
    void indexReadsBack();
    void damagedIndexReadsAsNone_data();
    void damagedIndexReadsAsNone();
    void copiesTheIndexDoesNotNameAreStrays();
    void damagedCopyDoesNotRead_data();
    void damagedCopyDoesNotRead();
    void anIndexThatLiesAboutTheSizeIsNotBelieved();
    void settingAsideMovesAndNeverOverwrites();
    void clearKeepsStraysRejectedAndLock();
};

void tst_RecoveryFolder::aSecondEditorDoesNotTakeTheFolder()
{
    QTemporaryDir dir;
    RecoveryFolder first(dir.filePath(QStringLiteral("recovery")));
    RecoveryFolder second(dir.filePath(QStringLiteral("recovery")));
    QVERIFY(first.claim());
    QVERIFY(!second.claim());
    QVERIFY(!second.owned());
    first.release();
    QVERIFY(second.claim());
}

void tst_RecoveryFolder::theLockOfADeadProcessIsTakenOver()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("recovery"));
    QVERIFY(QDir().mkpath(path));
    // A lock as a killed editor leaves it: its process is gone, its file stays.
    QProcess gone;
    gone.start(QStringLiteral("sleep"), {QStringLiteral("0.1")});
    QVERIFY(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    QVERIFY(gone.waitForFinished());
    const QString lockPath = path + QLatin1Char('/') + RecoveryFolder::lockName;
    QByteArray lock;
    {
        QLockFile ours(lockPath);
        QVERIFY(ours.tryLock(0));
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        lock = file.readAll();
    }
    lock = QByteArray::number(deadPid) + lock.mid(lock.indexOf('\n'));
    QVERIFY(writeRaw(lockPath, lock));
    RecoveryFolder folder(path);
    QVERIFY(folder.claim());
}

void tst_RecoveryFolder::indexReadsBack()
{
    RecoveryEntry statement;
    statement.file = QStringLiteral("sujetampon-2.rtf");
    statement.buffer = RecoveryEntry::statement;
    statement.original = QStringLiteral("C:\\exos\\énoncé 1.rtf");
    statement.exercise = QStringLiteral("C:\\exos\\pile.E03");
    statement.time = QDateTime(QDate(2026, 3, 4), QTime(10, 11, 12, 13));
    statement.size = 1234;
    statement.sha256 = "00ff";
    const QList<RecoveryEntry> entries{documentEntry(), statement};
    QCOMPARE(RecoveryIndex::read(RecoveryIndex::write(entries)).value_or(QList<RecoveryEntry>{}), entries);
}

void tst_RecoveryFolder::damagedIndexReadsAsNone_data()
{
    QTest::addColumn<QByteArray>("index");
    const QByteArray good = RecoveryIndex::write({documentEntry()});
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("not JSON") << QByteArray("{\\rtf1 hello}");
    QTest::newRow("another version") << QByteArray(good).replace("\"version\": 1", "\"version\": 7");
    QTest::newRow("a file outside the folder") << QByteArray(good).replace("exo-1.rtf", "../../.bashrc");
    QTest::newRow("an unknown buffer") << QByteArray(good).replace("\"exo\"", "\"tamponrtf\"");
}

void tst_RecoveryFolder::damagedIndexReadsAsNone()
{
    QFETCH(QByteArray, index);
    QVERIFY(!RecoveryIndex::read(index));
}

void tst_RecoveryFolder::copiesTheIndexDoesNotNameAreStrays()
{
    QTemporaryDir dir;
    RecoveryFolder folder(dir.path());
    QVERIFY(folder.claim());
    RecoveryEntry entry = documentEntry();
    QVERIFY(folder.writeCopy(entry, copyBytes));
    QVERIFY(writeRaw(folder.filePath(QStringLiteral("exo-2.rtf")), copyBytes)); // a crash before its index
    QVERIFY(folder.writeIndex({entry}));
    const RecoveryFolder::Leftovers left = folder.leftovers();
    QCOMPARE(left.entries, QList<RecoveryEntry>{entry});
    QCOMPARE(left.strays, QStringList{QStringLiteral("exo-2.rtf")});
    QVERIFY(folder.read(entry).ok());
    QCOMPARE(folder.read(entry).rtf, copyBytes);
}

void tst_RecoveryFolder::damagedCopyDoesNotRead_data()
{
    QTest::addColumn<QByteArray>("onDisk");
    QTest::newRow("truncated") << copyBytes.left(10);
    QTest::newRow("one byte changed") << QByteArray(copyBytes).replace("texte", "texTe");
    QTest::newRow("longer than the index says") << copyBytes + "more";
    QTest::newRow("empty") << QByteArray();
}

void tst_RecoveryFolder::damagedCopyDoesNotRead()
{
    QFETCH(QByteArray, onDisk);
    QTemporaryDir dir;
    RecoveryFolder folder(dir.path());
    RecoveryEntry entry = documentEntry();
    QVERIFY(folder.writeCopy(entry, copyBytes));
    QVERIFY(writeRaw(folder.filePath(entry.file), onDisk));
    const RecoveryFolder::ReadCopy read = folder.read(entry);
    QVERIFY(!read.ok());
    QVERIFY(read.rtf.isEmpty());
}

void tst_RecoveryFolder::anIndexThatLiesAboutTheSizeIsNotBelieved()
{
    QTemporaryDir dir;
    RecoveryFolder folder(dir.path());
    RecoveryEntry entry = documentEntry();
    QVERIFY(folder.writeCopy(entry, copyBytes));
    entry.size = qint64(1) << 50; // nothing is allocated for it
    QVERIFY(!folder.read(entry).ok());
    entry.size = copyBytes.size() - 1;
    QVERIFY(!folder.read(entry).ok());
}

void tst_RecoveryFolder::settingAsideMovesAndNeverOverwrites()
{
    QTemporaryDir dir;
    RecoveryFolder folder(dir.path());
    QVERIFY(writeRaw(folder.filePath(QStringLiteral("exo-1.rtf")), "first"));
    const QString first = folder.setAside(QStringLiteral("exo-1.rtf"));
    QVERIFY(writeRaw(folder.filePath(QStringLiteral("exo-1.rtf")), "second"));
    const QString second = folder.setAside(QStringLiteral("exo-1.rtf"));
    QVERIFY(!first.isEmpty());
    QVERIFY(!second.isEmpty());
    QVERIFY(first != second);
    QCOMPARE(filesIn(folder.rejectedPath()).size(), 2);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("exo-1.rtf"))));
    QFile kept(first);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("first"));
}

void tst_RecoveryFolder::clearKeepsStraysRejectedAndLock()
{
    QTemporaryDir dir;
    RecoveryFolder folder(dir.path());
    QVERIFY(folder.claim());
    RecoveryEntry entry = documentEntry();
    QVERIFY(folder.writeCopy(entry, copyBytes));
    QVERIFY(folder.writeIndex({entry}));
    QVERIFY(writeRaw(folder.filePath(QStringLiteral("stray.rtf")), "?"));
    QVERIFY(writeRaw(folder.filePath(QStringLiteral("old.rtf")), "?"));
    QVERIFY(!folder.setAside(QStringLiteral("old.rtf")).isEmpty());
    folder.clear();
    QCOMPARE(filesIn(folder.path()), (QStringList{QStringLiteral("stray.rtf"), RecoveryFolder::lockName}));
    QCOMPARE(filesIn(folder.rejectedPath()), QStringList{QStringLiteral("old.rtf")});
}

QTEST_GUILESS_MAIN(tst_RecoveryFolder)
#include "tst_recoveryfolder.moc"
