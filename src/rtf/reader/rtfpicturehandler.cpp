#include "rtf/reader/rtfpicturehandler.h"

#include "rtf/reader/rtfimagedecoder.h"
#include "rtf/reader/rtftokenizer.h"

#include <algorithm>

namespace {

// Display sizes beyond 100 inches are certainly damage; clamping keeps arithmetic and
// placeholder images small.
constexpr std::int64_t MaxTwips = 144000;

int clampTwips(std::int64_t twips)
{
    return int(std::clamp<std::int64_t>(twips, 1, MaxTwips));
}

std::int64_t scaled(std::int64_t value, std::int64_t percent)
{
    return value * (percent > 0 ? percent : 100) / 100;
}

} // namespace

void RtfPictureHandler::begin(qsizetype groupStart)
{
    *this = RtfPictureHandler{};
    m_groupStart = groupStart;
}

void RtfPictureHandler::controlWord(RtfKeyword keyword, std::string_view word, bool hasParameter,
                                    std::int64_t parameter)
{
    const std::int64_t value = std::clamp<std::int64_t>(parameter, -1'000'000'000, 1'000'000'000);
    switch (keyword) {
    case RtfKeyword::PicFormat:
        if (word == "pngblip")
            m_format = Format::Png;
        else if (word == "jpegblip")
            m_format = Format::Jpeg;
        else if (word == "emfblip")
            m_format = Format::Emf;
        else if (word == "wmetafile")
            m_format = Format::Wmf;
        else if (word == "dibitmap")
            m_format = Format::Dib;
        else if (word == "wbitmap")
            m_format = Format::DeviceBitmap;
        else if (word == "macpict")
            m_format = Format::MacPict;
        else if (word == "pmmetafile")
            m_format = Format::OS2Metafile;
        break;
    case RtfKeyword::PicWidth:
        m_width = value;
        break;
    case RtfKeyword::PicHeight:
        m_height = value;
        break;
    case RtfKeyword::PicGoalWidth:
        m_goalWidth = value;
        break;
    case RtfKeyword::PicGoalHeight:
        m_goalHeight = value;
        break;
    case RtfKeyword::PicScaleX:
        m_scaleX = hasParameter ? value : 100;
        break;
    case RtfKeyword::PicScaleY:
        m_scaleY = hasParameter ? value : 100;
        break;
    case RtfKeyword::BitmapBitsPerPixel:
        m_bitsPerPixel = int(std::clamp<std::int64_t>(value, 1, 32));
        break;
    case RtfKeyword::BitmapWidthBytes:
        m_widthBytes = int(std::clamp<std::int64_t>(value, 0, 1'000'000));
        break;
    default:
        break;
    }
}

void RtfPictureHandler::hexText(const char *bytes, qsizetype length)
{
    if (m_hexStopped)
        return;
    for (qsizetype i = 0; i < length; ++i) {
        const char c = bytes[i];
        const int value = RtfTokenizer::hexDigitValue(c);
        if (value < 0) {
            if (c == ' ' || c == '\t')
                continue;
            m_hexStopped = true;
            return;
        }
        if (m_nibble < 0) {
            m_nibble = value;
        } else {
            m_data.append(char(m_nibble * 16 + value));
            m_nibble = -1;
        }
    }
}

void RtfPictureHandler::binary(const char *bytes, qsizetype length)
{
    m_data.append(bytes, length);
}

bool RtfPictureHandler::isMetafile() const
{
    return m_format == Format::Wmf || m_format == Format::Emf || m_format == Format::OS2Metafile ||
           m_format == Format::MacPict;
}

void RtfPictureHandler::setDisplaySize(EmbeddedObject &object, QSize imagePixels) const
{
    // \picw/\pich are pixels for bitmaps but hundredths of a millimetre for metafiles.
    auto natural = [this](std::int64_t declared, int pixels) -> std::int64_t {
        if (declared > 0)
            return isMetafile() ? declared * 1440 / 2540 : declared * 15;
        return std::int64_t(pixels) * 15;
    };
    const std::int64_t width = m_goalWidth > 0 ? m_goalWidth : natural(m_width, imagePixels.width());
    const std::int64_t height = m_goalHeight > 0 ? m_goalHeight : natural(m_height, imagePixels.height());
    object.widthTwips = clampTwips(scaled(width, m_scaleX));
    object.heightTwips = clampTwips(scaled(height, m_scaleY));
}

std::shared_ptr<EmbeddedObject> RtfPictureHandler::finish(const QByteArray &source, qsizetype groupEnd,
                                                          RtfImageDecoder &images)
{
    auto object = std::make_shared<EmbeddedObject>();
    QImage image;
    switch (m_format) {
    case Format::Png:
    case Format::Jpeg: {
        const QByteArray format = m_format == Format::Png ? "png" : "jpeg";
        image = images.decode(m_data, format);
        if (!image.isNull()) {
            object->imageData = m_data;
            object->imageFormat = format;
        }
        break;
    }
    case Format::Dib:
        image = images.decodeDib(m_data);
        break;
    case Format::DeviceBitmap:
        image = images.decodeDeviceBitmap(m_data, int(std::clamp<std::int64_t>(m_width, 0, 100000)),
                                          int(std::clamp<std::int64_t>(m_height, 0, 100000)), m_bitsPerPixel,
                                          m_widthBytes);
        break;
    default:
        break;
    }
    setDisplaySize(*object, image.size());
    if (!image.isNull()) {
        object->kind = EmbeddedObject::Kind::Picture;
        object->image = image;
        return object;
    }
    // Metafiles, and pictures whose data we could not decode, go back to the file unchanged.
    object->kind = EmbeddedObject::Kind::Verbatim;
    object->verbatimRtf = source.mid(m_groupStart, groupEnd - m_groupStart);
    QString label;
    switch (m_format) {
    case Format::Emf:
        label = QStringLiteral("EMF");
        break;
    case Format::Wmf:
        label = QStringLiteral("WMF");
        break;
    case Format::MacPict:
        label = QStringLiteral("PICT");
        break;
    case Format::OS2Metafile:
        label = QStringLiteral("Métafichier");
        break;
    default:
        label = QStringLiteral("Image");
        break;
    }
    object->image = images.placeholder(QSize(object->widthTwips / 15, object->heightTwips / 15), label);
    return object;
}
