#include "spellchecker.h"

#include "richtext/richtextcontrol.h"
#include "spellengine.h"
#include "wordscanner.h"

#include <QScopedValueRollback>
#include <QTimerEvent>

namespace {

// An edit touching more paragraphs than this (a paste, a load) is checked in the background.
constexpr int kParagraphsCheckedAtOnce = 8;
constexpr qint64 kNanosecondsPerMs = 1000 * 1000;
// How often a checker whose engine is still reading its dictionary looks again.
constexpr int kEngineWaitMs = 20;

} // namespace

SpellChecker::SpellChecker(RichTextControl &text, SpellEngine &engine, QObject *parent)
    : QObject(parent), m_text(text), m_engine(engine)
{
    m_clock.start();
    connect(&m_text, &RichTextControl::contentsEdited, this, &SpellChecker::contentsEdited);
}

void SpellChecker::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on) {
        markAllPending();
        // The screen first, at once, as an edit would.
        checkSlice();
    } else {
        m_timer.stop();
        m_waitingForEngine = false;
        m_checked.clear();
        m_pending = 0;
        m_partial = {};
        m_text.clearSpellingMarks();
    }
}

void SpellChecker::markAllPending()
{
    m_checked.assign(std::size_t(m_text.paragraphCount()), false);
    m_pending = int(m_checked.size());
    m_next = 0;
    m_partial = {};
    schedule();
}

void SpellChecker::markPending(int first, int last)
{
    for (int i = std::max(0, first); i <= last && i < int(m_checked.size()); ++i) {
        if (m_checked[std::size_t(i)]) {
            m_checked[std::size_t(i)] = false;
            ++m_pending;
        }
    }
    m_next = std::min(m_next, std::max(0, first));
}

void SpellChecker::contentsEdited(int position, int removed, int added)
{
    Q_UNUSED(removed)
    if (!m_enabled)
        return;
    const int count = m_text.paragraphCount();
    const int first = m_text.paragraphAt(position);
    const int delta = count - int(m_checked.size());
    // The paragraphs after the edit keep their state and move by the paragraphs it made or took.
    const auto at = m_checked.begin() + std::min<std::ptrdiff_t>(first + 1, std::ptrdiff_t(m_checked.size()));
    if (delta > 0) {
        m_checked.insert(at, std::size_t(delta), false);
        m_pending += delta;
    } else if (delta < 0) {
        const auto end = at + std::min<std::ptrdiff_t>(-delta, m_checked.end() - at);
        m_pending -= int(std::count(at, end, false));
        m_checked.erase(at, end);
    }
    if (int(m_checked.size()) != count) { // a change we could not follow: start again
        markAllPending();
        return;
    }
    const int last = m_text.paragraphAt(position + added);
    m_partial = {};
    m_waitingForEngine = false;
    markPending(first, last);
    if (last - first < kParagraphsCheckedAtOnce) {
        const qint64 deadline = m_clock.nsecsElapsed() + kSliceMs / 2 * kNanosecondsPerMs;
        for (int i = first; i <= last; ++i)
            if (!m_checked[std::size_t(i)] && !checkParagraph(i, deadline))
                break;
    }
    schedule();
}

void SpellChecker::schedule()
{
    if (!m_enabled || m_pending == 0)
        return;
    if (m_waitingForEngine)
        m_timer.start(kEngineWaitMs, this);
    else if (!m_timer.isActive())
        m_timer.start(0, this);
}

void SpellChecker::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QObject::timerEvent(event);
    m_timer.stop();
    // Started one wait after the engine was first needed, not at once: reading the dictionary
    // takes a tenth of a second of processor time, and the page that a load or an edit shows is
    // painted first.
    if (m_waitingForEngine)
        m_engine.prepare();
    if (checkSlice())
        schedule();
    else
        Q_EMIT completed();
}

