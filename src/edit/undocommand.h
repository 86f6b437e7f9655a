#pragma once

class Keystrokes;
class RichTextControl;

// "&Annuler" (`annuleur`) and the tool-bar button `annule`: the editor keeps no history of its
// own and hands the request to the control's undo, by the Ctrl+Z keystroke the focused control
// receives.
class UndoCommand
{
public:
    UndoCommand(RichTextControl &exo, Keystrokes &keys);

    void annuleur();

private:
    RichTextControl &m_exo;
    Keystrokes &m_keys;
};
