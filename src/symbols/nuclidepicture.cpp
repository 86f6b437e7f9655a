#include "nuclidepicture.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

// The ion picture's units: twips, drawn on a 96-dpi canvas.
constexpr double kTwipsPerPixel = 15.0;

} // namespace

QImage NuclidePicture::compose(const IonFormula &formula, const IonFormulaStyle &style,
                               qreal devicePixelRatio)
{
    const double s = style.size;
    const IonFormulaLayout layout = IonFormulaPicture::measure(formula, style);
    const QSize pixels(int(std::lround(layout.widthTwips() / kTwipsPerPixel)),
                       int(std::lround(layout.heightTwips(s) / kTwipsPerPixel)));
    QImage image = IonFormulaPicture::canvas(pixels, devicePixelRatio);
    QPainter painter(&image);
    painter.setPen(QColor::fromRgb(style.colour));
    const auto at = [](double x, double y) { return QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel); };
    const QFont baseFont = IonFormulaPicture::font(style, s);
    const QFont scriptFont = IonFormulaPicture::font(style, 0.8 * s);
    const QFontMetricsF scriptMetrics(scriptFont, &image);
    const double baseAscent = QFontMetricsF(baseFont, &image).ascent();
    const double scriptAscent = scriptMetrics.ascent();
    // Right-aligned: each number ends where the symbol begins, 2 twips of the ion's 4 between.
    const double column = layout.scriptWidth + 2;
    const auto rightAligned = [&](const QString &text) {
        return column - std::lround(scriptMetrics.horizontalAdvance(text) * kTwipsPerPixel);
    };

    painter.setFont(baseFont);
    painter.drawText(at(column + 2, 4 * s) + QPointF(0, baseAscent), formula.base);
    painter.setFont(scriptFont);
    painter.save();
    // The atomic number is cut at the bottom of the symbol's line box, as the ion's count is.
    painter.setClipRect(QRectF(at(0, 4 * s), at(layout.widthTwips(), 4 * s + layout.lineHeight)));
    painter.drawText(at(rightAligned(formula.lower), 10 * s + 15) + QPointF(0, scriptAscent), formula.lower);
    painter.restore();
    painter.drawText(at(rightAligned(formula.upper), -45) + QPointF(0, scriptAscent), formula.upper);
    return image;
}
