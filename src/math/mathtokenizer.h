#pragma once

#include "math/mathsymbols.h"

#include <QList>
#include <QString>

struct MathToken
{
    enum class Type : quint8 {
        Number,    // digits with at most one decimal separator each time: 9,81 or 3.14
        Letters,   // a run of letters; the parser splits it unless it is a unit or a script label
        Symbol,    // a name or sign from the symbol table
        Text,      // "quoted words"
        Sub,       // _
        Sup,       // ^
        Slash,     // /
        Chemistry, // \ce{...}: the text between the braces, read by the chemistry reader
        Other,     // any other character, shown as an operator
    };
    Type type = Type::Other;
    bool spaceBefore = false;
    bool latex = false; // typed with a backslash: \sqrt[3]{x} takes an index
    const MathSymbol *symbol = nullptr;
    QString text;
    qsizetype position = 0; // where the token starts in the input
    qsizetype end = 0;      // just after it
};

// Cuts linear text into tokens in one pass; never fails: anything unknown is an Other token.
class MathTokenizer
{
public:
    static QList<MathToken> tokenize(const QString &input);
    // The symbols and single letters a run of letters reads as, longest name first (AsciiMath's
    // rule): "sint" is sin, t; "mgh" is m, g, h.
    static QList<MathToken> splitLetters(const MathToken &letters);
};
