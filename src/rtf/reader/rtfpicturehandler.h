#pragma once

#include "rtf/reader/rtfkeywords.h"
#include "rtf/richdocument.h"

#include <QByteArray>

class RtfImageDecoder;

#include <memory>
#include <string_view>

// Collects one {\pict …} group: its format, sizes and data (hexadecimal or \bin), and turns
// it into an EmbeddedObject when the group closes.
class RtfPictureHandler
{
public:
    void begin(qsizetype groupStart);
    void controlWord(RtfKeyword keyword, std::string_view word, bool hasParameter, std::int64_t parameter);
    void hexText(const char *bytes, qsizetype length);
    void binary(const char *bytes, qsizetype length);
    // `source` is the whole RTF, `groupEnd` one past the group's closing brace: pictures we
    // cannot show natively keep those bytes verbatim.
    std::shared_ptr<EmbeddedObject> finish(const QByteArray &source, qsizetype groupEnd,
                                           RtfImageDecoder &images);

private:
    enum class Format { None, Png, Jpeg, Emf, Wmf, Dib, DeviceBitmap, MacPict, OS2Metafile };
    bool isMetafile() const;
    void setDisplaySize(EmbeddedObject &object, QSize imagePixels) const;

    qsizetype m_groupStart = 0;
    Format m_format = Format::None;
    QByteArray m_data;
    int m_nibble = -1;         // the first hex digit of a pair still waiting for its second
    bool m_hexStopped = false; // an invalid character ended the hexadecimal data
    std::int64_t m_width = 0;
    std::int64_t m_height = 0;
    std::int64_t m_goalWidth = 0;
    std::int64_t m_goalHeight = 0;
    std::int64_t m_scaleX = 100;
    std::int64_t m_scaleY = 100;
    int m_bitsPerPixel = 1;
    int m_widthBytes = 0;
};
