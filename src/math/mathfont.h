#pragma once

#include <QList>
#include <QRawFont>
#include <QString>

#include <memory>

struct hb_face_t;
struct hb_font_t;

// The OpenType MATH constants an equation layout reads, in font units (percentages for the two
// scale-downs and the degree raise). The names are HarfBuzz's HB_OT_MATH_CONSTANT_… in camel case.
#define VELIGRAM_MATH_CONSTANTS(X)                                                                           \
    X(scriptPercentScaleDown, SCRIPT_PERCENT_SCALE_DOWN, 71)                                                 \
    X(scriptScriptPercentScaleDown, SCRIPT_SCRIPT_PERCENT_SCALE_DOWN, 50)                                    \
    X(delimitedSubFormulaMinHeight, DELIMITED_SUB_FORMULA_MIN_HEIGHT, 1300)                                  \
    X(displayOperatorMinHeight, DISPLAY_OPERATOR_MIN_HEIGHT, 1400)                                           \
    X(axisHeight, AXIS_HEIGHT, 250)                                                                          \
    X(accentBaseHeight, ACCENT_BASE_HEIGHT, 431)                                                             \
    X(subscriptShiftDown, SUBSCRIPT_SHIFT_DOWN, 150)                                                         \
    X(subscriptTopMax, SUBSCRIPT_TOP_MAX, 345)                                                               \
    X(subscriptBaselineDropMin, SUBSCRIPT_BASELINE_DROP_MIN, 50)                                             \
    X(superscriptShiftUp, SUPERSCRIPT_SHIFT_UP, 413)                                                         \
    X(superscriptShiftUpCramped, SUPERSCRIPT_SHIFT_UP_CRAMPED, 289)                                          \
    X(superscriptBottomMin, SUPERSCRIPT_BOTTOM_MIN, 108)                                                     \
    X(superscriptBaselineDropMax, SUPERSCRIPT_BASELINE_DROP_MAX, 386)                                        \
    X(subSuperscriptGapMin, SUB_SUPERSCRIPT_GAP_MIN, 160)                                                    \
    X(superscriptBottomMaxWithSubscript, SUPERSCRIPT_BOTTOM_MAX_WITH_SUBSCRIPT, 345)                         \
    X(spaceAfterScript, SPACE_AFTER_SCRIPT, 56)                                                              \
    X(upperLimitGapMin, UPPER_LIMIT_GAP_MIN, 111)                                                            \
    X(upperLimitBaselineRiseMin, UPPER_LIMIT_BASELINE_RISE_MIN, 167)                                         \
    X(lowerLimitGapMin, LOWER_LIMIT_GAP_MIN, 167)                                                            \
    X(lowerLimitBaselineDropMin, LOWER_LIMIT_BASELINE_DROP_MIN, 600)                                         \
    X(fractionNumeratorShiftUp, FRACTION_NUMERATOR_SHIFT_UP, 394)                                            \
    X(fractionNumeratorDisplayStyleShiftUp, FRACTION_NUMERATOR_DISPLAY_STYLE_SHIFT_UP, 677)                  \
    X(fractionDenominatorShiftDown, FRACTION_DENOMINATOR_SHIFT_DOWN, 345)                                    \
    X(fractionDenominatorDisplayStyleShiftDown, FRACTION_DENOMINATOR_DISPLAY_STYLE_SHIFT_DOWN, 686)          \
    X(fractionNumeratorGapMin, FRACTION_NUMERATOR_GAP_MIN, 40)                                               \
    X(fractionNumDisplayStyleGapMin, FRACTION_NUM_DISPLAY_STYLE_GAP_MIN, 120)                                \
    X(fractionRuleThickness, FRACTION_RULE_THICKNESS, 40)                                                    \
    X(fractionDenominatorGapMin, FRACTION_DENOMINATOR_GAP_MIN, 40)                                           \
    X(fractionDenomDisplayStyleGapMin, FRACTION_DENOM_DISPLAY_STYLE_GAP_MIN, 120)                            \
    X(overbarVerticalGap, OVERBAR_VERTICAL_GAP, 120)                                                         \
    X(overbarRuleThickness, OVERBAR_RULE_THICKNESS, 40)                                                      \
    X(overbarExtraAscender, OVERBAR_EXTRA_ASCENDER, 40)                                                      \
    X(underbarVerticalGap, UNDERBAR_VERTICAL_GAP, 120)                                                       \
    X(underbarRuleThickness, UNDERBAR_RULE_THICKNESS, 40)                                                    \
    X(underbarExtraDescender, UNDERBAR_EXTRA_DESCENDER, 40)                                                  \
    X(radicalVerticalGap, RADICAL_VERTICAL_GAP, 50)                                                          \
    X(radicalDisplayStyleVerticalGap, RADICAL_DISPLAY_STYLE_VERTICAL_GAP, 148)                               \
    X(radicalRuleThickness, RADICAL_RULE_THICKNESS, 40)                                                      \
    X(radicalExtraAscender, RADICAL_EXTRA_ASCENDER, 40)                                                      \
    X(radicalKernBeforeDegree, RADICAL_KERN_BEFORE_DEGREE, 278)                                              \
    X(radicalKernAfterDegree, RADICAL_KERN_AFTER_DEGREE, -556)                                               \
    X(radicalDegreeBottomRaisePercent, RADICAL_DEGREE_BOTTOM_RAISE_PERCENT, 60)

