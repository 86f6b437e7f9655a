#pragma once

#include <QHash>

#include <optional>
#include <string_view>

// Reads \listtable and \listoverridetable far enough to tell, for a paragraph's \lsN and
// \ilvlK, whether the list level draws a bullet or a number. The numbers themselves come
// from the paragraph's \listtext, which every writer puts there for readers like this one.
class RtfListTable
{
public:
    // Word numbers levels 0 to 8; a deeper \ilvl is damage and reads as the last level.
    static constexpr int MaxLevels = 9;

    void listTableWord(std::string_view word, bool hasParameter, int parameter);
    void overrideTableWord(std::string_view word, bool hasParameter, int parameter);

    // Empty when the file names no such list: the caller then judges by the label.
    std::optional<bool> isBullet(int override, int level) const;

private:
    struct List
    {
        int levelCount = 0;
        bool bullet[MaxLevels] = {};
    };

    // Hostile tables could otherwise grow without bound; real documents have a few dozen.
    static constexpr qsizetype MaxEntries = 4096;

    QHash<int, List> m_lists;    // by \listid
    QHash<int, int> m_overrides; // \ls to \listid
    List m_list;
    bool m_inList = false;
    int m_levelsSeen = 0; // in the list being read, counting those beyond MaxLevels
    int m_overrideList = 0;
    bool m_overrideHasList = false;
};
