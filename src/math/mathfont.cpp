#include "math/mathfont.h"

#include <QFont>
#include <QGuiApplication>

#include <hb-ot.h>
#include <hb.h>

namespace {

// HarfBuzz asks for each table as it needs it; the bytes come from Qt's copy of the font file.
hb_blob_t *referenceTable(hb_face_t *, hb_tag_t tag, void *userData)
{
    const auto *raw = static_cast<const QRawFont *>(userData);
    char name[5] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag), 0};
    auto *bytes = new QByteArray(raw->fontTable(name));
    if (bytes->isEmpty()) {
        delete bytes;
        return nullptr;
    }
    return hb_blob_create(bytes->constData(), unsigned(bytes->size()), HB_MEMORY_MODE_READONLY, bytes,
                          [](void *data) { delete static_cast<QByteArray *>(data); });
}

} // namespace

MathFont::MathFont(const QRawFont &raw) : m_raw(raw)
{
    m_face = hb_face_create_for_tables(referenceTable, &m_raw, nullptr);
    m_unitsPerEm = hb_face_get_upem(m_face) > 0 ? hb_face_get_upem(m_face) : 1000;
    m_font = hb_font_create(m_face);
    hb_font_set_scale(m_font, int(m_unitsPerEm), int(m_unitsPerEm));
    m_hasMath = hb_ot_math_has_data(m_face);
    const qreal em = m_unitsPerEm / 1000.0; // the Computer Modern values are in thousandths of an em
    if (m_hasMath) {
#define VELIGRAM_READ_CONSTANT(name, hb, fallback)                                                           \
    m_constants.name = hb_ot_math_get_constant(m_font, HB_OT_MATH_CONSTANT_##hb);
        VELIGRAM_MATH_CONSTANTS(VELIGRAM_READ_CONSTANT)
#undef VELIGRAM_READ_CONSTANT
        m_constants.minConnectorOverlap = hb_ot_math_get_min_connector_overlap(m_font, HB_DIRECTION_BTT);
    } else {
#define VELIGRAM_FALLBACK_CONSTANT(name, hb, fallback) m_constants.name = fallback * em;
        VELIGRAM_MATH_CONSTANTS(VELIGRAM_FALLBACK_CONSTANT)
#undef VELIGRAM_FALLBACK_CONSTANT
        // The percentages are not lengths.
        m_constants.scriptPercentScaleDown = 71;
        m_constants.scriptScriptPercentScaleDown = 50;
        m_constants.radicalDegreeBottomRaisePercent = 60;
    }
}

MathFont::~MathFont()
{
    hb_font_destroy(m_font);
    hb_face_destroy(m_face);
}

std::shared_ptr<const MathFont> MathFont::load(const QStringList &families)
{
    QRawFont chosen;
    for (const QString &family : families) {
        const QRawFont raw = QRawFont::fromFont(QFont(family));
        // Qt answers with a substitute when the family is missing: only the family asked for counts.
        if (!raw.isValid() || raw.familyName().compare(family, Qt::CaseInsensitive) != 0)
            continue;
        if (!raw.fontTable("MATH").isEmpty()) {
            chosen = raw;
            break;
        }
        if (!chosen.isValid())
            chosen = raw;
    }
    if (!chosen.isValid())
        chosen = QRawFont::fromFont(QGuiApplication::font());
    return std::shared_ptr<const MathFont>(new MathFont(chosen));
}

std::shared_ptr<const MathFont> MathFont::defaultFont()
{
    static const std::shared_ptr<const MathFont> font =
        load({QStringLiteral("TeX Gyre Termes Math"), QStringLiteral("STIX Math"),
              QStringLiteral("DejaVu Math TeX Gyre"), QStringLiteral("Latin Modern Math")});
    return font;
}

quint32 MathFont::glyph(char32_t character) const
{
    hb_codepoint_t id = 0;
    return hb_font_get_nominal_glyph(m_font, character, &id) ? id : 0;
}

MathFont::GlyphMetrics MathFont::metrics(quint32 glyph) const
{
    GlyphMetrics m;
    m.advance = hb_font_get_glyph_h_advance(m_font, glyph);
    hb_glyph_extents_t extents{};
    if (hb_font_get_glyph_extents(m_font, glyph, &extents)) {
        m.ascent = extents.y_bearing;
        m.descent = -(extents.y_bearing + extents.height);
        m.left = extents.x_bearing;
        m.right = extents.x_bearing + extents.width;
    }
    return m;
}

qreal MathFont::italicCorrection(quint32 glyph) const
{
    return hb_ot_math_get_glyph_italics_correction(m_font, glyph);
}

qreal MathFont::topAccentAttachment(quint32 glyph) const
{
    const qreal attachment = hb_ot_math_get_glyph_top_accent_attachment(m_font, glyph);
    const GlyphMetrics m = metrics(glyph);
    // HarfBuzz answers half the advance when the font has no value: the ink's middle is better
    // for combining accents, whose advance is zero.
    if (qAbs(attachment - m.advance / 2) < 1)
        return (m.left + m.right) / 2;
    return attachment;
}

QList<quint32> MathFont::variants(quint32 glyph, bool vertical) const
{
    QList<quint32> out{glyph};
    if (!m_hasMath)
        return out;
    hb_ot_math_glyph_variant_t variants[32];
    unsigned count = 32;
    hb_ot_math_get_glyph_variants(m_font, glyph, vertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR, 0, &count,
                                  variants);
    for (unsigned i = 0; i < count; ++i) {
        if (variants[i].glyph != glyph)
            out.append(variants[i].glyph);
    }
    return out;
}

QList<MathFont::Part> MathFont::assembly(quint32 glyph, bool vertical) const
{
    QList<Part> out;
    if (!m_hasMath)
        return out;
    hb_ot_math_glyph_part_t parts[16];
    unsigned count = 16;
    hb_ot_math_get_glyph_assembly(m_font, glyph, vertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR, 0, &count,
                                  parts, nullptr);
    for (unsigned i = 0; i < count; ++i) {
        out.append({parts[i].glyph, qreal(parts[i].start_connector_length),
                    qreal(parts[i].end_connector_length), qreal(parts[i].full_advance),
                    (parts[i].flags & HB_OT_MATH_GLYPH_PART_FLAG_EXTENDER) != 0});
    }
    return out;
}

QRawFont MathFont::rawFont(qreal pixelSize) const
{
    QRawFont raw = m_raw;
    raw.setPixelSize(pixelSize);
    return raw;
}
