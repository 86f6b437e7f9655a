#include "rtf/writer/rtfemitter.h"

#include "rtf/cp1252.h"

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
    m_out.resize(qMax<qsizetype>(expectedSize, 256));
    m_data = m_out.data();
}

// The buffer is sized ahead and filled through a plain pointer: QByteArray's own append
// checks sharing and capacity on every call, which dominated the time on large documents.
void RtfEmitter::grow(qsizetype extra)
{
    m_out.resize(qMax(m_out.size() * 2, m_size + extra + 4096));
    m_data = m_out.data();
}

void RtfEmitter::beforeToken()
{
    if (m_newLinePending) {
        put("\r\n", 2);
        m_lineStart = m_size;
        m_newLinePending = false;
    }
}

void RtfEmitter::beforeLiteral()
{
    if (m_wordOpen) {
        put(' ');
        m_wordOpen = false;
    }
    beforeToken();
}

void RtfEmitter::openGroup()
{
    beforeToken();
    put('{');
    m_wordOpen = false;
}

void RtfEmitter::closeGroup()
{
    beforeToken();
    put('}');
    m_wordOpen = false;
}

void RtfEmitter::controlWord(const char *word)
{
    beforeToken();
    put('\\');
    put(word, qsizetype(std::strlen(word)));
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
    put("\\*", 2);
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
        digits[n++] = '-';
    reserve(n);
    while (n > 0)
        m_data[m_size++] = digits[--n];
}

void RtfEmitter::literal(char c)
{
    beforeLiteral();
    if (c == '\\' || c == '{' || c == '}')
        put('\\');
    put(c);
    breakLongLine(c == ' ');
}

void RtfEmitter::breakLongLine(bool afterSpace)
{
    if (!m_breakLines)
        return;
    const qsizetype lineLength = m_size - m_lineStart;
    if ((afterSpace && lineLength >= kSoftLineLength) || lineLength >= kHardLineLength)
        newLine();
}

void RtfEmitter::hexEscape(uchar byte)
{
    beforeToken(); // \' ends a preceding control word by itself
    m_wordOpen = false;
    const char escape[4] = {'\\', '\'', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
    put(escape, 4);
    breakLongLine(false);
}

void RtfEmitter::unicodeEscape(char16_t u)
{
    // \uN takes a signed 16-bit value; the '?' is the fallback that \uc1 tells readers to skip.
    controlWord("u", qint16(u));
    put('?');
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

bool RtfEmitter::isPlainAscii(char16_t u)
{
    return u >= 0x20 && u < 0x7F && u != '\\' && u != '{' && u != '}';
}

// The common case, a stretch of plain ASCII, goes straight into the buffer.
void RtfEmitter::asciiSpan(const QChar *from, qsizetype count)
{
    beforeLiteral();
    while (count > 0) {
        const qsizetype lineLength = m_size - m_lineStart;
        qsizetype take = qMin(count, kSoftLineLength - lineLength);
        bool breakAfter = false;
        if (take <= 0) {
            // Past the soft limit: break after the next space, or at the hard limit.
            const qsizetype limit = qMin(count, qMax<qsizetype>(1, kHardLineLength - lineLength));
            take = limit;
            for (qsizetype i = 0; i < limit; ++i) {
                if (from[i] == QLatin1Char(' ')) {
                    take = i + 1;
                    break;
                }
            }
            breakAfter = from[take - 1] == QLatin1Char(' ') || lineLength + take >= kHardLineLength;
        }
        reserve(take);
        char *out = m_data + m_size;
        for (qsizetype i = 0; i < take; ++i)
            out[i] = char(from[i].unicode());
        m_size += take;
        from += take;
        count -= take;
        if (breakAfter) {
            newLine();
            if (count > 0)
                beforeToken();
        }
    }
}

void RtfEmitter::text(const QString &text)
{
    const QChar *c = text.constData();
    const QChar *const end = c + text.size();
    while (c < end) {
        const QChar *span = c;
        while (c < end && isPlainAscii(c->unicode()))
            ++c;
        if (c > span)
            asciiSpan(span, c - span);
        if (c < end)
            textChar(*c++);
    }
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

void RtfEmitter::unicodeText(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\t' || u == 0x2028)
            textChar(c);
        else if (u >= 0x100)
            unicodeEscape(u);
        else if (u >= 0x20 && u < 0x7F)
            literal(char(u));
        else
            hexEscape(uchar(u));
    }
}

void RtfEmitter::fontName(const QString &name)
{
    // Readers take a face name up to ';' quite literally: no source line break inside it.
    m_breakLines = false;
    for (const QChar c : name) {
        if (c != QLatin1Char(';') && c.unicode() >= 0x20)
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
        put(' ');
    m_newLinePending = false;
    reserve(bytes.size() * 2 + (bytes.size() / bytesPerLine + 2) * 2);
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i % bytesPerLine == 0) {
            m_data[m_size++] = '\r';
            m_data[m_size++] = '\n';
            m_lineStart = m_size;
        }
        m_data[m_size++] = kHexDigits[data[i] >> 4];
        m_data[m_size++] = kHexDigits[data[i] & 0xF];
    }
    m_wordOpen = false;
    newLine();
}

void RtfEmitter::raw(const QByteArray &rtf)
{
    beforeToken();
    put(rtf.constData(), rtf.size());
    m_wordOpen = false;
}

void RtfEmitter::newLine()
{
    m_newLinePending = true;
}

QByteArray RtfEmitter::take()
{
    m_out.truncate(m_size);
    m_size = 0;
    m_lineStart = 0;
    m_newLinePending = false;
    m_wordOpen = false;
    m_data = nullptr;
    return std::exchange(m_out, QByteArray());
}
