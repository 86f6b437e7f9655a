#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Turns picture bytes found in RTF into images, refusing anything whose declared size would
// need an unreasonable allocation.
class RtfImageDecoder
{
public:
    // PNG, JPEG or any format Qt reads; a null image when the data is bad or too large.
    static QImage decode(const QByteArray &data, const QByteArray &format);
    // A Windows device-independent bitmap: info header, palette and pixels, no file header.
    static QImage decodeDib(const QByteArray &data);
    // A Windows device-dependent bitmap (\wbitmap): bare rows of 1, 24 or 32 bits per pixel.
    static QImage decodeDeviceBitmap(const QByteArray &data, int width, int height, int bitsPerPixel,
                                     int widthBytes);
    // A grey box with a caption, for pictures and objects that cannot be shown.
    static QImage placeholder(QSize pixels, const QString &label);

    static constexpr int MaxDimension = 16384;
    static constexpr qint64 MaxPixels = 40'000'000;
};
