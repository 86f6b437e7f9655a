#include "equationpreview.h"

#include "math/equation.h"

#include <QPainter>

EquationPreview::EquationPreview(double pointSize, QWidget *parent)
    : QWidget(parent), m_pointSize(2 * qBound(4.0, pointSize, 72.0))
{
    setObjectName(QStringLiteral("apercu"));
    setAccessibleName(tr("Aperçu"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void EquationPreview::setLinear(const QString &linear)
{
    m_equation = Equation::fromLinear(linear);
    setAccessibleDescription(linear);
    update();
}

QSize EquationPreview::sizeHint() const
{
    // Room for a fraction over a fraction at the preview's size, and for a long line.
    const int line = qRound(m_pointSize * logicalDpiY() / 72.0);
    return QSize(qMax(360, line * 14), line * 4);
}

QSize EquationPreview::minimumSizeHint() const
{
    const int line = qRound(m_pointSize * logicalDpiY() / 72.0);
    return QSize(200, line * 3);
}

void EquationPreview::paintEvent(QPaintEvent *)
{
    if (m_equation.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal dpi = logicalDpiY();
    const EquationMetrics metrics = equationMetrics(m_equation, m_pointSize, dpi, MathStyle::Display);
    // Too wide for the box: drawn smaller rather than cut, so the whole equation can be checked.
    const qreal room = width() - 16.0;
    const qreal scale = metrics.width > room && metrics.width > 0 ? room / metrics.width : 1.0;
    const qreal height = (metrics.ascent + metrics.descent) * scale;
    painter.translate((width() - metrics.width * scale) / 2,
                      (this->height() - height) / 2 + metrics.ascent * scale);
    painter.scale(scale, scale);
    paintEquation(painter, QPointF(0, 0), m_equation, m_pointSize, dpi, QColor(Qt::black),
                  MathStyle::Display);
}
