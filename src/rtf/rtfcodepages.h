#pragma once

#include <QChar>

#include <array>
#include <map>
#include <memory>

// Decodes the 8-bit bytes of RTF text (\'hh and raw bytes) in the code page of the font that
// is in force. Single-byte code pages decode through a 256-entry table built once; the
// East Asian double-byte ones through the platform's converters, one pair at a time.
class RtfCodePages
{
public:
    RtfCodePages();
    ~RtfCodePages();

    // The Windows or Mac code page for an RTF \fcharset value, or 0 when the charset is the
    // document's default one (ANSI, DEFAULT and unknown values). Symbol is handled apart.
    static int codePageForCharset(int charset);
    static bool isDoubleByte(int codePage);
    static bool isLeadByte(int codePage, unsigned char byte);

    QChar decode(int codePage, unsigned char byte);
    // A lead and a trail byte; '?' when the pair means nothing.
    QChar decodePair(int codePage, unsigned char lead, unsigned char trail);

private:
    using Table = std::array<char16_t, 256>;
    const Table &table(int codePage);

    std::map<int, std::unique_ptr<Table>> m_tables;
    int m_lastCodePage = -1;
    const Table *m_lastTable = nullptr;
};
