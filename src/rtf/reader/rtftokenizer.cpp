#include "rtf/reader/rtftokenizer.h"

#include <algorithm>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Parameters beyond this are clamped: RTF allows 16 bits, some writers emit 2^31 (\binN, \rsid).
constexpr std::int64_t MaxParameter = std::int64_t(1) << 40;

} // namespace

RtfTokenizer::RtfTokenizer(const QByteArray &source, qsizetype start)
    : m_data(source.constData()), m_size(source.size()), m_pos(std::clamp<qsizetype>(start, 0, source.size()))
{}

RtfToken RtfTokenizer::next()
{
    while (m_pos < m_size) {
        const qsizetype start = m_pos;
        const char c = m_data[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return {RtfToken::Type::GroupStart, {}, false, 0, 0, 0, start, m_pos};
        case '}':
            ++m_pos;
            return {RtfToken::Type::GroupEnd, {}, false, 0, 0, 0, start, m_pos};
        case '\\':
            return readControl(start);
        case '\r':
        case '\n':
        case '\0': // NUL bytes are not text in any writer's output: drop them like line ends
            ++m_pos;
            continue;
        default:
            break;
        }
        qsizetype end = m_pos + 1;
        while (end < m_size) {
            const char d = m_data[end];
            if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n' || d == '\0')
                break;
            ++end;
        }
        m_pos = end;
        return {RtfToken::Type::Text, {}, false, 0, 0, 0, start, end};
    }
    return {RtfToken::Type::End, {}, false, 0, 0, 0, m_size, m_size};
}

RtfToken RtfTokenizer::readControl(qsizetype backslash)
{
    qsizetype p = backslash + 1;
    if (p >= m_size) {
        m_pos = m_size;
        return {RtfToken::Type::End, {}, false, 0, 0, 0, backslash, m_size};
    }
    const char c = m_data[p];
    if (!isLetter(c)) {
        if (c == '\'') {
            ++p;
            int value = 0;
            int digits = 0;
            while (digits < 2 && p < m_size && RtfTokenizer::hexDigitValue(m_data[p]) >= 0) {
                value = value * 16 + RtfTokenizer::hexDigitValue(m_data[p]);
                ++p;
                ++digits;
            }
            m_pos = p;
            if (digits == 0) // "\'" with nothing usable: nothing to emit, go on
                return next();
            RtfToken token{RtfToken::Type::HexByte, {}, false, 0, 0, 0, backslash, p};
            token.byte = static_cast<unsigned char>(value);
            return token;
        }
        m_pos = p + 1;
        if (c == '\r' || c == '\n') // a backslash before a line end is a paragraph mark
            return {RtfToken::Type::ControlWord, "par", false, 0, 0, 0, backslash, m_pos};
        return {RtfToken::Type::ControlSymbol, {}, false, 0, c, 0, backslash, m_pos};
    }
    const qsizetype wordStart = p;
    while (p < m_size && isLetter(m_data[p]))
        ++p;
    const qsizetype wordLength = std::min<qsizetype>(p - wordStart, MaxWordLength);
    RtfToken token{RtfToken::Type::ControlWord,
                   std::string_view(m_data + wordStart, size_t(wordLength)),
                   false,
                   0,
                   0,
                   0,
                   backslash,
                   p};
    bool negative = false;
    if (p + 1 < m_size && m_data[p] == '-' && isDigit(m_data[p + 1])) {
        negative = true;
        ++p;
    }
    if (p < m_size && isDigit(m_data[p])) {
        std::int64_t value = 0;
        while (p < m_size && isDigit(m_data[p])) {
            value = std::min(value * 10 + (m_data[p] - '0'), MaxParameter);
            ++p;
        }
        token.hasParameter = true;
        token.parameter = negative ? -value : value;
    }
    if (p < m_size && m_data[p] == ' ')
        ++p;
    m_pos = p;
    token.end = p;
    if (token.word == "bin" && token.hasParameter)
        return readBinary(backslash, token.parameter);
    return token;
}

RtfToken RtfTokenizer::readBinary(qsizetype start, std::int64_t count)
{
    // The count comes from the file: never trust it beyond the bytes that are really there.
    const qsizetype length = qsizetype(std::clamp<std::int64_t>(count, 0, m_size - m_pos));
    RtfToken token{RtfToken::Type::Binary, {}, false, 0, 0, 0, m_pos, m_pos + length};
    Q_UNUSED(start);
    m_pos += length;
    return token;
}

int RtfTokenizer::hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
