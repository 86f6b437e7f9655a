#include "scriptformat.h"

#include "formattoolbar.h"
#include "platform/controlstate.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"
#include "updown.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>

#include <cmath>

ScriptFormat::ScriptFormat(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                           QObject *parent)
    : QObject(parent), m_state(state), m_exo(exo), m_controls(controls)
{}

int ScriptFormat::scriptOffset(Choice choice, double size, int exponentStep, int indexStep, bool smallMode)
{
    if (choice != Index && choice != Exponent)
        return 0;
    const int step = choice == Index ? -indexStep : exponentStep;
    return smallMode ? 10 * step : int(std::lround(step * size));
}

int ScriptFormat::exponentStep() const
{
    return m_controls.bar->udexp->value();
}

int ScriptFormat::indexStep() const
{
    return m_controls.bar->udind->value();
}

void ScriptFormat::setExponentStep(int step)
{
    m_controls.bar->udexp->setValue(step);
}

void ScriptFormat::setIndexStep(int step)
{
    m_controls.bar->udind->setValue(step);
}

bool ScriptFormat::smallMode() const
{
    return m_controls.check2 && m_controls.check2->isChecked();
}

ScriptFormat::Choice ScriptFormat::choice() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_controls.bar->Option2[i]->isChecked())
            return Choice(i);
    }
    return NoChoice;
}

void ScriptFormat::showChoice(int index)
{
    for (int i = 0; i < 3; ++i)
        showChecked(m_controls.bar->Option2[i], i == index);
}

void ScriptFormat::Option2_Click(int index)
{
    if (m_state.mirrorPhase == 1)
        return;
    showChoice(index);
    {
        const EditBlock block(m_exo); // size and offset: one undo step
        if (index == Normal) {
            setCheck3(0, false);
            setCheck3(1, false);
            // Before any script was chosen there is no size to give back.
            if (m_state.sizeBeforeScript > 0)
                m_exo.setSelFontSize(m_state.sizeBeforeScript);
            m_scriptSizeSaved = false;
        } else if (!m_scriptSizeSaved) {
            const Mixed<double> size = m_exo.selFontSize();
            if (size.hasValue())
                m_state.sizeBeforeScript = int16_t(std::lround(size.value()));
            m_scriptSizeSaved = true;
        }
        if (index == Normal)
            m_exo.setSelCharOffset(0);
        if (index != Normal && smallMode()) {
            m_exo.setSelCharOffset(scriptOffset(Choice(index), 0, exponentStep(), indexStep(), true));
            m_exo.setSelFontSize(kSmallScriptSize);
        } else if (index != Normal) {
            const Mixed<double> size = m_exo.selFontSize();
            if (size.hasValue())
                m_exo.setSelCharOffset(
                    scriptOffset(Choice(index), size.value(), exponentStep(), indexStep(), false));
        }
    }
    m_exo.refresh();
    m_exo.setFocus();
}

void ScriptFormat::Check3_Click(int index)
{
    // Code writes to the toggles show state only (see setCheck3), so this runs for clicks.
    if (m_state.mirrorPhase != 0)
        return;
    const bool on = m_controls.bar->Check3[index]->isChecked();
    if (!on) {
        selectOption2(Normal);
        return;
    }
    setCheck3(1 - index, false);
    setCheck3(index, true);
    selectOption2(index == 0 ? Exponent : Index);
}

void ScriptFormat::check2_Click()
{
    // The item ticks itself when chosen; nothing already written changes.
    m_exo.setFocus();
}

void ScriptFormat::stepChanged()
{
    m_controls.bar->decexp->setText(QString::number(exponentStep()));
    m_controls.bar->decind->setText(QString::number(indexStep()));
    const Choice current = choice();
    if (current == Normal) {
        m_exo.setSelCharOffset(0);
    } else if (current != NoChoice) {
        const Mixed<double> size = m_exo.selFontSize();
        if (size.hasValue()) // the normal-mode formula, also in small mode
            m_exo.setSelCharOffset(scriptOffset(current, size.value(), exponentStep(), indexStep(), false));
    }
    m_exo.setFocus();
}

void ScriptFormat::selectOption2(int index)
{
    if (index == NoChoice) {
        showChoice(NoChoice);
        return;
    }
    if (m_controls.bar->Option2[index]->isChecked())
        return;
    showChoice(index);
    Option2_Click(index);
}

void ScriptFormat::setCheck3(int index, bool on)
{
    showChecked(m_controls.bar->Check3[index], on);
}
