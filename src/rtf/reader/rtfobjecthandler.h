#pragma once

#include "rtf/reader/rtfkeywords.h"
#include "rtf/richdocument.h"

#include <QByteArray>

class RtfImageDecoder;
#include <QString>

#include <memory>

// Collects one {\object …} group. Objects of other applications cannot be activated here, so
// the whole group is kept verbatim and shown through its \result picture.
class RtfObjectHandler
{
public:
    void begin(qsizetype groupStart);
    bool active() const { return m_active; }
    void controlWord(RtfKeyword keyword, std::int64_t parameter);
    void classNameText(const char *bytes, qsizetype length);
    void nameText(const char *bytes, qsizetype length);
    void resultPicture(std::shared_ptr<EmbeddedObject> picture);
    std::shared_ptr<EmbeddedObject> finish(const QByteArray &source, qsizetype groupEnd,
                                           RtfImageDecoder &images);

private:
    bool m_active = false;
    qsizetype m_groupStart = 0;
    QByteArray m_className;
    QByteArray m_name;
    std::shared_ptr<EmbeddedObject> m_result;
    std::int64_t m_width = 0;
    std::int64_t m_height = 0;
    std::int64_t m_scaleX = 100;
    std::int64_t m_scaleY = 100;
};
