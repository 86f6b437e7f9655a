#include "undocommand.h"

#include "platform/keystrokes.h"
#include "richtext/richtextcontrol.h"

UndoCommand::UndoCommand(RichTextControl &exo, Keystrokes &keys) : m_exo(exo), m_keys(keys)
{}

void UndoCommand::annuleur()
{
    // The keystroke goes to whatever has the focus: exo must hold it before and after, a
    // tool-bar click having taken it away.
    m_exo.setFocus();
    m_keys.send(QStringLiteral("^z"));
    m_exo.setFocus();
}
