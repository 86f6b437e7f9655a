#pragma once

#include "formatcontrols.h"

#include <QObject>

class CharacterFormat;
class FormatMemory;
class ParagraphFormat;
class RichTextControl;
class Ruler;
class ScriptFormat;
struct EditorState;

struct KeyStroke;
struct MouseStroke;

// `maj`: keeps the tool bar, the Format menu and the ruler showing the selection of `exo`, and
// the editor's own events (click, focus, mouse down, selection change, Tab, typing).
//
// Writing a control from code runs its handler, as a click would; `mirrorPhase` (1 while the
// script, colour, alignment and size controls are written, 2 for bullet, bold, italic and
// underline) tells the handlers that the value comes from the selection, so mirroring never
// re-formats the text, never adds an undo step and never takes the focus.
class SelectionMirror : public QObject
{
    Q_OBJECT
public:
    SelectionMirror(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                    CharacterFormat &characters, ParagraphFormat &paragraphs, ScriptFormat &scripts,
                    Ruler &ruler, FormatMemory &memory, QObject *parent = nullptr);

    void maj();

    // The editor's events; connect() ties them to exo's signals.
    void connectEditor();
    void onSelectionChanged();
    void onMouseDown(const MouseStroke &mouse);
    void onKeyDown(KeyStroke &key);
    void onKeyPress(KeyStroke &key);
    void onFormatChanged();

private:
    void mirrorRuler();
    void mirrorFontBox();
    void mirrorScripts();
    void mirrorToggles();
    void mirrorColour();
    void mirrorAlignment();
    void mirrorSize();

    EditorState &m_state;
    RichTextControl &m_exo;
    FormatControls m_controls;
    CharacterFormat &m_characters;
    ParagraphFormat &m_paragraphs;
    ScriptFormat &m_scripts;
    Ruler &m_ruler;
    FormatMemory &m_memory;
    bool m_inMaj = false;
    bool m_majPending = false;
};
