#include "exercise/recordfile.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_RecordFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void numbers_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("zero has a sign position") << 0 << QByteArray(" 0");
        QTest::newRow("positive") << 2 << QByteArray(" 2");
        QTest::newRow("negative") << -1 << QByteArray("-1");
        QTest::newRow("two digits") << 15 << QByteArray(" 15");
    }
    void numbers()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(RecordFile::formatNumber(value), text);
        QCOMPARE(RecordFile::parseNumber(text), double(value));
    }

    void leadingNumberRule_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("no digits") << QByteArray("abc") << 0.0;
        QTest::newRow("empty") << QByteArray() << 0.0;
        QTest::newRow("digits then junk") << QByteArray("  12x3") << 12.0;
    }
    void leadingNumberRule()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(RecordFile::parseNumber(text), value);
    }

    void stringRecordLayout()
    {
        const auto record = RecordFile::encodeString("OUI");
        QVERIFY(record);
        QCOMPARE(record->size(), 128);
        QCOMPARE(record->left(5), QByteArray("\x03\x00OUI", 5));
        QCOMPARE(record->mid(5), QByteArray(123, '\0'));
        QVERIFY(RecordFile::encodeString(QByteArray(126, 'x')));
        QVERIFY(!RecordFile::encodeString(QByteArray(127, 'x')));
    }

    void writeKeepsOtherRecordsAndTail()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("TEMPO.SPC");
        QByteArray before(128 * 7 + 5, 'z');
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        QVERIFY(RecordFile::writeStrings(path, {{5, "NON"}}));
        const QByteArray after = *RecordFile::readAll(path);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.left(512), before.left(512));
        QCOMPARE(after.mid(640), before.mid(640));
        QCOMPARE(RecordFile::decodeString(after, 5), QByteArray("NON"));
    }

    void writeCreatesAndPadsMissingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("new.E01");
        QVERIFY(RecordFile::writeStrings(path, {{5, "OUI"}}));
        const QByteArray bytes = *RecordFile::readAll(path);
        QCOMPARE(bytes.size(), 5 * 128);
        QCOMPARE(bytes.left(512), QByteArray(512, '\0'));
        QCOMPARE(RecordFile::decodeString(bytes, 5), QByteArray("OUI"));
    }

    void tooLongStringWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ex.E01");
        QVERIFY(RecordFile::writeStrings(path, {{1, "a"}, {2, "b"}}));
        const QByteArray before = *RecordFile::readAll(path);
        QVERIFY(!RecordFile::writeStrings(path, {{1, "new"}, {3, QByteArray(127, 'x')}}));
        QCOMPARE(*RecordFile::readAll(path), before);
    }

    void readingPastTheEndGivesEmptyStrings()
    {
        const QByteArray shortFile = *RecordFile::encodeString("abc");
        QCOMPARE(RecordFile::decodeString(shortFile, 1), QByteArray("abc"));
        QCOMPARE(RecordFile::decodeString(shortFile, 2), QByteArray());
        QByteArray lying = shortFile;
        lying[0] = char(0xFF); // claims 255 bytes
        QCOMPARE(RecordFile::decodeString(lying, 1).size(), 126);
    }
};

QTEST_APPLESS_MAIN(tst_RecordFile)
#include "tst_recordfile.moc"
