#include "rtf/rtfcodepages.h"

#include "rtf/cp1252.h"

#include <QByteArray>
#include <QStringDecoder>

namespace {

const char *codecName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "windows-31j";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
    case 1251:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
        return nullptr; // built from the number below
    case 10000:
        return "macintosh";
    default:
        return nullptr;
    }
}

QByteArray codecFor(int codePage)
{
    if (const char *name = codecName(codePage))
        return name;
    if (codePage >= 1250 && codePage <= 1258)
        return "windows-" + QByteArray::number(codePage);
    return {};
}

} // namespace

RtfCodePages::RtfCodePages() = default;
RtfCodePages::~RtfCodePages() = default;

int RtfCodePages::codePageForCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

bool RtfCodePages::isDoubleByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool RtfCodePages::isLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

QChar RtfCodePages::decode(int codePage, unsigned char byte)
{
    if (byte < 0x80)
        return QChar(byte);
    if (codePage == m_lastCodePage)
        return QChar((*m_lastTable)[byte]);
    const Table &t = table(codePage);
    m_lastCodePage = codePage;
    m_lastTable = &t;
    return QChar(t[byte]);
}

QChar RtfCodePages::decodePair(int codePage, unsigned char lead, unsigned char trail)
{
    QStringDecoder decoder(codecFor(codePage).constData());
    if (!decoder.isValid())
        return QLatin1Char('?');
    const char bytes[2] = {char(lead), char(trail)};
    const QString text = decoder.decode(QByteArrayView(bytes, 2));
    if (text.size() != 1 || text.at(0) == QChar::ReplacementCharacter)
        return QLatin1Char('?');
    return text.at(0);
}

const RtfCodePages::Table &RtfCodePages::table(int codePage)
{
    auto &slot = m_tables[codePage];
    if (slot)
        return *slot;
    slot = std::make_unique<Table>();
    Table &t = *slot;
    for (int b = 0; b < 256; ++b)
        t[b] = Cp1252::toUnicode(static_cast<unsigned char>(b)).unicode();
    const QByteArray name = codecFor(codePage);
    // Unknown code pages and double-byte ones (whose single bytes we only see when a pair is
    // broken) keep the Windows-1252 meaning, the most likely intent of a Western writer.
    if (name.isEmpty() || isDoubleByte(codePage) || codePage == 1252)
        return t;
    QStringDecoder probe(name.constData());
    if (!probe.isValid())
        return t;
    for (int b = 0x80; b < 256; ++b) {
        QStringDecoder decoder(name.constData());
        const char byte = char(b);
        const QString text = decoder.decode(QByteArrayView(&byte, 1));
        if (text.size() == 1 && text.at(0) != QChar::ReplacementCharacter)
            t[b] = text.at(0).unicode();
    }
    return t;
}
