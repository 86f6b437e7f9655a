#include "rtf/reader/rtfobjecthandler.h"

#include "rtf/reader/rtfimagedecoder.h"

#include <QUrl>

#include <algorithm>

namespace {

constexpr std::int64_t MaxTwips = 144000;
constexpr qsizetype MaxClassName = 256;
constexpr qsizetype MaxName = 4096;

} // namespace

void RtfObjectHandler::begin(qsizetype groupStart)
{
    *this = RtfObjectHandler{};
    m_active = true;
    m_groupStart = groupStart;
}

void RtfObjectHandler::controlWord(RtfKeyword keyword, std::int64_t parameter)
{
    const std::int64_t value = std::clamp<std::int64_t>(parameter, 0, 1'000'000'000);
    switch (keyword) {
    case RtfKeyword::ObjWidth:
        m_width = value;
        break;
    case RtfKeyword::ObjHeight:
        m_height = value;
        break;
    case RtfKeyword::ObjScaleX:
        m_scaleX = value > 0 ? value : 100;
        break;
    case RtfKeyword::ObjScaleY:
        m_scaleY = value > 0 ? value : 100;
        break;
    default:
        break;
    }
}

void RtfObjectHandler::classNameText(const char *bytes, qsizetype length)
{
    m_className.append(bytes, std::min(length, MaxClassName - m_className.size()));
}

void RtfObjectHandler::nameText(const char *bytes, qsizetype length)
{
    m_name.append(bytes, std::min(length, MaxName - m_name.size()));
}

void RtfObjectHandler::resultPicture(std::shared_ptr<EmbeddedObject> picture)
{
    if (!m_result) // \shppict and its fallback may both be there: the first one is the best
        m_result = std::move(picture);
}

std::shared_ptr<EmbeddedObject> RtfObjectHandler::finish(const QByteArray &source, qsizetype groupEnd,
                                                         RtfImageDecoder &images)
{
    m_active = false;
    auto object = std::make_shared<EmbeddedObject>();
    object->kind = EmbeddedObject::Kind::Verbatim;
    object->verbatimRtf = source.mid(m_groupStart, groupEnd - m_groupStart);
    object->className = QString::fromLatin1(m_className).trimmed();
    // Ours write the linked file percent-encoded; other programs' names ("_1234567") read as
    // a file that is not there, which only means the object cannot be opened for editing.
    object->sourcePath = QUrl::fromPercentEncoding(m_name.trimmed());
    if (m_result) {
        object->image = m_result->image;
        object->widthTwips = m_result->widthTwips;
        object->heightTwips = m_result->heightTwips;
    }
    if (!m_result && m_width > 0 && m_height > 0) {
        object->widthTwips = int(std::clamp<std::int64_t>(m_width * m_scaleX / 100, 1, MaxTwips));
        object->heightTwips = int(std::clamp<std::int64_t>(m_height * m_scaleY / 100, 1, MaxTwips));
    }
    if (object->widthTwips <= 0 || object->heightTwips <= 0) {
        object->widthTwips = 1440;
        object->heightTwips = 1440;
    }
    if (object->image.isNull()) {
        const QString label = object->className.isEmpty() ? QStringLiteral("Objet") : object->className;
        object->image = images.placeholder(QSize(object->widthTwips / 15, object->heightTwips / 15), label);
    }
    return object;
}
