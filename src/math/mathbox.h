#pragma once

#include <QList>
#include <QRectF>

// A glyph placed in a box: the font's glyph id (the id QRawFont draws and HarfBuzz reports), its
// pen position on its baseline and the pixel size it is drawn at.
struct MathGlyph
{
    quint32 id = 0;
    float x = 0;
    float y = 0; // down is positive, as in Qt
    float size = 0;
};

// A laid-out piece of an equation, with everything already placed relative to its own origin:
// the left end of its baseline, y growing downwards. Units are the layout's: pixels at the size
// and resolution it was made for (see MathLayout). Children are merged in as they are placed, so
// a finished box is a flat list of glyphs and rules that paints in one pass.
struct MathBox
{
    qreal width = 0;
    qreal ascent = 0;  // above the baseline, positive
    qreal descent = 0; // below the baseline, positive
    qreal italic = 0;  // italic correction of a slanted last glyph, included in width
    QList<MathGlyph> glyphs;
    QList<QRectF> rules; // filled rectangles: fraction bars, radical overbars, underlines

    // Copies `child` in with its baseline origin at (x, y) of this box, and grows this box's
    // ascent and descent (not its width) to hold it.
    void place(const MathBox &child, qreal x, qreal y)
    {
        glyphs.reserve(glyphs.size() + child.glyphs.size());
        for (MathGlyph g : child.glyphs) {
            g.x += float(x);
            g.y += float(y);
            glyphs.append(g);
        }
        for (const QRectF &rule : child.rules)
            rules.append(rule.translated(x, y));
        ascent = std::max(ascent, child.ascent - y);
        descent = std::max(descent, child.descent + y);
    }
    void addRule(const QRectF &rule)
    {
        rules.append(rule);
        ascent = std::max(ascent, -rule.top());
        descent = std::max(descent, rule.bottom());
    }
};
