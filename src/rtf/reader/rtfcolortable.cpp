#include "rtf/reader/rtfcolortable.h"

#include <algorithm>

namespace {

// Beyond any real table; keeps a hostile "; ; ; …" from growing memory without bound.
constexpr qsizetype MaxColors = 4096;

} // namespace

void RtfColorTable::controlWord(std::string_view word, bool hasParameter, int parameter)
{
    const int value = hasParameter ? std::clamp(parameter, 0, 255) : 0;
    if (word == "red") {
        m_red = value;
        m_hasComponent = true;
    } else if (word == "green") {
        m_green = value;
        m_hasComponent = true;
    } else if (word == "blue") {
        m_blue = value;
        m_hasComponent = true;
    }
}

void RtfColorTable::text(const char *bytes, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (bytes[i] != ';')
            continue;
        if (m_colors.size() < MaxColors) {
            if (m_hasComponent)
                m_colors.append(qRgb(m_red, m_green, m_blue));
            else
                m_colors.append(std::nullopt);
        }
        m_red = m_green = m_blue = 0;
        m_hasComponent = false;
    }
}

std::optional<QRgb> RtfColorTable::color(int index) const
{
    if (index < 0 || index >= m_colors.size())
        return std::nullopt;
    return m_colors.at(index);
}
