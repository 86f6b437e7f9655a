#include "richtext/richtextfactory.h"
#include "symbols/symbolinserter.h"
#include "symbols/symboltable.h"

#include <QStandardPaths>
#include <QTest>

namespace {

const SymbolButton &buttonFor(int tab, unsigned char code, const char *font)
{
    for (const SymbolButton &button : SymbolTable::buttons()) {
        if (button.tab == tab && button.code == code && button.fontName == QLatin1String(font))
            return button;
    }
    qFatal("no such button");
}

// A caret after "ab" in 14-point bold red Times text.
std::unique_ptr<RichTextControl> timesText()
{
    auto text = createRichTextControl();
    text->setSelFontName(QStringLiteral("Times New Roman"));
    text->setSelFontSize(14);
    text->setSelBold(true);
    text->setSelColor(qRgb(255, 0, 0));
    text->setSelText("ab");
    return text;
}

} // namespace

class tst_SymbolInserter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void symbolAtCaretKeepsFormatAndGivesFontBack();
    void selectionBecomesTheSymbol_data();
    void selectionBecomesTheSymbol();
    void oneClickIsOneUndoStep();
    void mixedFontsGiveTheFirstCharactersFontBack();
};

void tst_SymbolInserter::symbolAtCaretKeepsFormatAndGivesFontBack()
{
    auto text = timesText();
    SymbolInserter(*text).insert(buttonFor(0, 97, "Symbol")); // alpha
    text->setSelText("x");

    QCOMPARE(text->text(), QByteArray("abax"));
    text->setSelection({2, 1});
    QCOMPARE(text->selFontName().valueOr({}), QStringLiteral("Symbol"));
    QCOMPARE(text->selFontSize().valueOr(0), 14.0);
    QCOMPARE(text->selBold().valueOr(false), true);
    QCOMPARE(text->selColor().valueOr(0), qRgb(255, 0, 0));
    text->setSelection({3, 1});
    QCOMPARE(text->selFontName().valueOr({}), QStringLiteral("Times New Roman"));
    QCOMPARE(text->selBold().valueOr(false), true);
}

void tst_SymbolInserter::selectionBecomesTheSymbol_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("font");

    QTest::newRow("less or equal, Symbol") << 1 << 163 << "Symbol";
    // The same byte in Symbol is the arrow extender of "Math II": the font must be Arial.
    QTest::newRow("three quarters, Arial") << 1 << 190 << "Arial";
    QTest::newRow("arrow extender, Symbol") << 2 << 190 << "Symbol";
    QTest::newRow("per mille, Arial") << 1 << 137 << "Arial";
    QTest::newRow("byte 127, Arial") << 2 << 127 << "Arial";
}

void tst_SymbolInserter::selectionBecomesTheSymbol()
{
    QFETCH(int, tab);
    QFETCH(int, code);
    QFETCH(QString, font);

    auto text = createRichTextControl();
    text->setSelFontName(QStringLiteral("Arial"));
    text->setSelText("one two three");
    text->setSelection({4, 9});
    SymbolInserter(*text).insert(buttonFor(tab, uchar(code), qPrintable(font)));

    QCOMPARE(text->text(), QByteArray("one ") + char(code));
    QCOMPARE(text->selection(), (TextRange{5, 0}));
    text->setSelection({4, 1});
    QCOMPARE(text->selFontName().valueOr({}), font);
}

void tst_SymbolInserter::oneClickIsOneUndoStep()
{
    auto text = timesText();
    text->setSelection({0, 2});
    SymbolInserter(*text).insert(buttonFor(1, 163, "Symbol"));
    QCOMPARE(text->text(), QByteArray("\xa3"));
    text->undo();
    QCOMPARE(text->text(), QByteArray("ab"));
    text->setSelection({0, 2});
    QCOMPARE(text->selFontName().valueOr({}), QStringLiteral("Times New Roman"));
}

void tst_SymbolInserter::mixedFontsGiveTheFirstCharactersFontBack()
{
    auto text = createRichTextControl();
    text->setSelFontName(QStringLiteral("Courier New"));
    text->setSelText("ab");
    text->setSelFontName(QStringLiteral("Arial"));
    text->setSelText("cd");
    text->setSelection({1, 2});
    QVERIFY(text->selFontName().isMixed());
    SymbolInserter(*text).insert(buttonFor(0, 98, "Symbol"));
    text->setSelText("x");
    text->setSelection({2, 1});
    QCOMPARE(text->selFontName().valueOr({}), QStringLiteral("Courier New"));
}

QTEST_MAIN(tst_SymbolInserter)
#include "tst_symbolinserter.moc"
