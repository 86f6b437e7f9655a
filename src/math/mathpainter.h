#pragma once

#include "math/mathbox.h"
#include "math/mathfont.h"

#include <QByteArray>
#include <QColor>
#include <QPointF>

class QPainter;

// Draws laid-out equations as vectors: glyph runs of the math font's own glyph ids and filled
// rectangles, so screen, printer and PDF show the same shapes at any zoom.
class MathPainter
{
public:
    // The box's baseline origin goes to `origin`, in the painter's coordinates: its transform
    // (zoom, printer scale) applies. The painter's state is left as it was.
    static void paint(QPainter &painter, const MathBox &box, const MathFont &font, QPointF origin,
                      const QColor &color);
    // A standalone SVG document of the box, one user unit per box unit, glyphs as outlines.
    static QByteArray svg(const MathBox &box, const MathFont &font, const QColor &color);
};
