#pragma once

#include "searchrequest.h"

#include <functional>

class MessageBoxes;
class RichTextControl;
struct EditorState;

// How the replace prompt `Choixremp` was closed.
enum class PromptAnswer { Replace, Skip, Cancel, ReplaceAll };

// The replace commands on exo. Replace-all works from a list of the occurrences present in the
// text before it starts: each is replaced once, left to right, nothing inserted is searched
// again, and the whole run is one undo step. Occurrences inside protected text are left as they
// are and counted in the completion message.
class TextReplacer
{
public:
    // Shows `Choixremp` over the selected match and says how it was closed.
    using Prompt = std::function<PromptAnswer()>;

    TextReplacer(RichTextControl &exo, EditorState &state, MessageBoxes &messages);

    // What the replace dialog shows when it opens: options from findOptions, search box from the
    // selection (else the previous search text), replacement box from replaceText.
    SearchRequest openReplaceDialog() const;
    // The common first search of both replace commands (`commun`): true when a match is
    // selected, false after "Texte introuvable" (the run goes on all the same).
    bool commun(const SearchRequest &request);
    // "Remplacer &tout". False when the dialog must stay open (no search text).
    bool replaceAll(const SearchRequest &request);
    // "&Remplacer": each match in turn, asking `prompt`. Always ends the dialog.
    bool replaceOneByOne(const SearchRequest &request, const Prompt &prompt);
    // "&Annuler" of the replace dialog.
    void cancel();
    // However the dialog closes, the selection collapses to its start.
    void dialogClosed();

private:
    struct Tally
    {
        int replaced = 0;
        int leftProtected = 0;
    };
    Tally replaceEverywhere();
    bool selectionIsProtected() const;
    void reportCompletion(const Tally &tally);

    RichTextControl &m_exo;
    EditorState &m_state;
    MessageBoxes &m_messages;
};
