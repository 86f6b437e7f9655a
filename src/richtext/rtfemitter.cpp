#include "rtfemitter.h"

#include "cp1252.h"

#include <array>
#include <utility>

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Source lines are broken at a space once they are this long, and anywhere once they are
// much longer: some old readers have fixed line buffers, and people diff these files.
constexpr qsizetype kSoftLineLength = 200;
constexpr qsizetype kHardLineLength = 1000;

} // namespace

RtfEmitter::RtfEmitter(qsizetype expectedSize)
{
    if (expectedSize > 0)
        m_out.reserve(expectedSize);
}

void RtfEmitter::beforeToken()
{
    if (m_newLinePending) {
        m_out.append("\r\n", 2);
        m_lineStart = m_out.size();
        m_newLinePending = false;
    }
}

void RtfEmitter::beforeLiteral()
{
    if (m_wordOpen) {
        m_out.append(' ');
        m_wordOpen = false;
    }
    beforeToken();
}

void RtfEmitter::openGroup()
{
    beforeToken();
    m_out.append('{');
    m_wordOpen = false;
}

void RtfEmitter::closeGroup()
{
    beforeToken();
    m_out.append('}');
    m_wordOpen = false;
}

void RtfEmitter::controlWord(const char *word)
{
    beforeToken();
    m_out.append('\\');
    m_out.append(word);
    m_wordOpen = true;
}

void RtfEmitter::controlWord(const char *word, qint64 value)
{
    controlWord(word);
    appendNumber(value);
}

void RtfEmitter::ignorableMarker()
{
    beforeToken();
    m_out.append("\\*", 2);
    m_wordOpen = false;
}

void RtfEmitter::appendNumber(qint64 value)
{
    std::array<char, 24> digits;
    int n = 0;
    const bool negative = value < 0;
    quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    do {
        digits[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        m_out.append('-');
    while (n > 0)
        m_out.append(digits[--n]);
}

void RtfEmitter::literal(char c)
{
    beforeLiteral();
    if (c == '\\' || c == '{' || c == '}')
        m_out.append('\\');
    m_out.append(c);
    breakLongLine(c == ' ');
}

void RtfEmitter::breakLongLine(bool afterSpace)
{
    if (!m_breakLines)
        return;
    const qsizetype lineLength = m_out.size() - m_lineStart;
    if ((afterSpace && lineLength >= kSoftLineLength) || lineLength >= kHardLineLength)
        newLine();
}

void RtfEmitter::hexEscape(uchar byte)
{
    beforeToken(); // \' ends a preceding control word by itself
    m_wordOpen = false;
    const char escape[4] = {'\\', '\'', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
    m_out.append(escape, 4);
    breakLongLine(false);
}

void RtfEmitter::unicodeEscape(char16_t u)
{
    // \uN takes a signed 16-bit value; the '?' is the fallback that \uc1 tells readers to skip.
    controlWord("u", qint16(u));
    m_out.append('?');
    m_wordOpen = false;
}

void RtfEmitter::textChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x7F) {
        literal(char(u));
        return;
    }
    if (u == '\t') {
        controlWord("tab");
        return;
    }
    if (u == 0x2028) {
        controlWord("line");
        return;
    }
    const int byte = Cp1252::fromUnicode(c);
    if (byte >= 0)
        hexEscape(uchar(byte));
    else
        unicodeEscape(u);
}

void RtfEmitter::text(const QString &text)
{
    for (const QChar c : text)
        textChar(c);
}

void RtfEmitter::symbolText(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\t' || u >= 0x100) {
            // Not a byte of the font. The control's 8-bit view of such a character is its
            // Windows-1252 byte, so that byte is what it stands for here too.
            const int byte = u == '\t' ? -1 : Cp1252::fromUnicode(c);
            if (byte >= 0)
                hexEscape(uchar(byte));
            else
                textChar(c);
        } else if (u >= 0x20 && u < 0x7F) {
            literal(char(u));
        } else {
            hexEscape(uchar(u));
        }
    }
}

void RtfEmitter::fontName(const QString &name)
{
    // Readers take a face name up to ';' quite literally: no source line break inside it.
    m_breakLines = false;
    for (const QChar c : name) {
        if (c != QLatin1Char(';'))
            textChar(c);
    }
    m_breakLines = true;
}

void RtfEmitter::hexBytes(const QByteArray &bytes, int charsPerLine)
{
    const int bytesPerLine = qMax(1, charsPerLine / 2);
    // The space ends a preceding control word for sure: a careless reader could otherwise
    // take the first hex digits for the word's number.
    if (m_wordOpen)
        m_out.append(' ');
    m_newLinePending = false;
    m_out.reserve(m_out.size() + bytes.size() * 2 + (bytes.size() / bytesPerLine + 2) * 2);
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i % bytesPerLine == 0) {
            m_out.append("\r\n", 2);
            m_lineStart = m_out.size();
        }
        const char pair[2] = {kHexDigits[data[i] >> 4], kHexDigits[data[i] & 0xF]};
        m_out.append(pair, 2);
    }
    m_wordOpen = false;
    newLine();
}

void RtfEmitter::raw(const QByteArray &rtf)
{
    beforeToken();
    m_out.append(rtf);
    m_wordOpen = false;
}

void RtfEmitter::newLine()
{
    m_newLinePending = true;
}

QByteArray RtfEmitter::take()
{
    m_newLinePending = false;
    m_wordOpen = false;
    m_lineStart = 0;
    return std::exchange(m_out, QByteArray());
}
