#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

// The character format an ion formula is drawn in: the format of exo's selection when the
// composer opened.
struct IonFormulaStyle
{
    QString fontName;
    double size = 10; // points, the base's size s; the scripts are at 0.8 s
    bool bold = false;
    bool italic = false;
    QRgb colour = qRgb(0, 0, 0);
};

// What the user typed: taken as it is, no syntax.
struct IonFormula
{
    QString base;  // `baset`, for example "SO"
    QString upper; // `Text2`, the charge, for example "2-"
    QString lower; // `Text3`, the atom count, for example "4"
};

// The measures the picture is built from, in twips (s used as a plain number of twips where
// the composition adds it to a position).
struct IonFormulaLayout
{
    int baseWidth = 0;   // W: the base at size s
    int scriptWidth = 0; // X: the wider of the two scripts at size 0.8 s
    int lineHeight = 0;  // H: the base's line height at size s
    int widthTwips() const { return baseWidth + scriptWidth + 4; }
    int heightTwips(double size) const { return lineHeight + int(4 * size + 0.5); }
};

// The polyatomic ion picture: on white, the base with its line box at (0, 4 s), the lower
// script at (W, 10 s + 15) cut at the bottom of the base's line box, the upper script at
// (W, -45), so its top 45 twips fall outside. One drawing gives what the original two canvases
// and their clipboard trips gave: the first canvas (base and lower script, H high) pasted at
// (0, 4 s) into the second, then the upper script over it.
class IonFormulaPicture
{
public:
    // Fonts are measured at 96 dots per inch, 15 twips per pixel, whatever the screen.
    static QFont font(const IonFormulaStyle &style, double points);
    static IonFormulaLayout measure(const IonFormula &formula, const IonFormulaStyle &style);
    // The picture is (W + X + 4) / 15 by (H + 4 s) / 15 pixels of 96 dpi, drawn at
    // `devicePixelRatio` device pixels per pixel and carrying that ratio, so a 2x screen gets
    // a sharp picture of the same size in points.
    static QImage compose(const IonFormula &formula, const IonFormulaStyle &style,
                          qreal devicePixelRatio = 1);
    // A 96-dpi image of that many pixels, to measure and draw on.
    static QImage canvas(QSize pixels, qreal devicePixelRatio);
};
