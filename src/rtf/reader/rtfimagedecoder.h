#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Turns picture bytes found in RTF into images, refusing anything whose declared size would
// need an unreasonable allocation. One decoder serves one document and keeps a budget of
// pixels for it: a small file may declare many huge pictures (a uniform 16000-pixel PNG
// compresses to a few kilobytes), and each alone would be acceptable.
class RtfImageDecoder
{
public:
    // PNG, JPEG or any format Qt reads; a null image when the data is bad or too large.
    QImage decode(const QByteArray &data, const QByteArray &format);
    // A Windows device-independent bitmap: info header, palette and pixels, no file header.
    QImage decodeDib(const QByteArray &data);
    // A Windows device-dependent bitmap (\wbitmap): bare rows of 1, 24 or 32 bits per pixel.
    QImage decodeDeviceBitmap(const QByteArray &data, int width, int height, int bitsPerPixel,
                              int widthBytes);
    // A grey box with a caption, for pictures and objects that cannot be shown; at most
    // MaxPlaceholderSide pixels a side (the display scales it to the object's size), and a
    // bare small box once the budget is spent.
    QImage placeholder(QSize pixels, const QString &label);

    static constexpr int MaxDimension = 16384;
    static constexpr qint64 MaxPixels = 40'000'000;
    static constexpr qint64 MaxDocumentPixels = 64'000'000;
    static constexpr int MaxPlaceholderSide = 1024;

private:
    bool spend(QSize size);

    qint64 m_budget = MaxDocumentPixels;
};
