#pragma once

#include <QByteArray>
#include <QString>

#include <cstring>

// Appends RTF tokens to one byte buffer. It knows RTF's lexical rules (control words end at
// the first character that is not a letter or digit, a space after one is swallowed by it,
// 8-bit bytes go out as \'hh) so that the writer above it only thinks in document terms.
// Output is 7-bit only.
class RtfEmitter
{
public:
    explicit RtfEmitter(qsizetype expectedSize = 0);

    void openGroup();
    void closeGroup();
    // "\word" or "\wordN"; `word` is a plain ASCII literal.
    void controlWord(const char *word);
    void controlWord(const char *word, qint64 value);
    // "\*": the next destination may be skipped by readers that do not know it.
    void ignorableMarker();

    // Text of a run in a Unicode font: Windows-1252 characters as themselves or \'hh, others
    // as \uN? (with \uc1 in force), tab and line break as control words.
    void text(const QString &text);
    // Text of a run in a symbol-encoded font: each character is the font's byte.
    // Text of a symbol-encoded font that is not all its bytes: a character beyond a byte goes as
    // \uN, which readers take as the character itself, the others as the font's bytes.
    void unicodeText(const QString &text);
    void symbolText(const QString &text);
    // A face name in the font table (no ';', which would end the entry).
    void fontName(const QString &name);

    void hexBytes(const QByteArray &bytes, int charsPerLine);
    // Appended as is: an RTF group kept from a read document.
    void raw(const QByteArray &rtf);
    // A line break in the RTF source before the next token; readers ignore it. Not a
    // paragraph mark. Deferred so that it never separates a control word from the space
    // that ends it.
    void newLine();

    // The output so far; the emitter is empty afterwards.
    QByteArray take();

private:
    static bool isPlainAscii(char16_t u);
    void asciiSpan(const QChar *from, qsizetype count);
    void literal(char c);
    void hexEscape(uchar byte);
    void unicodeEscape(char16_t u);
    void textChar(QChar c);
    void appendNumber(qint64 value);
    void beforeLiteral();
    void beforeToken();
    void breakLongLine(bool afterSpace);

    void reserve(qsizetype extra)
    {
        if (m_size + extra > m_out.size())
            grow(extra);
    }
    void put(char c)
    {
        reserve(1);
        m_data[m_size++] = c;
    }
    void put(const char *bytes, qsizetype count)
    {
        reserve(count);
        std::memcpy(m_data + m_size, bytes, size_t(count));
        m_size += count;
    }
    void grow(qsizetype extra);

    QByteArray m_out; // its size is the capacity; m_size bytes are written
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_lineStart = 0;
    bool m_wordOpen = false; // the last token was a control word: a literal needs a space first
    bool m_newLinePending = false;
    bool m_breakLines = true;
};
