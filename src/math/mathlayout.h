#pragma once

#include "math/mathbox.h"
#include "math/mathfont.h"
#include "math/mathnode.h"
#include "math/mathstyle.h"
#include "math/mathsymbols.h"

// Sets an equation tree in boxes by TeX's rules for math (The TeXbook, appendix G), every distance
// taken from the font's OpenType MATH constants scaled to the size in use.
//
// Units: pixels for a font of `emPixels` pixels per em, that is point size × dpi / 72. A box's
// origin is the left end of its baseline; put it on the text baseline.
class MathLayout
{
public:
    MathLayout(const MathFont &font, qreal emPixels);

    MathBox layout(const MathNode &root, MathStyle style) const;
    // A MATH constant (font units) in pixels at the outer size.
    qreal pixels(qreal fontUnits) const { return fontUnits * m_em / m_font.unitsPerEm(); }

private:
    // TeX's eight styles: display, text, script, scriptscript, each cramped or not.
    struct Style
    {
        int level = 1; // 0 display, 1 text, 2 script, 3 scriptscript
        bool cramped = false;
        Style script() const { return {level <= 1 ? 2 : 3, cramped}; }
        Style subscript() const { return {level <= 1 ? 2 : 3, true}; }
        Style fractionPart(bool denominator) const
        {
            return {level == 0 ? 1 : level == 1 ? 2 : 3, cramped || denominator};
        }
        Style cramp() const { return {level, true}; }
    };
    struct Atom
    {
        MathBox box;
        MathAtomClass left = MathAtomClass::Ord;
        MathAtomClass right = MathAtomClass::Ord;
        bool character = false; // one glyph as designed: scripts attach by the font's shifts only
        bool unit = false;
        bool number = false;
        bool text = false;
    };

    qreal size(Style style) const;
    qreal px(qreal fontUnits, Style style) const { return fontUnits * size(style) / m_font.unitsPerEm(); }

    Atom atom(const MathNode &node, Style style) const;
    MathBox box(const MathNode &node, Style style) const { return atom(node, style).box; }
    MathBox row(const QList<MathNode> &children, Style style) const;
    Atom identifier(const MathNode &node, Style style) const;
    Atom operatorAtom(const MathNode &node, Style style) const;
    MathBox word(const QString &text, Style style, bool italic) const;
    qreal wordSpace(Style style) const;
    MathBox fraction(const MathNode &node, Style style) const;
    MathBox scripts(const Atom &base, const MathNode *sub, const MathNode *sup, Style style) const;
    MathBox limits(const Atom &base, const MathNode *under, const MathNode *over, Style style) const;
    MathBox labelledArrow(const QString &arrow, const MathNode *under, const MathNode *over,
                          Style style) const;
    MathBox accent(const MathNode &node, Style style) const;
    MathBox radical(const MathNode &radicand, const MathNode *degree, Style style) const;
    MathBox fenced(const MathNode &node, Style style) const;
    MathBox table(const MathNode &node, Style style) const;
    MathBox delimiter(QChar sign, qreal ascent, qreal descent, Style style) const;

    const MathFont &m_font;
    const MathConstants &m_c;
    qreal m_em;
};
