#pragma once

#include <QString>

#include <functional>

class RichTextControl;

// A cell click of `echanti`: one character of the grid's font goes into exo at the caret (or
// over the selection) with the character format of exo's selection, built in the hidden
// buffer `tampontext` and pasted as RTF; typing then goes on in the tool bar's font.
class SpecialCharacters
{
public:
    // The main window's font-name box `Combo1`: read before, set after an insertion. Empty
    // hooks: exo's selection font stands for it.
    struct FontBox
    {
        std::function<QString()> text;
        std::function<void(const QString &)> setText;
    };

    SpecialCharacters(RichTextControl &exo, RichTextControl &tampontext, FontBox fontBox);
    void insert(const QString &gridFont, unsigned char code);

private:
    RichTextControl &m_exo;
    RichTextControl &m_buffer;
    FontBox m_fontBox;
};
