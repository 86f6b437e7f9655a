#include "paragraphformat.h"

#include "platform/controlstate.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"

#include <QAction>

int ParagraphFormat::alignmentOfButton(int button)
{
    static constexpr std::array<int, 3> values = {0, 2, 1};
    return values.at(button);
}

int ParagraphFormat::buttonOfAlignment(int alignment)
{
    switch (alignment) {
    case 0:
        return 0;
    case 1:
        return 2;
    case 2:
        return 1;
    default:
        return -1;
    }
}

ParagraphFormat::ParagraphFormat(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                                 QObject *parent)
    : QObject(parent), m_state(state), m_exo(exo), m_controls(controls)
{}

void ParagraphFormat::Option3_Click(int button)
{
    if (m_state.mirrorPhase == 2)
        return;
    for (int i = 0; i < 3; ++i) {
        showChecked(m_controls.Option3[i], i == button);
        showChecked(m_controls.alignmentItems[i], i == button);
    }
    if (m_state.mirrorPhase != 0)
        return;
    m_exo.setSelAlignment(alignmentOfButton(button));
    m_exo.setFocus();
}

void ParagraphFormat::bull_Click()
{
    if (m_state.mirrorPhase == 2)
        return;
    const bool on = m_controls.bull->isChecked();
    showChecked(m_controls.bull2, on);
    if (m_state.mirrorPhase != 0)
        return;
    m_exo.setSelBullet(on);
    m_exo.refresh();
    m_exo.setFocus();
}

void ParagraphFormat::flipBull()
{
    showChecked(m_controls.bull, !m_controls.bull->isChecked());
    bull_Click();
}

void ParagraphFormat::selectOption3(int button)
{
    if (m_controls.Option3[button]->isChecked())
        return;
    Option3_Click(button);
}

void ParagraphFormat::setBull(bool on)
{
    if (m_controls.bull->isChecked() == on)
        return;
    showChecked(m_controls.bull, on);
    bull_Click();
}
