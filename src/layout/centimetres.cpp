#include "centimetres.h"

#include <QLocale>

#include <cmath>

namespace Centimetres {

QString format(double centimetres, QChar decimalPoint)
{
    const double hundredths = std::round(centimetres * 100.0);
    const bool negative = hundredths < 0;
    const qint64 magnitude = qint64(std::fabs(hundredths));
    QString text = QString::number(magnitude / 100);
    text.append(decimalPoint);
    QString decimals = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    text.append(decimals);
    return negative && magnitude != 0 ? QLatin1Char('-') + text : text;
}

double leadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed[end] == QLatin1Char('-') || trimmed[end] == QLatin1Char('+')))
        ++end;
    bool point = false;
    bool digits = false;
    for (; end < trimmed.size(); ++end) {
        const QChar c = trimmed[end];
        if (c.isDigit() && c.unicode() < 128) {
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double value = trimmed.left(end).toDouble(&ok);
    return ok ? value : 0;
}

bool readLocal(const QString &text, double *value)
{
    QString normal = text.trimmed();
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    if (normal.endsWith(QLatin1Char('.')))
        normal.chop(1);
    if (normal.isEmpty())
        return false;
    for (qsizetype i = 0; i < normal.size(); ++i) {
        const QChar c = normal[i];
        const bool sign = i == 0 && c == QLatin1Char('-');
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && !sign)
            return false;
    }
    bool ok = false;
    const double read = normal.toDouble(&ok);
    if (ok && value)
        *value = read;
    return ok;
}

QChar userDecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

} // namespace Centimetres
