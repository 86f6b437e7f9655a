#include "rtf/rtfreader.h"

#include "rtf/reader/rtfparser.h"

namespace {

qsizetype rtfStart(const QByteArray &bytes)
{
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i;
}

} // namespace

bool RtfReader::looksLikeRtf(const QByteArray &bytes)
{
    return bytes.mid(rtfStart(bytes), 5) == "{\\rtf";
}

RtfReadResult RtfReader::read(const QByteArray &rtf)
{
    if (!looksLikeRtf(rtf))
        return {RichDocument{}, false, QStringLiteral("Le texte n'est pas au format RTF.")};
    RtfParser parser(rtf, rtfStart(rtf));
    return {parser.parse(), true, {}};
}
