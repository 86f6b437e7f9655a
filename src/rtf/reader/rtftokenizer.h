#pragma once

#include <QByteArray>

#include <cstdint>
#include <string_view>

struct RtfToken
{
    enum class Type {
        End,
        GroupStart,
        GroupEnd,
        ControlWord,   // `word`, with `hasParameter` and `parameter`
        ControlSymbol, // `symbol`: the character after the backslash
        HexByte,       // \'hh: `byte`
        Text,          // literal bytes [begin, end) of the source, no CR/LF, no specials
        Binary,        // \binN data [begin, end) of the source
    };
    Type type = Type::End;
    std::string_view word;
    bool hasParameter = false;
    std::int64_t parameter = 0;
    char symbol = 0;
    unsigned char byte = 0;
    qsizetype begin = 0; // offset of the token's first byte in the source
    qsizetype end = 0;   // one past its last byte
};

// Splits RTF bytes into tokens with a cursor over the source: no copies, no allocation per
// token. Every length it reads (\binN, parameters, word lengths) is clamped to what the source
// holds, so any byte sequence ends in finite time with an End token.
class RtfTokenizer
{
public:
    explicit RtfTokenizer(const QByteArray &source, qsizetype start = 0);

    RtfToken next();
    qsizetype position() const { return m_pos; }
    const char *data() const { return m_data; }

    // Control words longer than this are truncated (the rest of the letters still belong to
    // the word); RTF allows 32.
    static constexpr int MaxWordLength = 32;

    // The value of a hexadecimal digit, -1 for any other byte.
    static int hexDigitValue(char c);

private:
    RtfToken readControl(qsizetype backslash);
    RtfToken readBinary(qsizetype start, std::int64_t count);

    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos;
};