bool SpellChecker::checkSlice(int budgetMs)
{
    if (!m_enabled || m_pending == 0)
        return false;
    m_waitingForEngine = false;
    const qint64 deadline = m_clock.nsecsElapsed() + budgetMs * kNanosecondsPerMs;
    const TextRange visible = m_text.visibleParagraphs();
    for (int i = visible.start; i < visible.end() && i < int(m_checked.size()); ++i)
        if (!m_checked[std::size_t(i)] && !checkParagraph(i, deadline))
            return true;
    const int count = int(m_checked.size());
    for (int walked = 0; m_pending > 0 && walked < count; ++walked) {
        if (m_next >= count)
            m_next = 0;
        if (!m_checked[std::size_t(m_next)]) {
            if (!checkParagraph(m_next, deadline))
                return true;
        }
        ++m_next;
        if (m_clock.nsecsElapsed() > deadline)
            return m_pending > 0;
    }
    return m_pending > 0;
}

void SpellChecker::checkAll()
{
    // Now means now: this one waits for the dictionary.
    const QScopedValueRollback mayWait(m_mayWaitForEngine, true);
    while (checkSlice(1000)) {
    }
}

bool SpellChecker::checkParagraph(int index, qint64 deadline)
{
    if (m_partial.index != index) {
        // Scanning a long paragraph costs about what checking its words from the cache does:
        // it is done once, not again in every slice.
        const ParagraphText paragraph = m_text.paragraphText(index);
        m_partial = {index, 0, paragraph.start, WordScanner::words(paragraph.text, paragraph.plain), {}};
        m_wordsScanned += m_partial.words.size();
    }
    const QList<ScannedWord> &words = m_partial.words;
    // Waiting here for the dictionary would freeze the window: the paragraph stays pending and
    // the checker comes back when the engine is ready.
    if (!m_mayWaitForEngine && m_partial.nextWord < words.size() && !m_engine.isReady()) {
        m_waitingForEngine = true;
        return false;
    }
    for (int i = m_partial.nextWord; i < words.size(); ++i) {
        if (!isKnown(words.at(i).word))
            m_partial.marks.append({m_partial.start + words.at(i).start, words.at(i).length});
        // The clock is read every few words: reading it costs about what a cached word does.
        if ((i & 15) == 15 && m_clock.nsecsElapsed() > deadline && i + 1 < words.size()) {
            m_partial.nextWord = i + 1;
            return false;
        }
    }
    m_text.setSpellingMarks(index, m_partial.marks);
    m_partial = {};
    if (!m_checked[std::size_t(index)]) {
        m_checked[std::size_t(index)] = true;
        --m_pending;
    }
    return m_clock.nsecsElapsed() <= deadline;
}

bool SpellChecker::isKnown(const QString &word)
{
    const QString key = WordScanner::normalized(word);
    if (m_ignored.contains(key))
        return true;
    const auto found = m_known.constFind(key);
    if (found != m_known.cend())
        return *found;
    ++m_wordsChecked;
    const bool known = m_engine.isCorrect(key);
    m_known.insert(key, known);
    return known;
}

std::optional<TextRange> SpellChecker::misspellingAt(int position) const
{
    if (!m_enabled)
        return std::nullopt;
    for (const TextRange &mark : m_text.spellingMarks(m_text.paragraphAt(position)))
        if (mark.start <= position && position <= mark.end())
            return mark;
    return std::nullopt;
}

QString SpellChecker::wordAt(TextRange range) const
{
    const ParagraphText paragraph = m_text.paragraphText(m_text.paragraphAt(range.start));
    return paragraph.text.mid(range.start - paragraph.start, range.length);
}

void SpellChecker::ignoreAll(const QString &word)
{
    m_ignored.insert(WordScanner::normalized(word));
    recheckAll();
}

void SpellChecker::recheckAll()
{
    m_known.clear();
    if (!m_enabled)
        return;
    markAllPending();
    checkSlice();
}
