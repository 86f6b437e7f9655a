#include "ionformulapicture.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kTwipsPerPixel = 15.0;
// 96 dots per inch, so that a font's point size maps to pixels as on the design screen.
constexpr int kDotsPerMeter = 3780;

int twips(double pixels)
{
    return int(std::lround(pixels * kTwipsPerPixel));
}

} // namespace

QImage IonFormulaPicture::canvas(QSize pixels, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    QImage image(std::max(1, int(std::lround(pixels.width() * ratio))),
                 std::max(1, int(std::lround(pixels.height() * ratio))), QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

QFont IonFormulaPicture::font(const IonFormulaStyle &style, double points)
{
    QFont font(style.fontName);
    font.setPointSizeF(points > 0 ? points : 1);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

IonFormulaLayout IonFormulaPicture::measure(const IonFormula &formula, const IonFormulaStyle &style)
{
    QImage device = canvas(QSize(1, 1), 1);
    const QFontMetricsF base(font(style, style.size), &device);
    const QFontMetricsF script(font(style, 0.8 * style.size), &device);
    IonFormulaLayout layout;
    layout.baseWidth = twips(base.horizontalAdvance(formula.base));
    layout.lineHeight = twips(base.height());
    layout.scriptWidth = std::max(twips(script.horizontalAdvance(formula.upper)),
                                  twips(script.horizontalAdvance(formula.lower)));
    return layout;
}

QImage IonFormulaPicture::compose(const IonFormula &formula, const IonFormulaStyle &style,
                                  qreal devicePixelRatio)
{
    const double s = style.size;
    const IonFormulaLayout layout = measure(formula, style);
    const QSize pixels(int(std::lround(layout.widthTwips() / kTwipsPerPixel)),
                       int(std::lround(layout.heightTwips(s) / kTwipsPerPixel)));
    QImage image = canvas(pixels, devicePixelRatio);
    QPainter painter(&image);
    painter.setPen(QColor::fromRgb(style.colour));
    // Positions below are twips; the painter works in 96-dpi pixels.
    const auto at = [](double x, double y) { return QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel); };
    const QFont baseFont = font(style, s);
    const QFont scriptFont = font(style, 0.8 * s);
    const double baseAscent = QFontMetricsF(baseFont, &image).ascent();
    const double scriptAscent = QFontMetricsF(scriptFont, &image).ascent();

    painter.save();
    // The first canvas: the base's line box, which cuts the lower script off at its bottom.
    painter.setClipRect(QRectF(at(0, 4 * s), at(layout.widthTwips(), 4 * s + layout.lineHeight)));
    painter.setFont(baseFont);
    painter.drawText(at(0, 4 * s) + QPointF(0, baseAscent), formula.base);
    painter.setFont(scriptFont);
    painter.drawText(at(layout.baseWidth, 10 * s + 15) + QPointF(0, scriptAscent), formula.lower);
    painter.restore();

    painter.setFont(scriptFont);
    painter.drawText(at(layout.baseWidth, -45) + QPointF(0, scriptAscent), formula.upper);
    return image;
}
