#include "rtf/reader/rtfimagedecoder.h"

#include <QBuffer>
#include <QColor>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <algorithm>

namespace {

bool acceptableSize(QSize size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= RtfImageDecoder::MaxDimension &&
           size.height() <= RtfImageDecoder::MaxDimension &&
           qint64(size.width()) * size.height() <= RtfImageDecoder::MaxPixels;
}

quint32 readLe32(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 readLe16(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

} // namespace

bool RtfImageDecoder::spend(QSize size)
{
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > m_budget)
        return false;
    m_budget -= pixels;
    return true;
}

QImage RtfImageDecoder::decode(const QByteArray &data, const QByteArray &format)
{
    if (data.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The header's size is checked before any pixel memory is asked for.
    if (!acceptableSize(reader.size()) || !spend(reader.size()))
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QImage RtfImageDecoder::decodeDib(const QByteArray &data)
{
    constexpr qsizetype CoreHeader = 12;
    if (data.size() < CoreHeader)
        return {};
    const quint32 headerSize = readLe32(data, 0);
    if (headerSize < CoreHeader || headerSize > quint32(data.size()))
        return {};
    quint32 colors = 0;
    quint32 bitsPerPixel = 0;
    quint32 masks = 0;
    if (headerSize == CoreHeader) {
        bitsPerPixel = readLe16(data, 10);
        colors = bitsPerPixel <= 8 ? (1u << bitsPerPixel) : 0;
        colors *= 3; // RGBTRIPLE entries counted in 4-byte units below
        colors = (colors + 3) / 4;
    } else {
        if (headerSize < 40)
            return {};
        bitsPerPixel = readLe16(data, 14);
        const quint32 compression = readLe32(data, 16);
        const quint32 used = readLe32(data, 32);
        colors = used != 0 ? used : (bitsPerPixel <= 8 ? (1u << bitsPerPixel) : 0);
        if (headerSize == 40 && (compression == 3 || compression == 6))
            masks = compression == 3 ? 12 : 16;
    }
    if (colors > 65536)
        return {};
    // Qt reads BMP files: give the DIB the 14-byte file header it lacks.
    const quint64 offset = 14 + quint64(headerSize) + masks + quint64(colors) * 4;
    const quint64 fileSize = 14 + quint64(data.size());
    if (offset > fileSize)
        return {};
    QByteArray file;
    file.reserve(qsizetype(fileSize));
    file.append("BM");
    char field[4];
    qToLittleEndian<quint32>(quint32(fileSize), field);
    file.append(field, 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(quint32(offset), field);
    file.append(field, 4);
    file.append(data);
    return decode(file, "bmp");
}

QImage RtfImageDecoder::decodeDeviceBitmap(const QByteArray &data, int width, int height, int bitsPerPixel,
                                           int widthBytes)
{
    if (!acceptableSize(QSize(width, height)))
        return {};
    const qint64 minimumStride = (qint64(width) * bitsPerPixel + 7) / 8;
    const qint64 stride = std::max<qint64>(widthBytes, minimumStride);
    if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return {};
    if (stride * height > data.size() || !spend(QSize(width, height)))
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    for (int y = 0; y < height; ++y) {
        const uchar *row = bytes + stride * y;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitsPerPixel == 1) {
                const bool set = row[x / 8] & (0x80 >> (x % 8));
                out[x] = set ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const uchar *pixel = row + x * (bitsPerPixel / 8);
                out[x] = qRgb(pixel[2], pixel[1], pixel[0]);
            }
        }
    }
    return image;
}

QImage RtfImageDecoder::placeholder(QSize pixels, const QString &label)
{
    QSize size(std::clamp(pixels.width(), 1, MaxPlaceholderSide),
               std::clamp(pixels.height(), 1, MaxPlaceholderSide));
    if (!spend(size))
        size = QSize(1, 1);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xD0, 0xD0, 0xD0));
    // Drawing text needs the font system, which only a GUI application has; tools and
    // fuzzers read documents without one.
    if (!label.isEmpty() && size.width() > 1 &&
        qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QPainter painter(&image);
        painter.setPen(QColor(0x50, 0x50, 0x50));
        painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
        painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextWordWrap, label);
    }
    return image;
}
