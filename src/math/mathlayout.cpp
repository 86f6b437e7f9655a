#include "math/mathlayout.h"

#include "math/mathlayoutrules.h"
#include "math/mathstretcher.h"

using namespace MathLayoutRules;

MathLayout::MathLayout(const MathFont &font, qreal emPixels)
    : m_font(font), m_c(font.constants()), m_em(emPixels)
{}

MathBox MathLayout::layout(const MathNode &root, MathStyle style) const
{
    return box(root, Style{style == MathStyle::Display ? 0 : 1, false});
}

qreal MathLayout::size(Style style) const
{
    if (style.level <= 1)
        return m_em;
    const qreal percent = style.level == 2 ? m_c.scriptPercentScaleDown : m_c.scriptScriptPercentScaleDown;
    return m_em * (percent > 0 ? percent : (style.level == 2 ? 71 : 50)) / 100;
}

MathLayout::Atom MathLayout::atom(const MathNode &node, Style style) const
{
    Atom a;
    switch (node.kind()) {
    case Kind::Row:
        a.box = row(node.children(), style);
        a.left = edgeClass(node, true);
        a.right = edgeClass(node, false);
        return a;
    case Kind::Identifier:
        return identifier(node, style);
    case Kind::Number:
        a.box = word(node.text(), style, false);
        a.character = node.text().size() == 1;
        a.number = true;
        return a;
    case Kind::Operator:
        return operatorAtom(node, style);
    case Kind::Text:
        a.box = word(node.text(), style, false);
        a.text = true;
        return a;
    case Kind::Space:
        a.box.width = node.text().toDouble() * size(style);
        return a;
    case Kind::Fraction:
        a.box = fraction(node, style);
        a.left = a.right = C::Inner;
        return a;
    case Kind::Sub:
    case Kind::Sup:
    case Kind::SubSup: {
        const Atom base = atom(node.child(0), style);
        const MathNode *sub = node.kind() == Kind::Sup ? nullptr : &node.child(1);
        const MathNode *sup = node.kind() == Kind::Sub      ? nullptr
                              : node.kind() == Kind::SubSup ? &node.child(2)
                                                            : &node.child(1);
        a = base;
        a.box = scripts(base, sub, sup, style);
        a.character = false;
        return a;
    }
    case Kind::Under:
    case Kind::Over:
    case Kind::UnderOver: {
        if (node.hasFlag(MathNode::Accent)) {
            a.box = accent(node, style);
            return a;
        }
        Atom base = atom(node.child(0), style);
        const MathNode *under = node.kind() == Kind::Over ? nullptr : &node.child(1);
        const MathNode *over = node.kind() == Kind::Under       ? nullptr
                               : node.kind() == Kind::UnderOver ? &node.child(2)
                                                                : &node.child(1);
        if (node.child(0).kind() == Kind::Operator && node.child(0).hasFlag(MathNode::Stretchy))
            base.box = labelledArrow(node.child(0).text(), under, over, style);
        a = base;
        a.character = false;
        // ∑ and lim take their limits beside them in text style, above and below in display.
        if (node.child(0).hasFlag(MathNode::Limits) && style.level > 0)
            a.box = scripts(base, under, over, style);
        else
            a.box = limits(base, under, over, style);
        return a;
    }
    case Kind::Sqrt:
        a.box = radical(node.child(0), nullptr, style);
        return a;
    case Kind::Root:
        a.box = radical(node.child(0), &node.child(1), style);
        return a;
    case Kind::Fenced:
        a.box = fenced(node, style);
        a.left = C::Open;
        a.right = C::Close;
        return a;
    case Kind::Table:
        a.box = table(node, style);
        return a;
    }
    return a;
}

MathBox MathLayout::row(const QList<MathNode> &children, Style style) const
{
    QList<Atom> atoms;
    atoms.reserve(children.size());
    for (const MathNode &child : children)
        atoms.append(atom(child, style));
    // The TeXbook, appendix G, rules 5 and 6: a binary operator with nothing to combine on its
    // left, or before a relation, a closing or a punctuation, is an ordinary symbol (−x, a = −b).
    for (qsizetype i = 0; i < atoms.size(); ++i) {
        if (atoms[i].left != C::Bin)
            continue;
        const bool leftAlone = i == 0 || atoms[i - 1].right == C::Bin || atoms[i - 1].right == C::Op ||
                               atoms[i - 1].right == C::Rel || atoms[i - 1].right == C::Open ||
                               atoms[i - 1].right == C::Punct;
        const bool rightAlone = i + 1 == atoms.size() || atoms[i + 1].left == C::Rel ||
                                atoms[i + 1].left == C::Close || atoms[i + 1].left == C::Punct;
        if (leftAlone || rightAlone)
            atoms[i].left = atoms[i].right = C::Ord;
    }
    MathBox out;
    const qreal mu = size(style) / 18;
    qreal x = 0;
    for (qsizetype i = 0; i < atoms.size(); ++i) {
        if (i > 0) {
            const int space = atomSpacing[classIndex(atoms[i - 1].right)][classIndex(atoms[i].left)];
            if (space > 0 || (space < 0 && style.level <= 1))
                x += muskip[std::abs(space)] * mu;
            // A thin space between a number and its unit, as the SI writes 9,81 m.
            if (atoms[i - 1].number && atoms[i].unit)
                x += muskip[1] * mu;
            // Words in a formula ("si", "alors") are set apart by the font's word space.
            if (atoms[i - 1].text != atoms[i].text)
                x += wordSpace(style);
        }
        out.place(atoms[i].box, x, 0);
        x += atoms[i].box.width;
    }
    out.width = x;
    if (!atoms.isEmpty())
        out.italic = atoms.last().box.italic;
    return out;
}

