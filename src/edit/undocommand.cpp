#include "undocommand.h"

#include "platform/keystrokes.h"
#include "richtext/richtextcontrol.h"

UndoCommand::UndoCommand(RichTextControl &exo, Keystrokes &keys) : m_exo(exo), m_keys(keys)
{}

void UndoCommand::annuleur()
{
    // A tool-bar click took the focus away: exo gets it back, and the keystroke is sent to exo
    // itself, since its window may not be active again yet.
    m_exo.setFocus();
    m_keys.send(m_exo.widget(), QStringLiteral("^z"));
    m_exo.setFocus();
}
