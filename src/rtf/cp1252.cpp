#include "rtf/cp1252.h"

#include <array>

namespace {

// 0x80-0x9F; the undefined 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their C1 code points.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

namespace Cp1252 {

QChar toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHigh[byte - 0x80]);
    return QChar(byte);
}

int fromUnicode(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < int(kHigh.size()); ++i) {
        if (kHigh[i] == u)
            return 0x80 + i;
    }
    return -1;
}

bool canEncode(QChar c)
{
    return fromUnicode(c) >= 0;
}

QString decode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes)
        *out++ = toUnicode(static_cast<unsigned char>(b));
    return text;
}

QByteArray encode(const QString &text, char replacement)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const int b = fromUnicode(c);
        *out++ = b < 0 ? replacement : static_cast<char>(b);
    }
    return bytes;
}

bool canEncode(const QString &text)
{
    for (const QChar c : text) {
        if (fromUnicode(c) < 0)
            return false;
    }
    return true;
}

} // namespace Cp1252
