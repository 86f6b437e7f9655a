#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <string_view>

class RtfCodePages;

struct RtfFont
{
    QString name;
    bool symbol = false; // \fcharset2: text bytes are the font's own codes
    int codePage = 0;    // 0: the document's \ansicpg
};

// Reads \fonttbl, in its usual one-group-per-font form and in the older form without inner
// groups ("\f0\fswiss Helvetica;\f1 …;"), and answers the body's font lookups.
class RtfFontTable
{
public:
    explicit RtfFontTable(RtfCodePages &codePages);

    void setDefaultCodePage(int codePage) { m_defaultCodePage = codePage; }
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    void text(const char *bytes, qsizetype length);
    void byte(unsigned char value);
    void unicode(std::int64_t value); // \uN in a face name
    // A group of the table closes: an entry whose name had no ';' ends there.
    void groupEnd();

    bool seen() const { return m_seen; }
    void markSeen() { m_seen = true; }
    const RtfFont *font(int index) const;
    const RtfFont *firstFont() const;

private:
    void commit();

    struct Pending
    {
        int index = -1;
        int charset = 0;
        int codePage = 0;
        QByteArray name; // bytes not yet decoded
        QString decoded; // what came before them, decoded, and \uN characters
        qsizetype length() const { return decoded.size() + name.size(); }
        bool blank() const { return decoded.trimmed().isEmpty() && name.trimmed().isEmpty(); }
    };
    // The pending bytes in the font's code page, double-byte pairs included.
    QString decodePending(int codePage) const;

    RtfCodePages &m_codePages;
    int m_defaultCodePage = 1252;
    QHash<int, RtfFont> m_fonts;
    int m_firstIndex = -1;
    Pending m_pending;
    bool m_seen = false;
};
