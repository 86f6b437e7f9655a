#include "symboltable.h"

#include "rtf/cp1252.h"
#include "rtf/symbolencoding.h"
#include "rtf/symbolglyphs.h"

#include <QCoreApplication>

namespace {

const QString kSymbol = QStringLiteral("Symbol");
const QString kArial = QStringLiteral("Arial");

struct Cell
{
    int code; // 0: no button in this cell
    bool symbol;
};

constexpr Cell S(int code)
{
    return {code, true};
}
constexpr Cell A(int code)
{
    return {code, false};
}
constexpr Cell none{0, false};

// Three columns by nine rows per tab. Row 4 of "Math II" is the arrows button `des01`.
constexpr Cell kGrid[3][9][3] = {
    {
        {S(97), S(98), S(103)},
        {S(100), S(101), S(122)},
        {S(104), S(113), S(108)},
        {S(109), S(117), S(120)},
        {S(112), S(114), S(115)},
        {S(116), S(106), S(99)},
        {S(121), S(119), S(71)},
        {S(68), S(80), S(83)},
        {S(70), S(89), S(87)},
    },
    {
        {A(188), A(189), A(190)},
        {S(206), S(207), A(137)},
        {S(163), S(179), A(186)},
        {S(185), S(187), A(185)},
        {S(64), S(186), A(178)},
        {A(247), A(215), A(179)},
        {S(34), S(36), A(177)},
        {A(151), A(150), S(214)},
        {A(156), A(140), S(165)},
    },
    {
        {none, S(173), none},
        {S(172), S(171), S(174)},
        {S(190), S(175), S(189)},
        {none, none, none},
        {none, S(221), none},
        {S(220), S(219), S(222)},
        {none, S(223), none},
        {A(149), S(183), S(168)},
        {S(242), A(127), S(191)},
    },
};

QList<SymbolButton> buildButtons()
{
    QList<SymbolButton> buttons;
    for (int tab = 0; tab < 3; ++tab) {
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 3; ++column) {
                const Cell &cell = kGrid[tab][row][column];
                if (cell.code == 0)
                    continue;
                SymbolButton button;
                button.index = tab * 27 + row * 3 + column;
                button.tab = tab;
                button.row = row;
                button.column = column;
                button.code = static_cast<unsigned char>(cell.code);
                button.fontName = cell.symbol ? kSymbol : kArial;
                buttons.append(button);
            }
        }
    }
    return buttons;
}

} // namespace

QChar SymbolButton::glyph() const
{
    if (SymbolEncoding::isSymbolFont(fontName))
        return SymbolEncoding::toUnicode(fontName, code);
    return Cp1252::toUnicode(code);
}

QChar SymbolButton::shown() const
{
    if (SymbolEncoding::isSymbolFont(fontName))
        return SymbolGlyphs::glyph(fontName, code).text.at(0);
    if (code == 127)
        return QChar(0x2302);
    return glyph();
}

QString SymbolButton::objectName() const
{
    return QStringLiteral("Command1(%1)").arg(index);
}

const QList<SymbolButton> &SymbolTable::buttons()
{
    static const QList<SymbolButton> table = buildButtons();
    return table;
}

const SymbolButton *SymbolTable::find(int index)
{
    for (const SymbolButton &button : buttons()) {
        if (button.index == index)
            return &button;
    }
    return nullptr;
}

QStringList SymbolTable::tabCaptions()
{
    return {QCoreApplication::translate("SymbolPalette", "Grec"),
            QCoreApplication::translate("SymbolPalette", "Math I"),
            QCoreApplication::translate("SymbolPalette", "Math II")};
}
