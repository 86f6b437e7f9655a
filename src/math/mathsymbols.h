#pragma once

#include "math/mathnode.h"

#include <QStringView>

// The names a teacher types, as AsciiMath documents them plus the LaTeX spellings
// (\alpha, \times, \frac…), and what each becomes in the tree.
struct MathSymbol
{
    enum class Type : quint8 {
        Constant,     // becomes one node of `kind`
        Unary,        // takes one argument: sqrt, text, abs…
        Binary,       // takes two: frac, root, stackrel…
        Accent,       // an over or under accent taking one argument
        Function,     // an upright name applied to what follows: sin, ln…
        LeftBracket,  // (, [, {, (:, {:, \left(
        RightBracket, // ), ], }, :), :}
        Bar,          // | or ||: opens or closes a fence
        Space,        // quad, qquad, "\ "
        Definition,   // dx, dt: two identifiers
    };
    const char *name;
    const char16_t *output;
    Type type;
    MathNode::Kind kind;
    quint8 flags;
};

// TeX's classes of atoms, which decide the space between neighbours.
enum class MathAtomClass : quint8 { Ord, Op, Bin, Rel, Open, Close, Punct, Inner };

namespace MathSymbols {

// The longest symbol name that starts `text` at `position`, or nullptr.
const MathSymbol *longestMatch(QStringView text, qsizetype position);
// The symbol with exactly this name (a LaTeX name without its backslash also matches).
const MathSymbol *find(QStringView name);
// The symbol a character typed as itself stands for (Δ is Delta), or nullptr.
const MathSymbol *findByOutput(QStringView output);
// The class an operator character has between its neighbours.
MathAtomClass operatorClass(QStringView op);
// Whether `word` is a unit symbol with an optional SI prefix: m, kg, mol, °C, kPa…
bool isUnit(QStringView word);
// The linear name that gives this operator or identifier back, when it is not typed as itself.
QString linearName(const MathNode &node);

} // namespace MathSymbols
