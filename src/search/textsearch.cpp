#include "textsearch.h"

#include "platform/editorstate.h"
#include "platform/messageboxes.h"
#include "richtext/richtextcontrol.h"
#include "rtf/cp1252.h"

#include <QCoreApplication>

QString selectedText(const RichTextControl &exo)
{
    return Cp1252::decode(exo.selText());
}

TextSearch::TextSearch(RichTextControl &exo, EditorState &state, MessageBoxes &messages)
    : m_exo(exo), m_state(state), m_messages(messages)
{}

SearchRequest TextSearch::openFindDialog()
{
    m_state.replaceReported = 0;
    SearchRequest request;
    request.setFindOptions(m_state.findOptions);
    request.searchText = m_exo.selLength() > 0 ? selectedText(m_exo) : m_state.searchText;
    return request;
}

bool TextSearch::search(const SearchRequest &request)
{
    m_state.searchText = request.searchText;
    m_state.findOptions = request.findOptions();
    if (m_exo.find(Cp1252::encode(m_state.searchText), 0, -1, m_state.findOptions) >= 0)
        return true;
    reportNotFound(request.searchText);
    return false;
}

void TextSearch::cancel()
{
    m_state.searchText.clear();
}

bool TextSearch::continuesAfterDialog() const
{
    return !m_state.searchText.isEmpty() && m_state.replaceReported == 0;
}

void TextSearch::continueSearch()
{
    const QByteArray text = Cp1252::encode(m_state.searchText);
    int previous = m_state.lastFoundPosition;
    m_state.lastFoundPosition = m_exo.find(text, previous + 1, -1, m_state.findOptions);
    if (m_state.lastFoundPosition == -1 && previous != -1) {
        // Wrap once to the start; after a failure (previous -1) this search already began there.
        // What lies after the previous match was just searched: the second pass stops where
        // the first began.
        m_state.lastFoundPosition = m_exo.find(text, 0, previous + int(text.size()), m_state.findOptions);
    }
    if (m_state.lastFoundPosition == -1)
        reportNotFound(m_state.searchText);
}

void TextSearch::reportNotFound(const QString &text)
{
    m_messages.show(QCoreApplication::translate("TextSearch", "Impossible de trouver ") + text,
                    QCoreApplication::translate("TextSearch", "Texte introuvable"));
}