qreal MathLayout::wordSpace(Style style) const
{
    const MathStretcher glyphs(m_font, size(style));
    const quint32 space = m_font.glyph(U' ');
    return space ? glyphs.glyph(space).width : size(style) / 4;
}

MathLayout::Atom MathLayout::identifier(const MathNode &node, Style style) const
{
    Atom a;
    const QString &text = node.text();
    const bool single = text.toUcs4().size() == 1;
    const bool upright = node.flags() & (MathNode::Upright | MathNode::Unit | MathNode::Function);
    a.box = word(text, style, single && !upright);
    a.character = single && !node.hasFlag(MathNode::Function);
    a.unit = node.hasFlag(MathNode::Unit);
    if (node.hasFlag(MathNode::Function) || node.hasFlag(MathNode::Limits))
        a.left = a.right = C::Op;
    return a;
}

MathBox MathLayout::word(const QString &text, Style style, bool italic) const
{
    const MathStretcher glyphs(m_font, size(style));
    MathBox out;
    qreal x = 0;
    quint32 last = 0;
    for (const char32_t c : text.toUcs4()) {
        quint32 id = 0;
        if (italic && mathItalic(c))
            id = m_font.glyph(mathItalic(c));
        if (!id)
            id = m_font.glyph(c);
        const MathBox g = glyphs.glyph(id);
        out.place(g, x, 0);
        x += g.width;
        last = id;
    }
    out.italic = italic && last ? m_font.italicCorrection(last) * glyphs.scale() : 0;
    out.width = x + out.italic;
    return out;
}

MathLayout::Atom MathLayout::operatorAtom(const MathNode &node, Style style) const
{
    Atom a;
    const QString &text = node.text();
    a.left = a.right = node.hasFlag(MathNode::Unit) ? C::Ord : MathSymbols::operatorClass(text);
    if (!node.hasFlag(MathNode::LargeOperator)) {
        a.box = word(text, style, false);
        a.character = text.toUcs4().size() == 1;
        return a;
    }
    a.left = a.right = C::Op;
    // Rule 13: a large operator is centred on the axis; in display style it is at least
    // DisplayOperatorMinHeight tall.
    const MathStretcher glyphs(m_font, size(style));
    const quint32 id = m_font.glyph(text.toUcs4().value(0));
    MathBox big = glyphs.glyph(id);
    if (style.level == 0) {
        // Some fonts (Termes among them) set DisplayOperatorMinHeight below their text-size ∫:
        // display style then takes the next variant up, the font's own display size.
        const QList<quint32> variants = m_font.variants(id, true);
        big = big.ascent + big.descent >= px(m_c.displayOperatorMinHeight, style) && variants.size() > 1
                  ? glyphs.glyph(variants.at(1))
                  : glyphs.stretch(id, px(m_c.displayOperatorMinHeight, style), true);
    }
    const quint32 drawn = big.glyphs.isEmpty() ? id : big.glyphs.first().id;
    big.italic = m_font.italicCorrection(drawn) * glyphs.scale();
    big.width += big.italic;
    const qreal axis = px(m_c.axisHeight, style);
    a.box = shifted(big, (big.ascent - big.descent) / 2 - axis);
    return a;
}

MathBox MathLayout::fraction(const MathNode &node, Style style) const
{
    const MathBox numerator = box(node.child(0), style.fractionPart(false));
    const MathBox denominator = box(node.child(1), style.fractionPart(true));
    const bool display = style.level == 0;
    // Rule 15: the bar on the math axis; numerator and denominator at their shifts, moved further
    // out when they would come closer to the bar than the minimum gaps.
    const qreal bar = px(m_c.fractionRuleThickness, style);
    const qreal axis = px(m_c.axisHeight, style);
    const qreal up =
        std::max(px(display ? m_c.fractionNumeratorDisplayStyleShiftUp : m_c.fractionNumeratorShiftUp, style),
                 axis + bar / 2 +
                     px(display ? m_c.fractionNumDisplayStyleGapMin : m_c.fractionNumeratorGapMin, style) +
                     numerator.descent);
    const qreal down = std::max(
        px(display ? m_c.fractionDenominatorDisplayStyleShiftDown : m_c.fractionDenominatorShiftDown, style),
        denominator.ascent +
            px(display ? m_c.fractionDenomDisplayStyleGapMin : m_c.fractionDenominatorGapMin, style) -
            (axis - bar / 2));
    const qreal pad = nullDelimiterSpace * size(style);
    const qreal inner = std::max(numerator.width, denominator.width);
    MathBox out;
    out.place(numerator, pad + (inner - numerator.width) / 2, -up);
    out.place(denominator, pad + (inner - denominator.width) / 2, down);
    out.addRule(QRectF(pad, -(axis + bar / 2), inner, bar));
    out.width = inner + 2 * pad;
    return out;
}

