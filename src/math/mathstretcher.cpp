#include "math/mathstretcher.h"

MathStretcher::MathStretcher(const MathFont &font, qreal pixelSize)
    : m_font(font), m_size(pixelSize), m_scale(pixelSize / font.unitsPerEm())
{}

MathBox MathStretcher::glyph(quint32 id) const
{
    const MathFont::GlyphMetrics m = m_font.metrics(id);
    MathBox box;
    box.width = m.advance * m_scale;
    box.ascent = m.ascent * m_scale;
    box.descent = m.descent * m_scale;
    box.glyphs.append({id, 0, 0, float(m_size)});
    return box;
}

MathBox MathStretcher::stretch(quint32 id, qreal target, bool vertical) const
{
    const auto length = [&](quint32 g) {
        const MathFont::GlyphMetrics m = m_font.metrics(g);
        return (vertical ? m.ascent + m.descent : m.right - m.left) * m_scale;
    };
    const QList<quint32> variants = m_font.variants(id, vertical);
    for (quint32 variant : variants) {
        if (length(variant) >= target)
            return glyph(variant);
    }
    const QList<MathFont::Part> parts = m_font.assembly(id, vertical);
    if (!parts.isEmpty())
        return assemble(parts, target, vertical);
    return glyph(variants.last());
}

// The MATH table's rule for assemblies: repeat the extenders as few times as reaches the target,
// with the connectors overlapping at least MinConnectorOverlap, then spread what is left over
// the joints so that the result is as close to the target as the connectors allow.
MathBox MathStretcher::assemble(const QList<MathFont::Part> &parts, qreal target, bool vertical) const
{
    const qreal minOverlap = m_font.constants().minConnectorOverlap;
    const qreal goal = target / m_scale;
    qreal fixed = 0;
    qreal extending = 0;
    int fixedCount = 0;
    int extenderCount = 0;
    for (const MathFont::Part &part : parts) {
        (part.extender ? extending : fixed) += part.fullAdvance;
        (part.extender ? extenderCount : fixedCount) += 1;
    }
    int repeats = 0;
    if (extenderCount > 0 && extending > extenderCount * minOverlap) {
        while (repeats < 1000) {
            const int count = fixedCount + repeats * extenderCount;
            if (fixed + repeats * extending - (count - 1) * minOverlap >= goal)
                break;
            ++repeats;
        }
    }
    QList<MathFont::Part> sequence;
    for (const MathFont::Part &part : parts) {
        for (int i = 0; i < (part.extender ? repeats : 1); ++i)
            sequence.append(part);
    }
    if (sequence.isEmpty())
        return glyph(parts.first().glyph);
    qreal total = 0;
    qreal maxOverlap = 1e9;
    for (qsizetype i = 0; i < sequence.size(); ++i) {
        total += sequence.at(i).fullAdvance;
        if (i > 0)
            maxOverlap = std::min(maxOverlap,
                                  std::min(sequence.at(i - 1).endConnector, sequence.at(i).startConnector));
    }
    const qsizetype joints = sequence.size() - 1;
    qreal overlap = minOverlap;
    if (joints > 0)
        overlap = std::clamp((total - goal) / joints, minOverlap, std::max(minOverlap, maxOverlap));

    MathBox box;
    qreal position = 0; // font units from the bottom (vertical) or the left
    for (const MathFont::Part &part : sequence) {
        const MathFont::GlyphMetrics m = m_font.metrics(part.glyph);
        MathGlyph g{part.glyph, 0, 0, float(m_size)};
        if (vertical) {
            g.y = float(-(position + m.descent) * m_scale);
            box.ascent = std::max(box.ascent, (position + m.descent + m.ascent) * m_scale);
        } else {
            g.x = float((position - m.left) * m_scale);
            box.ascent = std::max(box.ascent, m.ascent * m_scale);
            box.descent = std::max(box.descent, m.descent * m_scale);
        }
        box.glyphs.append(g);
        position += part.fullAdvance - overlap;
    }
    position += overlap;
    if (vertical) {
        box.ascent = position * m_scale;
        box.width = 0;
        for (const MathFont::Part &part : sequence)
            box.width = std::max(box.width, m_font.metrics(part.glyph).advance * m_scale);
    } else {
        box.width = position * m_scale;
    }
    return box;
}
