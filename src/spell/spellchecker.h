#pragma once

#include "richtext/textrange.h"
#include "wordscanner.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>

#include <optional>
#include <vector>

class RichTextControl;
class SpellEngine;
struct ParagraphText;

// Checks the words of a control as the teacher types and underlines the unknown ones.
//
// The work runs on the interface thread in slices of at most kSliceMs, from a zero timer, so
// typing and scrolling go on between them: the paragraphs on screen first, then the others from
// the top. An edit re-checks the paragraphs it touched at once when they are few, so the word
// being typed is underlined as soon as it is wrong; a load marks everything to check again.
// The marks are the control's display-only spelling marks: checking never changes the text,
// its undo stack or its "modified" state.
class SpellChecker : public QObject
{
    Q_OBJECT
public:
    SpellChecker(RichTextControl &text, SpellEngine &engine, QObject *parent = nullptr);

    static constexpr int kSliceMs = 8;

    bool isEnabled() const { return m_enabled; }
    // Off removes every mark at once and stops checking; on checks the whole text again.
    void setEnabled(bool on);

    // Whether every paragraph has been checked since its last change.
    bool isComplete() const { return m_pending == 0; }
    int pendingParagraphs() const { return m_pending; }
    bool isChecked(int paragraph) const
    {
        return paragraph >= 0 && paragraph < int(m_checked.size()) && m_checked[std::size_t(paragraph)];
    }
    // Runs one slice of at most `budgetMs` now; true while work remains.
    bool checkSlice(int budgetMs = kSliceMs);
    // Checks everything that is left, now.
    void checkAll();

    // The underlined word at `position` (a mark holding it or ending right there).
    std::optional<TextRange> misspellingAt(int position) const;
    QString wordAt(TextRange range) const;

    // "Ignorer tout": the word is left alone for the rest of the run, in every text.
    void ignoreAll(const QString &word);
    // The engine's words changed (a word added to the dictionary): every paragraph again, the
    // ones on screen now.
    void recheckAll();

    // For the benchmarks: words read in the text, and those the engine was asked about.
    qint64 wordsScanned() const { return m_wordsScanned; }
    qint64 wordsChecked() const { return m_wordsChecked; }

Q_SIGNALS:
    void completed();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void contentsEdited(int position, int removed, int added);
    void markAllPending();
    void markPending(int first, int last);
    void schedule();
    // Checks paragraph `index` up to `deadline` (nanoseconds of m_clock); false when the time ran
    // out first, the progress kept for the next slice.
    // Also false, with m_waitingForEngine set, when the engine is not ready to answer yet.
    bool checkParagraph(int index, qint64 deadline);
    bool isKnown(const QString &word);

    RichTextControl &m_text;
    SpellEngine &m_engine;
    bool m_enabled = false;
    std::vector<bool> m_checked; // one flag a paragraph
    int m_pending = 0;
    int m_next = 0; // where the walk from the top goes on
    bool m_waitingForEngine = false;
    bool m_mayWaitForEngine = false;
    // A long paragraph checked over several slices; any edit starts it again.
    struct Partial
    {
        int index = -1;
        int nextWord = 0;
        int start = 0; // the paragraph's position
        QList<ScannedWord> words;
        QList<TextRange> marks;
    } m_partial;
    QHash<QString, bool> m_known;
    QSet<QString> m_ignored;
    QBasicTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_wordsScanned = 0;
    qint64 m_wordsChecked = 0;
};
