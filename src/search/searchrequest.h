#pragma once

#include <QString>

// What the find and replace dialogs edit: their text boxes and option boxes.
struct SearchRequest
{
    QString searchText;
    QString replaceText; // the replace dialog only
    bool matchCase = false;
    bool wholeWord = false;

    // The control's find flags, as kept in EditorState::findOptions.
    int findOptions() const { return (matchCase ? 4 : 0) + (wholeWord ? 2 : 0); }
    void setFindOptions(int options)
    {
        matchCase = options == 4 || options == 6;
        wholeWord = options == 2 || options == 6;
    }
    friend bool operator==(const SearchRequest &, const SearchRequest &) = default;
};
