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
    // The Mac East Asian code pages are the national double-byte sets with a few single bytes
    // of their own (see macSingleByte); QtCore has no codec under their Mac names.
    case 10001:
        return "Shift_JIS";
    case 10002:
        return "Big5";
    case 10003:
        return "EUC-KR";
    case 10008:
        return "GBK";
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

bool isMacEastAsian(int codePage)
{
    return codePage == 10001 || codePage == 10002 || codePage == 10008;
}

// Bytes that the Mac Japanese and Chinese code pages use outside their double-byte ranges.
char16_t macSingleByte(unsigned char byte)
{
    switch (byte) {
    case 0xA0:
        return 0x00A0;
    case 0xFD:
        return 0x00A9;
    case 0xFE:
        return 0x2122;
    case 0xFF:
        return 0x2026;
    default:
        return 0;
    }
}

} // namespace

RtfCodePages::RtfCodePages() = default;
RtfCodePages::~RtfCodePages() = default;

int RtfCodePages::codePageForCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
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
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 10001 ||
           codePage == 10002 || codePage == 10003 || codePage == 10008;
}

bool RtfCodePages::isLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
    case 10001:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    // The Mac sets keep 0xFD-0xFF (and Korean 0xFE) for single characters.
    case 10002:
    case 10008:
        return byte >= 0xA1 && byte <= 0xFC;
    case 10003:
        return byte >= 0xA1 && byte <= 0xFD;
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
    if (text.size() != 1 || text.at(0) == QChar::ReplacementCharacter || text.at(0).unicode() < 0x20)
        return QLatin1Char('?'); // U+FFFD or SUB: the codec has no character for the pair
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
    // Unknown code pages keep the Windows-1252 meaning, the most likely intent of a Western
    // writer; so do the lead bytes of double-byte ones, which stand alone only when a pair is
    // broken. Their other single bytes (half-width katakana in Shift-JIS) decode as they are.
    if (name.isEmpty() || codePage == 1252)
        return t;
    QStringDecoder probe(name.constData());
    if (!probe.isValid())
        return t;
    for (int b = 0x80; b < 256; ++b) {
        QStringDecoder decoder(name.constData());
        const char byte = char(b);
        const QString text = decoder.decode(QByteArrayView(&byte, 1));
        if (isLeadByte(codePage, static_cast<unsigned char>(b)))
            continue;
        // Codecs answer a byte they cannot map with U+FFFD or with SUB (0x1A); either way the
        // Windows-1252 meaning stays.
        if (text.size() == 1 && text.at(0) != QChar::ReplacementCharacter && text.at(0).unicode() >= 0x20)
            t[b] = text.at(0).unicode();
        if (isMacEastAsian(codePage)) {
            if (const char16_t mac = macSingleByte(static_cast<unsigned char>(b)))
                t[b] = mac;
        }
    }
    return t;
}
