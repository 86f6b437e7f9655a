// The equation layout's built-up shapes: accents, radicals, stretched delimiters and fences, and
// tables; the rows, scripts, fractions and limits are in mathlayout.cpp.
#include "math/mathlayout.h"
#include "math/mathlayoutrules.h"
#include "math/mathstretcher.h"

using namespace MathLayoutRules;

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
