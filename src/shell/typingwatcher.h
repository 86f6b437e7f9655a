#pragma once

#include <QObject>

class RichTextControl;
struct EditorState;
struct KeyStroke;

// Marks the document modified when the user types a character into exo outside write-protected
// text. A stand-in until the selection mirror takes over its key handling: drop it from the
// main window then, nothing else depends on it.
class TypingWatcher : public QObject
{
    Q_OBJECT
public:
    TypingWatcher(RichTextControl &exo, EditorState &state, QObject *parent = nullptr);

private:
    void onKeyPress(KeyStroke &key);

    RichTextControl &m_exo;
    EditorState &m_state;
};
