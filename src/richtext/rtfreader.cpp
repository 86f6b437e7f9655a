#include "rtfreader.h"

bool RtfReader::looksLikeRtf(const QByteArray &bytes)
{
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

RtfReadResult RtfReader::read(const QByteArray &)
{
    // Placeholder until the reader lands.
    return {RichDocument{}, false, QStringLiteral("Lecture RTF indisponible")};
}