MathBox MathLayout::scripts(const Atom &base, const MathNode *sub, const MathNode *sup, Style style) const
{
    const MathBox &b = base.box;
    // Rule 18a: a script on a single glyph starts from the font's shifts; on a bigger box, from
    // the box's own height and depth less the baseline drops.
    qreal up = base.character ? 0 : b.ascent - px(m_c.superscriptBaselineDropMax, style);
    qreal down = base.character ? 0 : b.descent + px(m_c.subscriptBaselineDropMin, style);
    MathBox supBox;
    MathBox subBox;
    if (sup) {
        supBox = box(*sup, style.script());
        // Rule 18c: SuperscriptShiftUp (cramped: …Cramped), and the script's bottom no lower than
        // SuperscriptBottomMin.
        up = std::max({up, px(style.cramped ? m_c.superscriptShiftUpCramped : m_c.superscriptShiftUp, style),
                       supBox.descent + px(m_c.superscriptBottomMin, style)});
    }
    if (sub) {
        subBox = box(*sub, style.subscript());
        // Rule 18b: SubscriptShiftDown, and the script's top no higher than SubscriptTopMax.
        down = std::max(
            {down, px(m_c.subscriptShiftDown, style), subBox.ascent - px(m_c.subscriptTopMax, style)});
    }
    if (sub && sup) {
        // Rule 18e: at least SubSuperscriptGapMin between them, gained by lowering the subscript
        // and, up to SuperscriptBottomMaxWithSubscript, raising the superscript instead.
        const qreal gap = (up - supBox.descent) - (subBox.ascent - down);
        const qreal minGap = px(m_c.subSuperscriptGapMin, style);
        if (gap < minGap) {
            down += minGap - gap;
            const qreal lift = px(m_c.superscriptBottomMaxWithSubscript, style) - (up - supBox.descent);
            if (lift > 0) {
                up += lift;
                down -= lift;
            }
        }
    }
    MathBox out;
    out.place(b, 0, 0);
    qreal width = b.width;
    if (sup) {
        out.place(supBox, b.width, -up);
        width = std::max(width, b.width + supBox.width);
    }
    if (sub) {
        // The subscript tucks under a slanted base: it starts before the italic correction.
        out.place(subBox, b.width - b.italic, down);
        width = std::max(width, b.width - b.italic + subBox.width);
    }
    out.width = width + px(m_c.spaceAfterScript, style);
    return out;
}

// An arrow under or over labels (a reaction's conditions): as amsmath's extensible arrows, as
// long as the longer label with half an em to spare on either side, never shorter than itself;
// the font's horizontal variants and assembly give the length.
MathBox MathLayout::labelledArrow(const QString &arrow, const MathNode *under, const MathNode *over,
                                  Style style) const
{
    qreal labels = 0;
    if (under)
        labels = std::max(labels, box(*under, style.subscript()).width);
    if (over)
        labels = std::max(labels, box(*over, style.script()).width);
    const MathStretcher glyphs(m_font, size(style));
    return glyphs.stretch(m_font.glyph(arrow.toUcs4().value(0)), labels + size(style), false);
}

MathBox MathLayout::limits(const Atom &base, const MathNode *under, const MathNode *over, Style style) const
{
    const MathBox &b = base.box;
    MathBox overBox = over ? box(*over, style.script()) : MathBox();
    MathBox underBox = under ? box(*under, style.subscript()) : MathBox();
    const qreal width = std::max({b.width, overBox.width, underBox.width});
    MathBox out;
    out.place(b, (width - b.width) / 2, 0);
    // Rule 13a: a limit's baseline at least UpperLimitBaselineRiseMin above the operator (or
    // LowerLimitBaselineDropMin below) and its ink at least the limit gap away; the italic
    // correction of a slanted operator shifts the limits apart by half each.
    if (over) {
        const qreal rise = b.ascent +
                           std::max(px(m_c.upperLimitGapMin, style),
                                    px(m_c.upperLimitBaselineRiseMin, style) - overBox.descent) +
                           overBox.descent;
        out.place(overBox, (width - overBox.width + b.italic) / 2, -rise);
    }
    if (under) {
        const qreal drop = b.descent +
                           std::max(px(m_c.lowerLimitGapMin, style),
                                    px(m_c.lowerLimitBaselineDropMin, style) - underBox.ascent) +
                           underBox.ascent;
        out.place(underBox, (width - underBox.width - b.italic) / 2, drop);
    }
    out.width = width;
    return out;
}
