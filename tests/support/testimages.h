#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

// A picture's bytes in a file format ("PNG", "JPEG"), as a file or an RTF group holds them.
inline QByteArray encodedImage(const QImage &image, const char *format = "PNG")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A PNG of one colour.
inline QByteArray pngBytes(int width, int height, const QColor &colour = Qt::red)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return encodedImage(image);
}
