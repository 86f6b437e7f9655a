#pragma once

#include "formatcontrols.h"

#include <QObject>

class RichTextControl;
struct EditorState;

// Subscripts and superscripts: the choice `Option2` ("&Normal", "&Indice", "E&xposant"), its
// shortcuts `Check3` ("exposant", "indice"), the steps `udexp`/`udind` (1..20, shown in
// `decexp`/`decind`) and the small mode `check2`. Offsets are twips, positive raises.
//
// Small mode, from the choice: exponent +10 × udexp, index −10 × udind, size 8. Normal mode and
// every step change: exponent +udexp × size, index −udind × size, size kept. Leaving "&Normal"
// saves the size (`sizeBeforeScript`) once; "&Normal" gives it back.
class ScriptFormat : public QObject
{
    Q_OBJECT
public:
    enum Choice { Normal = 0, Index = 1, Exponent = 2, NoChoice = -1 };

    ScriptFormat(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                 QObject *parent = nullptr);

    // The size the small mode gives indices and exponents, in points.
    static constexpr double kSmallScriptSize = 8;
    // The offset, in twips, that `choice` gives a selection of `size` points: in small mode
    // +10 x exponentStep or -10 x indexStep (the size then becomes kSmallScriptSize), else
    // +exponentStep x size or -indexStep x size, rounded; 0 for "&Normal".
    static int scriptOffset(Choice choice, double size, int exponentStep, int indexStep, bool smallMode);

    int exponentStep() const;       // udexp
    int indexStep() const;          // udind
    void setExponentStep(int step); // as the up-down does: re-applies the choice
    void setIndexStep(int step);
    bool smallMode() const; // check2 ticked
    Choice choice() const;  // the selected Option2 button
    bool scriptSizeSaved() const { return m_scriptSizeSaved; }

    // Handlers.
    void Option2_Click(int index);
    void Check3_Click(int index);
    void check2_Click();
    void stepChanged(); // udexp or udind changed

    // Writes from code. Selecting a button runs its handler when it was not selected; the
    // toggles only show their state (they do not move the choice the caller just set).
    void selectOption2(int index); // NoChoice: none selected
    void setCheck3(int index, bool on);

private:
    void showChoice(int index);

    EditorState &m_state;
    RichTextControl &m_exo;
    FormatControls m_controls;
    bool m_scriptSizeSaved = false;
};
