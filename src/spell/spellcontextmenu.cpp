#include "spellcontextmenu.h"

#include "personaldictionary.h"
#include "richtext/richtextcontrol.h"
#include "rtf/cp1252.h"
#include "spellchecker.h"
#include "spellengine.h"
#include "spelllog.h"
#include "wordscanner.h"

#include <QAction>
#include <QMenu>

namespace {

// A caption shows '&' as a mnemonic mark unless doubled.
QString captionOf(const QString &word)
{
    QString caption = word;
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The suggestion written with the apostrophe the teacher typed.
QString withApostropheOf(const QString &word, QString suggestion)
{
    if (word.contains(QChar(0x2019)))
        suggestion.replace(QLatin1Char('\''), QChar(0x2019));
    return suggestion;
}

} // namespace

SpellContextMenu::SpellContextMenu(RichTextControl &text, SpellChecker *checker, SpellEngine *engine,
                                   PersonalDictionary *dictionary, QList<QAction *> editCommands,
                                   QObject *parent)
    : QObject(parent), m_text(text), m_checker(checker), m_engine(engine), m_dictionary(dictionary),
      m_editCommands(std::move(editCommands))
{}

std::unique_ptr<QMenu> SpellContextMenu::menuAt(int position)
{
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(QStringLiteral("spellContextMenu"));
    const std::optional<TextRange> mark =
        m_checker && m_engine ? m_checker->misspellingAt(position) : std::nullopt;
    if (mark) {
        const QString word = m_checker->wordAt(*mark);
        // The menu outlives nothing it points to: the control and this object outlive it.
        const TextRange range = *mark;
        const QStringList suggestions =
            m_engine->suggestions(WordScanner::normalized(word), kMaximumSuggestions);
        const bool editable = [&] {
            const TextRange before = m_text.selection();
            m_text.setSelection(range);
            const bool free = m_text.selProtected() == false;
            m_text.setSelection(before);
            return free;
        }();
        for (const QString &suggestion : suggestions) {
            const QString replacement = withApostropheOf(word, suggestion);
            QAction *action = menu->addAction(captionOf(replacement));
            action->setObjectName(QStringLiteral("spellSuggestion"));
            action->setEnabled(editable);
            connect(action, &QAction::triggered, this, [this, range, word, replacement] {
                replaceWord(range.start, range.length, word, replacement);
            });
        }
        if (suggestions.isEmpty()) {
            QAction *none = menu->addAction(tr("(aucune suggestion)"));
            none->setObjectName(QStringLiteral("spellNoSuggestion"));
            none->setEnabled(false);
        }
        menu->addSeparator();
        QAction *ignore = menu->addAction(tr("Ignorer tout"));
        ignore->setObjectName(QStringLiteral("spellIgnoreAll"));
        connect(ignore, &QAction::triggered, this, [this, word] { m_checker->ignoreAll(word); });
        QAction *add = menu->addAction(tr("Ajouter au dictionnaire"));
        add->setObjectName(QStringLiteral("spellAddToDictionary"));
        add->setEnabled(m_dictionary != nullptr);
        connect(add, &QAction::triggered, this, [this, word] { addToDictionary(word); });
        menu->addSeparator();
    }
    for (QAction *command : m_editCommands)
        if (command)
            menu->addAction(command);
    return menu;
}

void SpellContextMenu::show(ContextMenuRequest &request)
{
    request.consumed = true;
    const std::unique_ptr<QMenu> menu = menuAt(request.position);
    menu->exec(request.globalPos);
}

void SpellContextMenu::replaceWord(int start, int length, const QString &word, const QString &replacement)
{
    // The text may have changed since the menu was built: replace only the word it was for.
    if (m_checker && m_checker->wordAt({start, length}) != word) {
        qCWarning(lcSpell) << "the word under the menu changed; nothing replaced";
        return;
    }
    const EditBlock block(m_text); // one undo step
    m_text.setSelection({start, length});
    m_text.setSelText(Cp1252::encode(replacement));
    m_text.setFocus();
}

void SpellContextMenu::addToDictionary(const QString &word)
{
    if (!m_dictionary || !m_engine)
        return;
    if (!m_dictionary->add(WordScanner::normalized(word)))
        qCWarning(lcSpell) << "the word" << word << "is known for this run only";
    m_engine->addWord(WordScanner::normalized(word));
    if (m_checker)
        m_checker->recheckAll();
}
