#include "rtf/symbolencoding.h"

#include <QTest>

class tst_SymbolEncoding : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void knownCharacters_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        QTest::newRow("Symbol a is alpha") << "Symbol" << 0x61 << 0x03B1;
        QTest::newRow("Symbol D is Delta") << "Symbol" << 0x44 << 0x0394;
        QTest::newRow("Symbol W is Omega") << "Symbol" << 0x57 << 0x03A9;
        QTest::newRow("Symbol digits stay digits") << "Symbol" << 0x32 << 0x32;
        QTest::newRow("Symbol minus") << "Symbol" << 0x2D << 0x2212;
        QTest::newRow("Symbol right arrow") << "Symbol" << 0xAE << 0x2192;
        QTest::newRow("Symbol bullet") << "Symbol" << 0xB7 << 0x2022;
        QTest::newRow("Symbol integral") << "Symbol" << 0xF2 << 0x222B;
        QTest::newRow("Symbol font name case is ignored") << "symbol" << 0x70 << 0x03C0;
        QTest::newRow("Wingdings check mark") << "Wingdings" << 0xFC << 0x2714;
        QTest::newRow("Wingdings circled one") << "Wingdings" << 0x81 << 0x2460;
        QTest::newRow("Wingdings black circle") << "Wingdings" << 0x6C << 0x25CF;
    }
    void knownCharacters()
    {
        QFETCH(QString, font);
        QFETCH(int, byte);
        QFETCH(int, unicode);
        QCOMPARE(SymbolEncoding::toUnicode(font, uchar(byte)).unicode(), unicode);
        QCOMPARE(SymbolEncoding::fromUnicode(font, QChar(unicode)), byte);
    }

    void everyByteRoundTrips_data()
    {
        QTest::addColumn<QString>("font");
        QTest::newRow("Symbol") << "Symbol";
        QTest::newRow("Wingdings") << "Wingdings";
        QTest::newRow("Webdings, no table") << "Webdings";
    }
    void everyByteRoundTrips()
    {
        // The byte is the text; display characters shared by two bytes would lose one of them,
        // so the reverse must at least give a byte showing the same character.
        QFETCH(QString, font);
        for (int b = 0; b < 256; ++b) {
            const QChar shown = SymbolEncoding::toUnicode(font, uchar(b));
            const int back = SymbolEncoding::fromUnicode(font, shown);
            QVERIFY2(back >= 0, qPrintable(QString::number(b, 16)));
            QCOMPARE(SymbolEncoding::toUnicode(font, uchar(back)), shown);
            QVERIFY2(!shown.isSurrogate(), "one text position per byte");
        }
    }

    void latinLettersAreNotInSymbol() { QCOMPARE(SymbolEncoding::fromUnicode("Symbol", QChar(u'a')), -1); }

    void symbolFonts_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<bool>("symbol");
        QTest::newRow("Symbol") << "Symbol" << true;
        QTest::newRow("Wingdings") << "Wingdings" << true;
        QTest::newRow("Wingdings 2") << "Wingdings 2" << true;
        QTest::newRow("Wingdings 3") << "Wingdings 3" << true;
        QTest::newRow("Webdings") << "Webdings" << true;
        QTest::newRow("MT Extra") << "MT Extra" << true;
        QTest::newRow("Marlett") << "Marlett" << true;
        QTest::newRow("trailing space") << "Symbol " << true;
        QTest::newRow("Arial") << "Arial" << false;
        QTest::newRow("Symbola is Unicode") << "Symbola" << false;
        QTest::newRow("empty") << "" << false;
    }
    void symbolFonts()
    {
        QFETCH(QString, font);
        QFETCH(bool, symbol);
        QCOMPARE(SymbolEncoding::isSymbolFont(font), symbol);
    }
};

QTEST_APPLESS_MAIN(tst_SymbolEncoding)
#include "tst_symbolencoding.moc"
