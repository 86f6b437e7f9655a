#include "exercise/recordfile.h"
#include "shell/statefile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_StateFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void pathHasOneSeparator_data();
    void pathHasOneSeparator();
    void createdWhenMissing();
    void onlyRecordFiveChanges();
    void readOnlyFolderIsNotAnError();
    void missingFolderIsNotAnError();
};

void tst_StateFile::pathHasOneSeparator_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("path");
    QTest::newRow("folder") << "/opt/veligram" << QDir::toNativeSeparators("/opt/veligram/TEMPO.SPC");
    QTest::newRow("folder with separator")
        << "/opt/veligram/" << QDir::toNativeSeparators("/opt/veligram/TEMPO.SPC");
    QTest::newRow("root") << "/" << QDir::toNativeSeparators("/TEMPO.SPC");
}

void tst_StateFile::pathHasOneSeparator()
{
    QFETCH(QString, directory);
    QFETCH(QString, path);
    QCOMPARE(StateFile(QDir::toNativeSeparators(directory)).path(), path);
}

void tst_StateFile::createdWhenMissing()
{
    QTemporaryDir folder;
    const StateFile stateFile(QDir::toNativeSeparators(folder.path()));
    QVERIFY(stateFile.markOpen());
    const auto bytes = RecordFile::readAll(stateFile.path());
    QVERIFY(bytes);
    QCOMPARE(bytes->size(), 5 * RecordFile::recordSize);
    QCOMPARE(RecordFile::decodeString(*bytes, 5), QByteArray("OUI"));

    QVERIFY(stateFile.markClosed());
    QCOMPARE(RecordFile::decodeString(*RecordFile::readAll(stateFile.path()), 5), QByteArray("NON"));
}

void tst_StateFile::onlyRecordFiveChanges()
{
    QTemporaryDir folder;
    const StateFile stateFile(QDir::toNativeSeparators(folder.path()));
    QByteArray before(7 * RecordFile::recordSize, '\0');
    for (int i = 0; i < before.size(); ++i)
        before[i] = char(i % 251);
    QFile file(stateFile.path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();

    QVERIFY(stateFile.markOpen());
    const QByteArray after = *RecordFile::readAll(stateFile.path());
    QCOMPARE(after.size(), before.size());
    const int start = 4 * RecordFile::recordSize;
    QCOMPARE(after.left(start), before.left(start));
    QCOMPARE(after.mid(start + RecordFile::recordSize), before.mid(start + RecordFile::recordSize));
    QCOMPARE(RecordFile::decodeString(after, 5), QByteArray("OUI"));
}

void tst_StateFile::readOnlyFolderIsNotAnError()
{
    QTemporaryDir folder;
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    const StateFile stateFile(QDir::toNativeSeparators(folder.path()));
    const bool written = stateFile.markOpen();
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (written)
        QSKIP("the file system lets this user write into a read-only folder (running as root)");
    QVERIFY(!QFile::exists(stateFile.path()));
}

void tst_StateFile::missingFolderIsNotAnError()
{
    QTemporaryDir folder;
    const StateFile stateFile(QDir::toNativeSeparators(folder.filePath("gone")));
    QVERIFY(!stateFile.markOpen());
    QVERIFY(!stateFile.markClosed());
}

QTEST_APPLESS_MAIN(tst_StateFile)
#include "tst_statefile.moc"
