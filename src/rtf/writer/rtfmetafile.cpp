#include "rtf/writer/rtfmetafile.h"

#include <QPainter>

namespace {

// Little-endian writers: every WMF and DIB field is.
void word(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void dword(QByteArray &out, quint32 value)
{
    word(out, quint16(value & 0xFFFF));
    word(out, quint16(value >> 16));
}

// Record function numbers and constants of the metafile format.
constexpr quint16 SetMapMode = 0x0103;
constexpr quint16 SetWindowOrg = 0x020B;
constexpr quint16 SetWindowExt = 0x020C;
constexpr quint16 StretchDib = 0x0F43;
constexpr quint16 MapModeAnisotropic = 8;
constexpr quint32 RasterSourceCopy = 0x00CC0020;

// A bottom-up 24-bit DIB: its BITMAPINFOHEADER and rows padded to four bytes.
QByteArray dib(const QImage &image)
{
    const int width = image.width();
    const int height = image.height();
    const int stride = (width * 3 + 3) & ~3;
    QByteArray out;
    out.reserve(40 + stride * height);
    dword(out, 40);
    dword(out, quint32(width));
    dword(out, quint32(height));
    word(out, 1);  // planes
    word(out, 24); // bits per pixel
    dword(out, 0); // no compression
    dword(out, quint32(stride * height));
    dword(out, 3780); // 96 dots an inch, in dots a metre
    dword(out, 3780);
    dword(out, 0);
    dword(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        out.append(QByteArray(stride - width * 3, '\0'));
    }
    return out;
}

} // namespace

QByteArray RtfMetafile::fromImage(const QImage &image)
{
    if (image.isNull() || image.width() > 32767 || image.height() > 32767)
        return {};
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter(&opaque).drawImage(0, 0, image);
    const QByteArray bitmap = dib(opaque);
    const auto width = quint16(image.width());
    const auto height = quint16(image.height());

    // Each record: its size in 16-bit words, its function, its parameters.
    QByteArray records;
    dword(records, 4);
    word(records, SetMapMode);
    word(records, MapModeAnisotropic);
    dword(records, 5);
    word(records, SetWindowOrg);
    word(records, 0); // y, then x: parameters go in reverse order
    word(records, 0);
    dword(records, 5);
    word(records, SetWindowExt);
    word(records, height);
    word(records, width);
    const quint32 stretchWords = 3 + 2 + 9 + quint32(bitmap.size() + 1) / 2;
    dword(records, stretchWords);
    word(records, StretchDib);
    dword(records, RasterSourceCopy);
    word(records, 0);      // colours: RGB
    word(records, height); // source rectangle, then destination, each as height, width, y, x
    word(records, width);
    word(records, 0);
    word(records, 0);
    word(records, height);
    word(records, width);
    word(records, 0);
    word(records, 0);
    records.append(bitmap);
    if (bitmap.size() % 2 != 0)
        records.append('\0');
    dword(records, 3); // end of file
    word(records, 0);

    QByteArray out;
    word(out, 1);      // in memory
    word(out, 9);      // header size in words
    word(out, 0x0300); // version
    dword(out, quint32((18 + records.size()) / 2));
    word(out, 0); // no objects
    dword(out, stretchWords);
    word(out, 0);
    out.append(records);
    return out;
}
