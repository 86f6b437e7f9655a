#pragma once

class RichTextControl;

// The format memory kept in the hidden buffer `tamponrtf`: commands that paste program-made
// material remember the insertion point's format first (`memoriser`), and the selection change
// the paste raises gives it back (`restituer`), so typing goes on in the format it had.
//
// Nine attributes travel, always in this order: alignment, bold, bullet, character offset,
// colour, font name, font size, italic, underline. Strike-through, protection, indents and tab
// stops stay where they are. An attribute that is mixed when remembered is not copied: the
// buffer's blank keeps its default, and that default is what comes back.
class FormatMemory
{
public:
    FormatMemory(RichTextControl &exo, RichTextControl &tamponrtf);

    // Remembers the format of exo's selection; overwrites what was remembered before.
    void memoriser();
    // Puts the remembered format on exo's selection (at a caret: on what is typed next), as
    // one undo step.
    void restituer();

private:
    RichTextControl &m_exo;
    RichTextControl &m_tamponrtf;
};
