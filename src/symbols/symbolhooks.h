#pragma once

#include "chem/chemformula.h"
#include "specialcharacters.h"

#include <functional>

// What the symbol commands need from modules that are wired beside them. Every hook may be
// left empty: the command then skips that step, as it skips any step that fails.
struct SymbolHooks
{
    // The format memory's `memoriser`: remembers the format of exo's selection, so that the
    // selection change raised by a paste gives it back (formatRestorePending is set first).
    std::function<void()> memoriser;
    // The value of the tool bar's font-size up-down `UpDown1`, in points. Empty: exo's
    // selection size, rounded, 10 when mixed.
    std::function<int()> fontSizeBox;
    // The paste road's last leg: give exo the focus, send Shift+Insert so the control inserts
    // the clipboard's picture at the caret, repaint and focus exo again. Empty: done here
    // through the platform's keystrokes.
    std::function<void()> pasteClipboard;
    // The main window's font-name box `Combo1`, which the special characters read and set.
    SpecialCharacters::FontBox fontBox;
    // The script steps `udexp`, `udind` and the small mode `check2`, for the chemical formulas.
    // Empty: steps 8 and 5, and the check mark of the menu item `check2`.
    std::function<ChemScriptSettings()> scriptSettings;
};
