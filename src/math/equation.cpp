#include "math/equation.h"

#include "math/linearwriter.h"
#include "math/mathfont.h"
#include "math/mathlayout.h"
#include "math/mathmlwriter.h"
#include "math/mathpainter.h"
#include "math/mathparser.h"

#include <QPainter>
#include <QSharedData>

#include <cmath>

class EquationData : public QSharedData
{
public:
    struct Layout
    {
        qreal em = 0;
        MathStyle style = MathStyle::Text;
        MathBox box;
    };

    QString linear;
    MathNode tree;
    // The text control asks for metrics, then paints, at one or two zooms: a few entries do.
    mutable QList<Layout> layouts;
};

namespace {

const QExplicitlySharedDataPointer<EquationData> &emptyData()
{
    static const QExplicitlySharedDataPointer<EquationData> empty(new EquationData);
    return empty;
}

} // namespace

Equation::Equation() : m_data(emptyData())
{}

Equation::~Equation() = default;
Equation::Equation(const Equation &other) = default;
Equation &Equation::operator=(const Equation &other) = default;

Equation Equation::fromLinear(const QString &text)
{
    Equation equation;
    equation.m_data = new EquationData;
    equation.m_data->linear = text;
    equation.m_data->tree = MathParser::parse(text);
    return equation;
}

QString Equation::linear() const
{
    return m_data->linear;
}

QString Equation::normalizedLinear() const
{
    return LinearWriter::write(m_data->tree);
}

QString Equation::mathml() const
{
    return MathMlWriter::write(m_data->tree);
}

const MathNode &Equation::tree() const
{
    return m_data->tree;
}

bool Equation::isEmpty() const
{
    return m_data->tree.children().isEmpty();
}

MathBox equationBox(const Equation &equation, qreal pointSize, qreal dpi, MathStyle style)
{
    const EquationData *data = static_cast<const EquationData *>(equation.key());
    const qreal em = pointSize * dpi / 72;
    for (const EquationData::Layout &layout : data->layouts) {
        if (layout.em == em && layout.style == style)
            return layout.box;
    }
    const std::shared_ptr<const MathFont> font = MathFont::defaultFont();
    MathBox box = MathLayout(*font, em).layout(equation.tree(), style);
    if (data->layouts.size() >= 4)
        data->layouts.removeFirst();
    data->layouts.append({em, style, box});
    return box;
}

EquationMetrics equationMetrics(const Equation &equation, qreal pointSize, qreal dpi, MathStyle style)
{
    const MathBox box = equationBox(equation, pointSize, dpi, style);
    return {box.width, box.ascent, box.descent};
}

void paintEquation(QPainter &painter, QPointF baselineOrigin, const Equation &equation, qreal pointSize,
                   qreal dpi, const QColor &color, MathStyle style)
{
    MathPainter::paint(painter, equationBox(equation, pointSize, dpi, style), *MathFont::defaultFont(),
                       baselineOrigin, color);
}

QImage equationImage(const Equation &equation, qreal pointSize, qreal scale, const QColor &color,
                     MathStyle style)
{
    const MathBox box = equationBox(equation, pointSize, 96 * scale, style);
    const int margin = 1;
    const QSize size(int(std::ceil(box.width)) + 2 * margin,
                     int(std::ceil(box.ascent + box.descent)) + 2 * margin);
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    MathPainter::paint(painter, box, *MathFont::defaultFont(), QPointF(margin, margin + box.ascent), color);
    return image;
}

QByteArray equationSvg(const Equation &equation, qreal pointSize, MathStyle style)
{
    return MathPainter::svg(equationBox(equation, pointSize, 72, style), *MathFont::defaultFont(), Qt::black);
}
