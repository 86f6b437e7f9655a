#include "rtf/reader/rtflisttable.h"

#include <algorithm>

namespace {

// \levelnfc 23 is a bullet; 255 draws only the level's text, which writers use for bullets
// made of a picture or a dash.
bool isBulletFormat(int format)
{
    return format == 23 || format == 255;
}

} // namespace

void RtfListTable::listTableWord(std::string_view word, bool hasParameter, int parameter)
{
    if (word == "list") {
        m_list = List{};
        m_levelsSeen = 0;
        m_inList = true;
    } else if (word == "listlevel") {
        // Levels beyond the ninth are read past, not folded onto the ninth.
        m_levelsSeen = std::min(m_levelsSeen + 1, MaxLevels + 1);
        if (m_inList && m_levelsSeen <= MaxLevels)
            m_list.levelCount = m_levelsSeen;
    } else if ((word == "levelnfc" || word == "levelnfcn") && hasParameter) {
        if (m_inList && m_levelsSeen > 0 && m_levelsSeen <= MaxLevels)
            m_list.bullet[m_levelsSeen - 1] = isBulletFormat(parameter);
    } else if (word == "listid" && hasParameter && m_inList) {
        // The id closes the list's definition: its levels came before it.
        if (m_lists.size() < MaxEntries || m_lists.contains(parameter))
            m_lists.insert(parameter, m_list);
        m_inList = false;
    }
}

void RtfListTable::overrideTableWord(std::string_view word, bool hasParameter, int parameter)
{
    if (word == "listoverride") {
        m_overrideHasList = false;
    } else if (word == "listid" && hasParameter) {
        m_overrideList = parameter;
        m_overrideHasList = true;
    } else if (word == "ls" && hasParameter && m_overrideHasList) {
        if (m_overrides.size() < MaxEntries || m_overrides.contains(parameter))
            m_overrides.insert(parameter, m_overrideList);
    }
}

std::optional<bool> RtfListTable::isBullet(int override, int level) const
{
    const auto listId = m_overrides.constFind(override);
    if (listId == m_overrides.cend())
        return std::nullopt;
    const auto list = m_lists.constFind(*listId);
    if (list == m_lists.cend() || list->levelCount == 0)
        return std::nullopt;
    return list->bullet[std::clamp(level, 0, list->levelCount - 1)];
}
