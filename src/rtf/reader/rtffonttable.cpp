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
        if (m_pending.index >= 0 && !m_pending.name.trimmed().isEmpty())
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
        if (m_pending.index >= 0 && m_pending.name.size() < MaxNameLength)
            m_pending.name.append(bytes[i]);
    }
}

void RtfFontTable::byte(unsigned char value)
{
    if (m_pending.index >= 0 && m_pending.name.size() < MaxNameLength)
        m_pending.name.append(char(value));
}

void RtfFontTable::groupEnd()
{
    if (m_pending.index >= 0 && !m_pending.name.trimmed().isEmpty())
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
    QString name;
    name.reserve(m_pending.name.size());
    for (const char c : std::as_const(m_pending.name))
        name.append(m_codePages.decode(namePage, static_cast<unsigned char>(c)));
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
