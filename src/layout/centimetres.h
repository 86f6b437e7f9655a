#pragma once

#include <QChar>
#include <QString>

// Centimetre values as the tabs and margins dialogs show and read them. Both dialogs convert
// with 38.3 editor pixels to the centimetre, a little more than the ruler's 38.2: a position
// that goes through a dialog moves by a fraction of a pixel, as teachers' files expect.
namespace Centimetres {

inline constexpr double dialogPixelsPerCm = 38.3;

// "0.##": at least one integer digit, at most two decimals (rounded), no trailing zeros, and
// the separator written even when no decimal follows: 2 cm reads "2," with a decimal comma.
QString format(double centimetres, QChar decimalPoint);

// The value of the longest leading part of `text` that forms a number, with '.' as the
// separator; empty or non-numeric text reads as 0 ("2.5cm" is 2.5, "abc" is 0).
double leadingNumber(const QString &text);

// `text` read as the dialogs write it: the decimals after a comma or a point (whichever the
// user's settings write), a trailing separator allowed ("2," is 2). False when the text is not
// such a number; `value` is then left alone.
bool readLocal(const QString &text, double *value);

// The user's decimal separator.
QChar userDecimalPoint();

} // namespace Centimetres
