#include "math/mathlayout.h"

#include "math/mathstretcher.h"

namespace {

using Kind = MathNode::Kind;
using C = MathAtomClass;

// The TeXbook, chapter 18: the space between two atoms by class (Ord, Op, Bin, Rel, Open, Close,
// Punct, Inner), in TeX's muskips: 1 \thinmuskip, 2 \medmuskip, 3 \thickmuskip; negative means
// "in display and text styles only".
const int atomSpacing[8][8] = {
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
const qreal muskip[4] = {0, 3, 4, 5};

// TeX's \nulldelimiterspace (1.2pt at 10pt) on each side of a fraction.
constexpr qreal nullDelimiterSpace = 0.12;
// TeX's \delimiterfactor 901 and \delimitershortfall 5pt (0.5 em at 10pt): a delimiter covers at
// least 90.1 % of its formula, and no less than the formula minus the shortfall.
constexpr qreal delimiterFactor = 0.901;
constexpr qreal delimiterShortfall = 0.5;
// The strut of TeX's arrays: 0.7 and 0.3 of a \baselineskip of 1.2 em.
constexpr qreal strutAscent = 0.84;
constexpr qreal strutDescent = 0.36;
// MathML's default mtable columnspacing.
constexpr qreal columnSpacing = 0.8;

int classIndex(C c)
{
    return int(c);
}

// Mathematical italic letters (U+1D434…), with the holes Unicode fills elsewhere (h is ℎ).
char32_t mathItalic(char32_t c)
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
char32_t accentMark(const QString &accent)
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
MathAtomClass edgeClass(const MathNode &node, bool left)
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

MathBox shifted(const MathBox &box, qreal down)
{
    MathBox out;
    out.width = box.width;
    out.italic = box.italic;
    out.place(box, 0, down);
    out.ascent = box.ascent - down;
    out.descent = box.descent + down;
    return out;
}

} // namespace

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
        const Atom base = atom(node.child(0), style);
        const MathNode *under = node.kind() == Kind::Over ? nullptr : &node.child(1);
        const MathNode *over = node.kind() == Kind::Under       ? nullptr
                               : node.kind() == Kind::UnderOver ? &node.child(2)
                                                                : &node.child(1);
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

MathBox MathLayout::accent(const MathNode &node, Style style) const
{
    const bool over = node.kind() == Kind::Over;
    const QString &sign = node.child(1).text();
    // Rule 12: the base of an over accent is set cramped.
    const MathBox b = box(node.child(0), over ? style.cramp() : style);
    const MathStretcher glyphs(m_font, size(style));
    MathBox out;
    out.place(b, 0, 0);
    out.width = b.width;
    out.italic = b.italic;
    const qreal inkWidth = b.width - b.italic;
    if (sign == QStringLiteral("¯") || sign == QStringLiteral("̲")) {
        // Rule 9 (overline) and 10 (underline): a rule at the bar gap, as thick as the font says,
        // with the extra ascender or descender kept clear above or below it.
        if (over) {
            const qreal gap = px(m_c.overbarVerticalGap, style);
            const qreal thickness = px(m_c.overbarRuleThickness, style);
            out.addRule(QRectF(0, -(b.ascent + gap + thickness), inkWidth, thickness));
            out.ascent += px(m_c.overbarExtraAscender, style);
        } else {
            const qreal gap = px(m_c.underbarVerticalGap, style);
            const qreal thickness = px(m_c.underbarRuleThickness, style);
            out.addRule(QRectF(0, b.descent + gap, inkWidth, thickness));
            out.descent += px(m_c.underbarExtraDescender, style);
        }
        return out;
    }
    const bool singleGlyph = b.glyphs.size() == 1;
    const qreal baseAttachment =
        singleGlyph ? m_font.topAccentAttachment(b.glyphs.first().id) * glyphs.scale() : inkWidth / 2;
    const char32_t mark = accentMark(sign);
    quint32 id = m_font.glyph(mark);
    bool placeByInk = false;
    if (!id) {
        id = m_font.glyph(sign.toUcs4().value(0));
        placeByInk = true;
    }
    // Over a group (AB), the accent stretches to the whole base: an arrow over both letters.
    MathBox mark_ = singleGlyph ? glyphs.glyph(id) : glyphs.stretch(id, inkWidth, false);
    const auto inkSpan = [&](const MathBox &m) {
        qreal left = 1e9;
        qreal right = -1e9;
        for (const MathGlyph &g : m.glyphs) {
            const MathFont::GlyphMetrics gm = m_font.metrics(g.id);
            left = std::min(left, g.x + gm.left * glyphs.scale());
            right = std::max(right, g.x + gm.right * glyphs.scale());
        }
        return std::pair{left, right};
    };
    if (!singleGlyph && sign == QStringLiteral("→") &&
        inkSpan(mark_).second - inkSpan(mark_).first < inkWidth * 0.9) {
        // The font cannot stretch the combining arrow: a stretched → set above instead.
        const quint32 arrow = m_font.glyph(U'→');
        if (arrow) {
            mark_ = glyphs.stretch(arrow, inkWidth, false);
            placeByInk = true;
        }
    }
    const auto [left, right] = inkSpan(mark_);
    const qreal markAttachment = mark_.glyphs.size() == 1 && !placeByInk
                                     ? m_font.topAccentAttachment(mark_.glyphs.first().id) * glyphs.scale()
                                     : (left + right) / 2;
    const qreal x = baseAttachment - markAttachment;
    if (!over) {
        // Under braces: the brace's top at UnderbarVerticalGap below the base.
        out.place(mark_, x, b.descent + px(m_c.underbarVerticalGap, style) + mark_.ascent);
        return out;
    }
    qreal y = 0;
    if (placeByInk || mark == U'⏞') {
        y = -(b.ascent + px(m_c.overbarVerticalGap, style) + mark_.descent);
    } else {
        // Rule 12, MATH style: accents are drawn for a base of AccentBaseHeight; a taller base
        // lifts them by the difference.
        y = -std::max<qreal>(0, b.ascent - px(m_c.accentBaseHeight, style));
    }
    out.place(mark_, x, y);
    out.width = std::max(out.width, x + right);
    return out;
}

MathBox MathLayout::radical(const MathNode &radicand, const MathNode *degree, Style style) const
{
    // Rule 11: the radicand is cramped; the sign covers it plus the vertical gap and the rule,
    // and any excess height of the sign is shared equally above and below.
    const MathBox b = box(radicand, style.cramp());
    const MathStretcher glyphs(m_font, size(style));
    const qreal thickness = px(m_c.radicalRuleThickness, style);
    qreal gap = px(style.level == 0 ? m_c.radicalDisplayStyleVerticalGap : m_c.radicalVerticalGap, style);
    const qreal target = b.ascent + b.descent + gap + thickness;
    const MathBox sign = glyphs.stretch(m_font.glyph(U'√'), target, true);
    const qreal signHeight = sign.ascent + sign.descent;
    if (signHeight > target)
        gap += (signHeight - target) / 2;
    const qreal ruleTop = b.ascent + gap + thickness;
    const qreal signY = sign.ascent - ruleTop; // the sign's top meets the rule's top

    MathBox out;
    qreal x = 0;
    if (degree) {
        // The degree in scriptscript style, its baseline RadicalDegreeBottomRaisePercent of the
        // sign's height above the sign's bottom, with the kerns before and after it.
        const MathBox d = box(*degree, Style{3, true});
        const qreal bottom = signY + sign.descent;
        const qreal raise = m_c.radicalDegreeBottomRaisePercent / 100 * signHeight;
        const qreal before = px(m_c.radicalKernBeforeDegree, style);
        out.place(d, before, bottom - raise);
        x = std::max<qreal>(0, before + d.width + px(m_c.radicalKernAfterDegree, style));
    }
    out.place(sign, x, signY);
    x += sign.width;
    out.addRule(QRectF(x, -ruleTop, b.width, thickness));
    out.place(b, x, 0);
    out.width = x + b.width;
    out.ascent = std::max(out.ascent, ruleTop + px(m_c.radicalExtraAscender, style));
    return out;
}

MathBox MathLayout::delimiter(QChar sign, qreal ascent, qreal descent, Style style) const
{
    const MathStretcher glyphs(m_font, size(style));
    const quint32 id = m_font.glyph(sign.unicode());
    if (!id || ascent + descent < px(m_c.delimitedSubFormulaMinHeight, style))
        return glyphs.glyph(id);
    // Rule 19: the delimiter centred on the axis, covering the formula's extent from the axis on
    // its larger side, within \delimiterfactor and \delimitershortfall.
    const qreal axis = px(m_c.axisHeight, style);
    const qreal half = std::max(ascent - axis, descent + axis);
    const qreal target = std::max(2 * half * delimiterFactor, 2 * half - delimiterShortfall * size(style));
    const MathBox grown = glyphs.stretch(id, target, true);
    return shifted(grown, (grown.ascent - grown.descent) / 2 - axis);
}

MathBox MathLayout::fenced(const MathNode &node, Style style) const
{
    const MathNode &content = node.child(0);
    const MathBox inner = content.kind() == Kind::Table ? table(content, style) : box(content, style);
    MathBox out;
    qreal x = 0;
    if (!node.open().isNull()) {
        const MathBox open = delimiter(node.open(), inner.ascent, inner.descent, style);
        out.place(open, x, 0);
        x += open.width;
    }
    out.place(inner, x, 0);
    x += inner.width;
    if (!node.close().isNull()) {
        const MathBox close = delimiter(node.close(), inner.ascent, inner.descent, style);
        out.place(close, x, 0);
        x += close.width;
    }
    out.width = x;
    return out;
}

MathBox MathLayout::table(const MathNode &node, Style style) const
{
    // Cells in text style, as MathML's mtable sets them; each row at least as tall as TeX's
    // array strut; the whole centred on the axis.
    const Style cellStyle{std::max(style.level, 1), false};
    const qreal em = size(cellStyle);
    QList<QList<MathBox>> cells;
    QList<qreal> columnWidths;
    QList<qreal> ascents;
    QList<qreal> descents;
    for (const MathNode &tableRow : node.children()) {
        QList<MathBox> boxes;
        qreal ascent = strutAscent * em;
        qreal descent = strutDescent * em;
        for (qsizetype c = 0; c < tableRow.children().size(); ++c) {
            MathBox cell = box(tableRow.child(c), cellStyle);
            if (columnWidths.size() <= c)
                columnWidths.append(0);
            columnWidths[c] = std::max(columnWidths[c], cell.width);
            ascent = std::max(ascent, cell.ascent);
            descent = std::max(descent, cell.descent);
            boxes.append(std::move(cell));
        }
        cells.append(boxes);
        ascents.append(ascent);
        descents.append(descent);
    }
    qreal height = 0;
    for (qsizetype r = 0; r < cells.size(); ++r)
        height += ascents[r] + descents[r];
    const qreal axis = px(m_c.axisHeight, cellStyle);
    qreal y = -(axis + height / 2);
    MathBox out;
    for (qsizetype r = 0; r < cells.size(); ++r) {
        y += ascents[r];
        qreal x = 0;
        for (qsizetype c = 0; c < cells[r].size(); ++c) {
            out.place(cells[r][c], x + (columnWidths[c] - cells[r][c].width) / 2, y);
            x += columnWidths[c] + columnSpacing * em;
        }
        y += descents[r];
    }
    for (qsizetype c = 0; c < columnWidths.size(); ++c)
        out.width += columnWidths[c] + (c > 0 ? columnSpacing * em : 0);
    out.ascent = std::max(out.ascent, axis + height / 2);
    out.descent = std::max(out.descent, height / 2 - axis);
    return out;
}