struct MathConstants
{
#define VELIGRAM_MATH_CONSTANT_FIELD(name, hb, fallback) qreal name = 0;
    VELIGRAM_MATH_CONSTANTS(VELIGRAM_MATH_CONSTANT_FIELD)
#undef VELIGRAM_MATH_CONSTANT_FIELD
    qreal minConnectorOverlap = 0;
};

// One math font, loaded once: the QRawFont that draws it and a HarfBuzz face over the same font
// tables, so that the glyph ids HarfBuzz gives are the ids QGlyphRun draws.
//
// The font is TeX Gyre Termes Math (Debian's fonts-texgyre-math): its letters are Times, the face
// of most printed exercise sheets, so a formula reads as part of a Times text; beside Arial its
// serif letters mark the formula apart the way school books do. STIX Math is the next choice (a
// Times too, with a larger x-height and heavier strokes that look bold beside Termes-like text).
// Without any math font the program's default font is used, with TeX's Computer Modern parameters
// (in thousandths of an em) standing for the MATH constants: formulas look plainer but still read.
//
// Not thread-safe for drawing: use from the GUI thread.
class MathFont
{
public:
    struct GlyphMetrics
    {
        qreal advance = 0;
        qreal ascent = 0;  // ink top above the baseline
        qreal descent = 0; // ink bottom below the baseline
        qreal left = 0;    // ink left from the pen position
        qreal right = 0;   // ink right from the pen position
    };
    struct Part
    {
        quint32 glyph = 0;
        qreal startConnector = 0;
        qreal endConnector = 0;
        qreal fullAdvance = 0;
        bool extender = false;
    };

    // The program's math font, loaded on first use. GUI thread.
    static std::shared_ptr<const MathFont> defaultFont();
    // The first of `families` that has a MATH table; else the first found at all; else the
    // application font. Never null.
    static std::shared_ptr<const MathFont> load(const QStringList &families);

    MathFont(const MathFont &) = delete;
    MathFont &operator=(const MathFont &) = delete;
    ~MathFont();

    bool hasMathTable() const { return m_hasMath; }
    QString familyName() const { return m_raw.familyName(); }
    qreal unitsPerEm() const { return m_unitsPerEm; }
    const MathConstants &constants() const { return m_constants; }

    quint32 glyph(char32_t character) const; // 0 when the font has none
    GlyphMetrics metrics(quint32 glyph) const;
    qreal italicCorrection(quint32 glyph) const;
    // Where an accent over this glyph is centred; the middle of its ink when the font says nothing.
    qreal topAccentAttachment(quint32 glyph) const;
    // Bigger versions of a glyph, smallest first, the glyph itself included.
    QList<quint32> variants(quint32 glyph, bool vertical) const;
    // Parts to build any size from, bottom or left first; empty when the font has none.
    QList<Part> assembly(quint32 glyph, bool vertical) const;
    // The raw font at a pixel size, for drawing and outlines.
    QRawFont rawFont(qreal pixelSize) const;

private:
    explicit MathFont(const QRawFont &raw);

    QRawFont m_raw;
    hb_face_t *m_face = nullptr;
    hb_font_t *m_font = nullptr;
    bool m_hasMath = false;
    qreal m_unitsPerEm = 1000;
    MathConstants m_constants;
};
