#pragma once

#include "math/mathbox.h"
#include "math/mathfont.h"

// Glyphs at one pixel size, and glyphs grown to cover a length: a bracket as tall as a matrix, a
// radical sign as tall as its radicand, an arrow as wide as AB. The font's bigger variants are
// tried first, smallest first; past the largest, the glyph is built from its assembly of parts.
class MathStretcher
{
public:
    MathStretcher(const MathFont &font, qreal pixelSize);

    qreal scale() const { return m_scale; } // pixels per font unit
    MathBox glyph(quint32 glyph) const;     // as designed, on the baseline
    // At least `target` pixels from ink top to ink bottom (vertical) or across (horizontal), as
    // close as the font allows; the largest version when nothing reaches.
    MathBox stretch(quint32 glyph, qreal target, bool vertical) const;

private:
    MathBox assemble(const QList<MathFont::Part> &parts, qreal target, bool vertical) const;

    const MathFont &m_font;
    qreal m_size;
    qreal m_scale;
};
