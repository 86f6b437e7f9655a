#include "symbols/glyphfont.h"
#include "symbols/palettebackground.h"
#include "symbols/symbolpalette.h"
#include "symbols/symboltable.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QRawFont>
#include <QStandardPaths>
#include <QTest>

namespace {

bool installedUsableFontHas(QChar c)
{
    for (const QString &family : QFontDatabase::families()) {
        QFont font(family);
        font.setStyleStrategy(QFont::NoFontMerging);
        if (GlyphFont::isUsableForUnicode(family) && QRawFont::fromFont(font).supportsCharacter(c))
            return true;
    }
    return false;
}

} // namespace

class tst_SymbolPalette : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void table_data();
    void table();
    void everyCellHasOneButton();
    void tabsAndButtons();
    void captionsAndSizeAtStartUp();
    void glyphFonts_data();
    void glyphFonts();
    void backgroundBands_data();
    void backgroundBands();
    void clicksReachTheHandlers();
};

void tst_SymbolPalette::table_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("glyph");

    QTest::newRow("Grec: alpha top left") << 0 << 0 << 0 << 97 << "Symbol"
                                          << "α";
    QTest::newRow("Grec: phi, the open form") << 0 << 5 << 1 << 106 << "Symbol"
                                              << "ϕ";
    QTest::newRow("Grec: Omega bottom right") << 0 << 8 << 2 << 87 << "Symbol"
                                              << "Ω";
    QTest::newRow("Math I: three quarters in Arial") << 0 + 1 << 0 << 2 << 190 << "Arial"
                                                     << "¾";
    QTest::newRow("Math I: less or equal") << 1 << 2 << 0 << 163 << "Symbol"
                                           << "≤";
    QTest::newRow("Math I: per mille") << 1 << 1 << 2 << 137 << "Arial"
                                       << "‰";
    QTest::newRow("Math I: congruent") << 1 << 4 << 0 << 64 << "Symbol"
                                       << "≅";
    QTest::newRow("Math I: em dash") << 1 << 7 << 0 << 151 << "Arial"
                                     << "—";
    QTest::newRow("Math I: infinity") << 1 << 8 << 2 << 165 << "Symbol"
                                      << "∞";
    QTest::newRow("Math II: up arrow") << 2 << 0 << 1 << 173 << "Symbol"
                                       << "↑";
    QTest::newRow("Math II: horizontal extender") << 2 << 2 << 0 << 190 << "Symbol"
                                                  << "⎯";
    QTest::newRow("Math II: vertical extender") << 2 << 2 << 2 << 189 << "Symbol"
                                                << "⏐";
    QTest::newRow("Math II: Arial bullet") << 2 << 7 << 0 << 149 << "Arial"
                                           << "•";
    QTest::newRow("Math II: carriage return") << 2 << 8 << 2 << 191 << "Symbol"
                                              << "↵";
}

void tst_SymbolPalette::table()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, code);
    QFETCH(QString, font);
    QFETCH(QString, glyph);

    const SymbolButton *found = nullptr;
    for (const SymbolButton &button : SymbolTable::buttons()) {
        if (button.tab == tab && button.row == row && button.column == column)
            found = &button;
    }
    QVERIFY(found);
    QCOMPARE(int(found->code), code);
    QCOMPARE(found->fontName, font);
    QCOMPARE(QString(found->glyph()), glyph);
}

void tst_SymbolPalette::everyCellHasOneButton()
{
    // 27 + 27 on the first two tabs; "Math II" has 6 empty cells and the arrows row.
    QCOMPARE(SymbolTable::buttons().size(), 27 + 27 + 18);
    QSet<int> indices;
    for (const SymbolButton &button : SymbolTable::buttons()) {
        QVERIFY(button.index >= 0 && button.index <= 98);
        indices.insert(button.index);
    }
    QCOMPARE(indices.size(), SymbolTable::buttons().size());
}

void tst_SymbolPalette::tabsAndButtons()
{
    SymbolPalette palette;
    QCOMPARE(palette.objectName(), QStringLiteral("SSTab1"));
    QCOMPARE(palette.count(), 3);
    QCOMPARE(palette.tabText(0), QStringLiteral("Grec"));
    QCOMPARE(palette.tabText(1), QStringLiteral("Math I"));
    QCOMPARE(palette.tabText(2), QStringLiteral("Math II"));
    QCOMPARE(palette.currentIndex(), 0);
    QCOMPARE(palette.size(), QSize(153, 425));
    for (int tab = 0; tab < 3; ++tab)
        QCOMPARE(palette.widget(tab)->objectName(), QStringLiteral("Picture%1").arg(tab + 1));

    for (const SymbolButton &entry : SymbolTable::buttons()) {
        QAbstractButton *button = palette.findChild<QAbstractButton *>(entry.objectName());
        QVERIFY2(button, qPrintable(entry.objectName()));
        QCOMPARE(button->parentWidget(), palette.widget(entry.tab));
        QCOMPARE(button->geometry(), QRect(16 + 40 * entry.column, 24 + 40 * entry.row, 33, 33));
        if (entry.code != 127)
            QCOMPARE(button->accessibleName(), QString(entry.glyph()));
    }
    QAbstractButton *arrows = palette.findChild<QAbstractButton *>(QStringLiteral("des01"));
    QVERIFY(arrows);
    QCOMPARE(arrows->parentWidget(), palette.widget(2));
    QCOMPARE(arrows->geometry(), QRect(16, 148, 113, 23));
    QVERIFY(!arrows->accessibleName().isEmpty());
    QCOMPARE(arrows->iconSize(), QSize(55, 13));
}

