#include "textreplacer.h"

#include "platform/editorstate.h"
#include "platform/messageboxes.h"
#include "richtext/richtextcontrol.h"
#include "rtf/cp1252.h"
#include "textsearch.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TextReplacer", text);
}

} // namespace

TextReplacer::TextReplacer(RichTextControl &exo, EditorState &state, MessageBoxes &messages)
    : m_exo(exo), m_state(state), m_messages(messages)
{}

SearchRequest TextReplacer::openReplaceDialog() const
{
    SearchRequest request;
    request.setFindOptions(m_state.findOptions);
    request.searchText = m_exo.selLength() > 0 ? selectedText(m_exo) : m_state.searchText;
    request.replaceText = m_state.replaceText;
    return request;
}

bool TextReplacer::commun(const SearchRequest &request)
{
    m_state.findOptions = request.findOptions();
    if (m_exo.find(Cp1252::encode(m_state.searchText), 0, -1, m_state.findOptions) >= 0)
        return true;
    m_messages.show(tr("Impossible de trouver ") + request.searchText, tr("Texte introuvable"));
    m_state.replaceReported = 1;
    return false;
}

bool TextReplacer::replaceAll(const SearchRequest &request)
{
    m_state.searchText = request.searchText;
    if (m_state.searchText.isEmpty()) {
        m_messages.show(tr("Il faut saisir une chaîne à remplacer"), tr("Remplacement impossible"),
                        MessageIcon::Stop);
        return false;
    }
    m_state.replaceText = request.replaceText;
    commun(request);
    const Tally tally = replaceEverywhere();
    if (tally.replaced > 0 || tally.leftProtected > 0)
        reportCompletion(tally);
    return true;
}

bool TextReplacer::replaceOneByOne(const SearchRequest &request, const Prompt &prompt)
{
    m_state.searchText = request.searchText;
    m_state.replaceText = request.replaceText;
    commun(request);
    const QByteArray needle = Cp1252::encode(m_state.searchText);
    const QByteArray replacement = Cp1252::encode(m_state.replaceText);
    Tally tally;
    bool prompted = false;
    m_state.lastFoundPosition = 0;
    for (int from = 0;;) {
        const int found = m_exo.find(needle, from, -1, m_state.findOptions);
        if (found < 0) {
            if (prompted)
                reportCompletion(tally);
            return true;
        }
        prompted = true;
        m_state.lastFoundPosition = found + 1;
        switch (prompt()) {
        case PromptAnswer::ReplaceAll:
            m_state.lastFoundPosition = 0;
            return replaceAll(request);
        case PromptAnswer::Cancel:
            m_state.lastFoundPosition = 0;
            return true;
        case PromptAnswer::Skip:
            from = found + 1;
            break;
        case PromptAnswer::Replace:
            if (selectionIsProtected()) {
                ++tally.leftProtected;
                from = found + 1;
            } else {
                m_exo.setSelText(replacement);
                ++tally.replaced;
                // Resume after the inserted text: a replacement that contains the search text
                // must not be found again.
                from = found + int(replacement.size());
            }
            break;
        }
    }
}

TextReplacer::Tally TextReplacer::replaceEverywhere()
{
    const QList<TextRange> matches =
        m_exo.findAll(Cp1252::encode(m_state.searchText), 0, -1, m_state.findOptions);
    Tally tally;
    if (matches.isEmpty())
        return tally;
    tally.replaced = m_exo.replaceRanges(matches, Cp1252::encode(m_state.replaceText));
    tally.leftProtected = int(matches.size()) - tally.replaced;
    return tally;
}

bool TextReplacer::selectionIsProtected() const
{
    // A selection partly protected reads as mixed: the control would refuse it too.
    return !(m_exo.selProtected() == false);
}

void TextReplacer::reportCompletion(const Tally &tally)
{
    QString text =
        tr("Remplacement de ") + m_state.searchText + tr(" par ") + m_state.replaceText + tr(" terminé.");
    if (tally.leftProtected == 1)
        text += QLatin1Char('\n') + tr("1 occurrence protégée n'a pas été remplacée.");
    else if (tally.leftProtected > 1)
        text += QLatin1Char('\n') +
                tr("%1 occurrences protégées n'ont pas été remplacées.").arg(tally.leftProtected);
    m_messages.show(text, tr("Remplacement achevé"));
    m_state.replaceReported = 1;
}

void TextReplacer::cancel()
{
    m_state.searchText.clear();
}

void TextReplacer::dialogClosed()
{
    m_exo.setSelLength(0);
}
