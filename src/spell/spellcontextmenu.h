#pragma once

#include <QList>
#include <QObject>

#include <memory>

class PersonalDictionary;
class QAction;
class QMenu;
class RichTextControl;
class SpellChecker;
class SpellEngine;
struct ContextMenuRequest;

// The menu of a right click in the editor. On an underlined word: the engine's suggestions
// (choosing one replaces the word, keeping its character format, as one undo step), "Ignorer
// tout", "Ajouter au dictionnaire", then the edit commands; elsewhere the edit commands alone.
// The edit commands are the Edition menu's own items, so they act and enable as it does.
class SpellContextMenu : public QObject
{
    Q_OBJECT
public:
    // `checker`, `engine` and `dictionary` may be null: without a dictionary the menu holds
    // the edit commands only.
    SpellContextMenu(RichTextControl &text, SpellChecker *checker, SpellEngine *engine,
                     PersonalDictionary *dictionary, QList<QAction *> editCommands,
                     QObject *parent = nullptr);

    static constexpr int kMaximumSuggestions = 7;

    // The menu for a click at `position`, for the caller to show; its actions act on the text.
    std::unique_ptr<QMenu> menuAt(int position);
    // Shows the menu for the control's request and consumes it.
    void show(ContextMenuRequest &request);

private:
    void replaceWord(int start, int length, const QString &word, const QString &replacement);
    void addToDictionary(const QString &word);

    RichTextControl &m_text;
    SpellChecker *m_checker;
    SpellEngine *m_engine;
    PersonalDictionary *m_dictionary;
    QList<QAction *> m_editCommands;
};
