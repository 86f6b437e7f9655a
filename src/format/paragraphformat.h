#pragma once

#include "formatcontrols.h"

#include <QObject>

class RichTextControl;
struct EditorState;

// Alignment (`Option3`, `q24`..`q26`) and bullets (`bull`, `bull2`) of the paragraphs the
// selection touches. The buttons run left, centre, right; the control's values are 0 left,
// 1 right, 2 centre.
class ParagraphFormat : public QObject
{
    Q_OBJECT
public:
    static int alignmentOfButton(int button);    // Option3(0..2) -> 0, 2, 1
    static int buttonOfAlignment(int alignment); // 0, 1, 2 -> Option3(0), (2), (1); else -1

    ParagraphFormat(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                    QObject *parent = nullptr);

    void Option3_Click(int button);
    void bull_Click();
    void flipBull(); // bull2

    // Writes from code; the handler runs when the value changes.
    void selectOption3(int button);
    void setBull(bool on);

private:
    EditorState &m_state;
    RichTextControl &m_exo;
    FormatControls m_controls;
};
