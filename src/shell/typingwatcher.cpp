#include "typingwatcher.h"

#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"

TypingWatcher::TypingWatcher(RichTextControl &exo, EditorState &state, QObject *parent)
    : QObject(parent), m_exo(exo), m_state(state)
{
    connect(&m_exo, &RichTextControl::keyPress, this, &TypingWatcher::onKeyPress);
}

void TypingWatcher::onKeyPress(KeyStroke &key)
{
    if (key.text.isEmpty())
        return;
    // A mixed selection counts as unprotected: part of it takes the character.
    if (m_exo.selProtected() == true)
        return;
    m_state.documentSaved = 0;
}