void tst_SymbolPalette::captionsAndSizeAtStartUp()
{
    SymbolPalette palette;
    const QList<int> setAtLoad{137, 140, 149, 150, 151, 156};
    for (const SymbolButton &entry : SymbolTable::buttons()) {
        const bool late = entry.fontName == QLatin1String("Arial") && setAtLoad.contains(entry.code);
        QCOMPARE(palette.button(entry.index)->text().isEmpty(), late);
    }
    palette.prepareButtons(12);
    for (const SymbolButton &entry : SymbolTable::buttons()) {
        QAbstractButton *button = palette.button(entry.index);
        QCOMPARE(button->text(), QString(entry.shown()));
        QCOMPARE(button->font().pointSizeF(), 12.0);
    }
}

void tst_SymbolPalette::glyphFonts_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("usable");

    // A font called Symbol, wherever it comes from, holds its glyphs at private code points
    // (a real one) or is answered by fontconfig with another font: never show a button in it.
    QTest::newRow("real Symbol font") << "Symbol" << false;
    QTest::newRow("URW substitute") << "Standard Symbols PS" << false;
    QTest::newRow("URW dingbats") << "D050000L" << false;
    QTest::newRow("Wingdings") << "Wingdings" << false;
    QTest::newRow("DejaVu Sans") << "DejaVu Sans" << true;
    QTest::newRow("Arial") << "Arial" << true;
}

void tst_SymbolPalette::glyphFonts()
{
    QFETCH(QString, family);
    QFETCH(bool, usable);
    QCOMPARE(GlyphFont::isUsableForUnicode(family), usable);

    // Whatever fonts this machine has (no Symbol, the URW substitute or a real one), every
    // button is drawn in a usable font, one that really has the glyph when any installed has.
    SymbolPalette palette;
    palette.prepareButtons(12);
    for (const SymbolButton &entry : SymbolTable::buttons()) {
        if (entry.code == 127)
            continue;
        const QFont font = palette.button(entry.index)->font();
        QVERIFY2(GlyphFont::isUsableForUnicode(font.family()), qPrintable(font.family()));
        QFont exact = font;
        exact.setStyleStrategy(QFont::NoFontMerging);
        const QRawFont raw = QRawFont::fromFont(exact);
        if (installedUsableFontHas(entry.glyph()))
            QVERIFY2(raw.supportsCharacter(entry.glyph()),
                     qPrintable(QStringLiteral("%1 in %2").arg(entry.glyph()).arg(font.family())));
    }
}

void tst_SymbolPalette::backgroundBands_data()
{
    QTest::addColumn<int>("palette");
    QTest::addColumn<int>("y");
    QTest::addColumn<QColor>("colour");

    // 398 pixels high: d runs from 190 at the top to 100 at the bottom.
    QTest::newRow("Grec top") << 0 << 0 << QColor(193, 190, 190);
    QTest::newRow("Grec bottom") << 0 << 398 << QColor(193, 100, 100);
    QTest::newRow("Math I middle") << 1 << 199 << QColor(145, 193, 193);
    QTest::newRow("Math II bottom") << 2 << 398 << QColor(100, 100, 193);
}

void tst_SymbolPalette::backgroundBands()
{
    QFETCH(int, palette);
    QFETCH(int, y);
    QFETCH(QColor, colour);
    QCOMPARE(PaletteBackground::bandColour(palette, y, 398), colour);

    PaletteBackground box(palette);
    box.resize(146, 399);
    const QImage shown = box.grab().toImage();
    QCOMPARE(shown.pixelColor(70, y), colour);
}

void tst_SymbolPalette::clicksReachTheHandlers()
{
    SymbolPalette palette;
    int clickedCode = -1;
    int arrows = 0;
    palette.onSymbolClicked([&](const SymbolButton &button) { clickedCode = button.code; });
    palette.onArrowsClicked([&] { ++arrows; });
    palette.findChild<QAbstractButton *>(QStringLiteral("Command1(0)"))->click();
    QCOMPARE(clickedCode, 97);
    palette.findChild<QAbstractButton *>(QStringLiteral("des01"))->click();
    QCOMPARE(arrows, 1);
}

QTEST_MAIN(tst_SymbolPalette)
#include "tst_symbolpalette.moc"
