#pragma once

#include "searchrequest.h"

class MessageBoxes;
class RichTextControl;
struct EditorState;

// The find commands on exo: the find dialog's search and the continue-search of F3, sharing
// the search text, options and last match position of EditorState.
class TextSearch
{
public:
    TextSearch(RichTextControl &exo, EditorState &state, MessageBoxes &messages);

    // What the find dialog shows when it opens: the options from findOptions, the text selected
    // in exo, or the previous search text when nothing is selected. Clears replaceReported.
    SearchRequest openFindDialog();
    // "&Rechercher": remembers the text and options and searches exo's whole text. True when a
    // match is selected; false after "Texte introuvable" (the dialog stays open).
    bool search(const SearchRequest &request);
    // "&Annuler": empties the search text, so the menu command ends there.
    void cancel();
    // "Poursuivre la recherche": the next match after lastFoundPosition, wrapping once to the
    // start of the text; lastFoundPosition is -1 after a failure.
    void continueSearch();
    // The menu command goes on with a continue-search after its dialog closed.
    bool continuesAfterDialog() const;

private:
    void reportNotFound(const QString &text);

    RichTextControl &m_exo;
    EditorState &m_state;
    MessageBoxes &m_messages;
};

// exo's selected text, as the dialogs prefill their search box with it.
QString selectedText(const RichTextControl &exo);
