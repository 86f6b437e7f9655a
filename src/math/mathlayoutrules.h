#pragma once

// The numbers and small rules the equation layout shares between its source files: TeX's spacing
// table and the few parameters the MATH table does not carry. Internal to the math library.
#include "math/mathbox.h"
#include "math/mathnode.h"
#include "math/mathsymbols.h"

#include <QString>

namespace MathLayoutRules {

using Kind = MathNode::Kind;
using C = MathAtomClass;

// The TeXbook, chapter 18: the space between two atoms by class (Ord, Op, Bin, Rel, Open, Close,
// Punct, Inner), in TeX's muskips: 1 \thinmuskip, 2 \medmuskip, 3 \thickmuskip; negative means
// "in display and text styles only".
inline constexpr int atomSpacing[8][8] = {
    {0, 1, -2, -3, 0, 0, 0, -1},     // Ord
    {1, 1, 0, -3, 0, 0, 0, -1},      // Op
    {-2, -2, 0, 0, -2, 0, 0, -2},    // Bin
    {-3, -3, 0, 0, -3, 0, 0, -3},    // Rel
    {0, 0, 0, 0, 0, 0, 0, 0},        // Open
    {0, 1, -2, -3, 0, 0, 0, -1},     // Close
    {-1, -1, 0, -1, -1, -1, -1, -1}, // Punct
    {-1, 1, -2, -3, -1, 0, -1, -1},  // Inner
};
// \thinmuskip 3mu, \medmuskip 4mu, \thickmuskip 5mu; a mu is 1/18 em.
inline constexpr qreal muskip[4] = {0, 3, 4, 5};

// TeX's \nulldelimiterspace (1.2pt at 10pt) on each side of a fraction.
inline constexpr qreal nullDelimiterSpace = 0.12;
// TeX's \delimiterfactor 901 and \delimitershortfall 5pt (0.5 em at 10pt): a delimiter covers at
// least 90.1 % of its formula, and no less than the formula minus the shortfall.
inline constexpr qreal delimiterFactor = 0.901;
inline constexpr qreal delimiterShortfall = 0.5;
// The strut of TeX's arrays: 0.7 and 0.3 of a \baselineskip of 1.2 em.
inline constexpr qreal strutAscent = 0.84;
inline constexpr qreal strutDescent = 0.36;
// MathML's default mtable columnspacing.
inline constexpr qreal columnSpacing = 0.8;

inline int classIndex(C c)
{
    return int(c);
}

// Mathematical italic letters (U+1D434…), with the holes Unicode fills elsewhere (h is ℎ).
inline char32_t mathItalic(char32_t c)
{
    if (c == U'h')
        return 0x210E;
    if (c >= U'a' && c <= U'z')
        return 0x1D44E + (c - U'a');
    if (c >= U'A' && c <= U'Z')
        return 0x1D434 + (c - U'A');
    if (c >= 0x3B1 && c <= 0x3C9)
        return 0x1D6FC + (c - 0x3B1);
    switch (c) {
    case 0x3F5:
        return 0x1D716;
    case 0x3D1:
        return 0x1D717;
    case 0x3D5:
        return 0x1D719;
    default:
        return 0;
    }
}

// The combining mark a math font stretches for each AsciiMath accent.
inline char32_t accentMark(const QString &accent)
{
    if (accent == QLatin1String("^"))
        return 0x302;
    if (accent == QStringLiteral("→"))
        return 0x20D7;
    if (accent == QLatin1String("."))
        return 0x307;
    if (accent == QLatin1String(".."))
        return 0x308;
    if (accent == QLatin1String("~"))
        return 0x303;
    return accent.isEmpty() ? 0 : accent.toUcs4().value(0);
}

// The class a group shows its left or right neighbour, read from the tree: laying the edge out
// again would cost twice per level of nesting.
inline MathAtomClass edgeClass(const MathNode &node, bool left)
{
    switch (node.kind()) {
    case Kind::Row:
        if (node.children().isEmpty())
            return C::Ord;
        return edgeClass(left ? node.children().first() : node.children().last(), left);
    case Kind::Identifier:
        return node.flags() & (MathNode::Function | MathNode::Limits) ? C::Op : C::Ord;
    case Kind::Operator:
        if (node.hasFlag(MathNode::Unit))
            return C::Ord;
        return node.hasFlag(MathNode::LargeOperator) ? C::Op : MathSymbols::operatorClass(node.text());
    case Kind::Fraction:
        return C::Inner;
    case Kind::Sub:
    case Kind::Sup:
    case Kind::SubSup:
        return edgeClass(node.child(0), left);
    case Kind::Under:
    case Kind::Over:
    case Kind::UnderOver:
        return node.hasFlag(MathNode::Accent) ? C::Ord : edgeClass(node.child(0), left);
    case Kind::Fenced:
        return left ? C::Open : C::Close;
    default:
        return C::Ord;
    }
}

inline MathBox shifted(const MathBox &box, qreal down)
{
    MathBox out;
    out.width = box.width;
    out.italic = box.italic;
    out.place(box, 0, down);
    out.ascent = box.ascent - down;
    out.descent = box.descent + down;
    return out;
}

} // namespace MathLayoutRules
