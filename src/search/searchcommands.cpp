#include "searchcommands.h"

#include "chercher.h"
#include "choixremp.h"
#include "remplaceur.h"
#include "richtext/richtextcontrol.h"

#include <QWidget>

SearchCommands::SearchCommands(RichTextControl &exo, EditorState &state, MessageBoxes &messages,
                               QObject *parent)
    : QObject(parent), m_exo(exo), m_search(exo, state, messages), m_replacer(exo, state, messages)
{}

QWidget *SearchCommands::dialogParent() const
{
    QWidget *shown = m_exo.widget();
    return shown ? shown->window() : nullptr;
}

void SearchCommands::rechercher()
{
    {
        Chercher dialog(m_search.openFindDialog(), dialogParent());
        dialog.onSearch = [this](const SearchRequest &request) { return m_search.search(request); };
        dialog.onCancel = [this] { m_search.cancel(); };
        dialog.onReplace = [this] { remplace(); };
        dialog.exec();
    }
    if (m_search.continuesAfterDialog())
        m_search.continueSearch();
}

void SearchCommands::contrech()
{
    m_search.continueSearch();
}

void SearchCommands::remplace()
{
    remplaceur dialog(m_replacer.openReplaceDialog(), dialogParent());
    const TextReplacer::Prompt prompt = [this, &dialog] {
        // The replace dialog has done its part once the first match is shown.
        dialog.hide();
        Choixremp choice(dialogParent());
        return choice.ask();
    };
    dialog.onReplaceOneByOne = [this, &prompt](const SearchRequest &request) {
        return m_replacer.replaceOneByOne(request, prompt);
    };
    dialog.onReplaceAll = [this](const SearchRequest &request) { return m_replacer.replaceAll(request); };
    dialog.onCancel = [this] { m_replacer.cancel(); };
    dialog.onClosed = [this] { m_replacer.dialogClosed(); };
    dialog.exec();
}
