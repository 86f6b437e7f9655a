#include "rtf/cp1252.h"

#include <QTest>

class tst_Cp1252 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void highRange_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        QTest::newRow("euro") << 0x80 << 0x20AC;
        QTest::newRow("undefined 0x81 keeps its C1 point") << 0x81 << 0x81;
        QTest::newRow("oe ligature") << 0x9C << 0x0153;
        QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
        QTest::newRow("nbsp") << 0xA0 << 0xA0;
        QTest::newRow("e acute") << 0xE9 << 0xE9;
        QTest::newRow("bullet") << 0x95 << 0x2022;
    }
    void highRange()
    {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        QCOMPARE(Cp1252::toUnicode(static_cast<unsigned char>(byte)).unicode(), unicode);
        QCOMPARE(Cp1252::fromUnicode(QChar(unicode)), byte);
    }

    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1252::encode(Cp1252::decode(all)), all);
    }

    void unencodableCharactersAreReplaced()
    {
        QCOMPARE(Cp1252::encode(QStringLiteral("a\u03b1b")), QByteArray("a?b"));
        QVERIFY(!Cp1252::canEncode(QStringLiteral("\u03b1")));
        QVERIFY(Cp1252::canEncode(QStringLiteral("\u00e9t\u00e9 \u20ac")));
    }
};

QTEST_APPLESS_MAIN(tst_Cp1252)
#include "tst_cp1252.moc"
