#include "rtf/reader/rtffonttable.h"

#include "rtf/rtfcodepages.h"
#include "rtf/symbolencoding.h"

namespace {

// A name of many characters would let hostile input grow the table without bound.
constexpr qsizetype MaxNameLength = 256;

} // namespace

RtfFontTable::RtfFontTable(RtfCodePages &codePages) : m_codePages(codePages)
{}

void RtfFontTable::controlWord(std::string_view word, bool hasParameter, int parameter)
{
    if (word == "f") {
        if (m_pending.index >= 0 && !m_pending.blank())
            commit();
        m_pending = Pending{};
        m_pending.index = hasParameter ? parameter : 0;
    } else if (word == "fcharset" && hasParameter) {
        m_pending.charset = parameter;
    } else if (word == "cpg" && hasParameter) {
        m_pending.codePage = parameter;
    }
}

void RtfFontTable::text(const char *bytes, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (bytes[i] == ';') {
            commit();
            continue;
        }
        if (m_pending.index >= 0 && m_pending.length() < MaxNameLength && uchar(bytes[i]) >= 0x20)
            m_pending.name.append(bytes[i]);
    }
}

void RtfFontTable::byte(unsigned char value)
{
    // Control characters (a tab, say) are no part of a face name, nor of any text here.
    if (m_pending.index >= 0 && m_pending.length() < MaxNameLength && value >= 0x20)
        m_pending.name.append(char(value));
}

void RtfFontTable::unicode(std::int64_t value)
{
    if (m_pending.index < 0 || m_pending.length() >= MaxNameLength || value < 0x20 || value > 0xFFFF)
        return;
    const int codePage =
        m_pending.codePage > 0 ? m_pending.codePage : RtfCodePages::codePageForCharset(m_pending.charset);
    m_pending.decoded += decodePending(codePage > 0 ? codePage : m_defaultCodePage);
    m_pending.name.clear();
    const char16_t c = char16_t(value);
    m_pending.decoded += c == u';' ? QChar(u'?') : QChar(c); // a name never holds its own end
}

QString RtfFontTable::decodePending(int codePage) const
{
    QString text;
    text.reserve(m_pending.name.size());
    const bool doubleByte = RtfCodePages::isDoubleByte(codePage);
    for (qsizetype i = 0; i < m_pending.name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(m_pending.name.at(i));
        if (doubleByte && RtfCodePages::isLeadByte(codePage, byte) && i + 1 < m_pending.name.size()) {
            text.append(
                m_codePages.decodePair(codePage, byte, static_cast<unsigned char>(m_pending.name.at(++i))));
            continue;
        }
        text.append(m_codePages.decode(codePage, byte));
    }
    return text;
}

void RtfFontTable::groupEnd()
{
    if (m_pending.index >= 0 && !m_pending.blank())
        commit();
}

void RtfFontTable::commit()
{
    if (m_pending.index < 0)
        return;
    RtfFont font;
    font.symbol = m_pending.charset == 2; // or a font known by its name, below
    font.codePage =
        m_pending.codePage > 0 ? m_pending.codePage : RtfCodePages::codePageForCharset(m_pending.charset);
    const int namePage = font.codePage > 0 ? font.codePage : m_defaultCodePage;
    const QString name = m_pending.decoded + decodePending(namePage);
    font.name = name.trimmed();
    // Whatever charset a file gives them, these fonts only have their own codes; writers agree.
    font.symbol = font.symbol || SymbolEncoding::isSymbolFont(font.name);
    if (m_firstIndex < 0)
        m_firstIndex = m_pending.index;
    m_fonts.insert(m_pending.index, font); // a duplicate number: the last entry wins
    m_pending = Pending{};
}

const RtfFont *RtfFontTable::font(int index) const
{
    const auto it = m_fonts.constFind(index);
    return it == m_fonts.cend() ? nullptr : &it.value();
}

const RtfFont *RtfFontTable::firstFont() const
{
    return m_firstIndex < 0 ? nullptr : font(m_firstIndex);
}
