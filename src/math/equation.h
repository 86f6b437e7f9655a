#pragma once

#include "math/mathbox.h"
#include "math/mathnode.h"
#include "math/mathstyle.h"

#include <QByteArray>
#include <QColor>
#include <QExplicitlySharedDataPointer>
#include <QImage>
#include <QPointF>
#include <QString>

class EquationData;
class QPainter;

// An equation as the program keeps it: the linear text as typed and the tree read from it.
// Immutable and implicitly shared: a copy costs a reference count, so a document holding a
// thousand equations holds each tree once. Reading never fails (see MathParser).
class Equation
{
public:
    Equation();
    ~Equation();
    Equation(const Equation &other);
    Equation &operator=(const Equation &other);

    static Equation fromLinear(const QString &text);

    QString linear() const;           // as typed
    QString normalizedLinear() const; // one spelling per sign; reads back to the same tree
    QString mathml() const;           // one <math> element of presentation MathML
    const MathNode &tree() const;     // a Row
    bool isEmpty() const;             // nothing but spaces was typed
    // An identity for caches: equal for copies of one equation, never reused while one lives.
    const void *key() const { return m_data.data(); }

private:
    QExplicitlySharedDataPointer<EquationData> m_data;
};

// Where the drawing functions below put an equation, in pixels of a device of `dpi` dots per
// inch for a font of `pointSize` points (pixels = points × dpi / 72): its advance, and how far it
// reaches above and below the baseline it is drawn on.
struct EquationMetrics
{
    qreal width = 0;
    qreal ascent = 0;
    qreal descent = 0;
};

// The drawing functions use the program's math font (MathFont::defaultFont) and keep the last
// few layouts of each equation, keyed by size, resolution and style, inside the equation's shared
// data: asking again for the same size costs a lookup. GUI thread only.

// The laid-out boxes, in pixels as above.
MathBox equationBox(const Equation &equation, qreal pointSize, qreal dpi, MathStyle style = MathStyle::Text);
EquationMetrics equationMetrics(const Equation &equation, qreal pointSize, qreal dpi,
                                MathStyle style = MathStyle::Text);
// Draws with the baseline's left end at `baselineOrigin`, in painter coordinates; the painter's
// transform applies, so give the device's dpi and let the transform zoom.
void paintEquation(QPainter &painter, QPointF baselineOrigin, const Equation &equation, qreal pointSize,
                   qreal dpi, const QColor &color, MathStyle style = MathStyle::Text);
// A transparent picture at 96 dpi × `scale` (scale 2 for a high-density screen or a sharper
// export), with one pixel of margin; a 1 × 1 transparent image for an empty equation.
QImage equationImage(const Equation &equation, qreal pointSize, qreal scale, const QColor &color,
                     MathStyle style = MathStyle::Text);
// A standalone SVG document in points (72 dpi), glyphs as outlines.
QByteArray equationSvg(const Equation &equation, qreal pointSize, MathStyle style = MathStyle::Text);
