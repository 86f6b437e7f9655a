#include "recoverytracker.h"

#include "copywriter.h"
#include "platform/editorstate.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "slicedcopy.h"

namespace {

bool sameText(const RecoveryEntry &a, const RecoveryEntry &b)
{
    return a.buffer == b.buffer && a.original == b.original && a.exercise == b.exercise && a.shown == b.shown;
}

} // namespace

RecoveryTracker::RecoveryTracker(EditorState &state, ShellHost &host, std::function<QString()> exercisePath,
                                 CopyWriter &writer, Clock clock, const CopySchedule &schedule,
                                 QObject *parent)
    : QObject(parent), m_state(state), m_host(host), m_exercisePath(std::move(exercisePath)),
      m_writer(writer), m_clock(std::move(clock)), m_schedule(schedule)
{
    for (RichTextControl *text : {&host.exo(), &host.sujetampon(), &host.corectampon()})
        connect(text, &RichTextControl::textChanged, this, [this, text] { onChanged(text); });
}

RecoveryTracker::~RecoveryTracker() = default;

bool RecoveryTracker::showsStatement() const
{
    const QString path = m_host.statementItemPath();
    return m_host.statementItemVisible() && !path.isEmpty() && m_state.currentDocumentPath == path;
}

bool RecoveryTracker::showsCorrection() const
{
    const QString path = m_host.correctionItemPath();
    return m_host.correctionItemVisible() && !path.isEmpty() && m_state.currentDocumentPath == path;
}

void RecoveryTracker::onChanged(RichTextControl *text)
{
    ++m_revisions[text];
    // A buffer changes when exo's text goes back to it (carrying exo's edits with it) or when
    // it is loaded from its file (clean). The switch copies back before it changes the path,
    // so exo still shows the buffer's text at that moment.
    if (text == &m_host.sujetampon())
        m_statementEdited = m_state.documentSaved == 0 && showsStatement();
    else if (text == &m_host.corectampon())
        m_correctionEdited = m_state.documentSaved == 0 && showsCorrection();
    m_schedule.changed(m_clock());
    Q_EMIT textChanged();
}

QList<RecoveryTracker::Target> RecoveryTracker::targets() const
{
    QList<Target> found;
    if (m_state.documentSaved != 0)
        return found;
    const QString exercise = m_exercisePath ? m_exercisePath() : QString();
    const bool exerciseOpen = !exercise.isEmpty();
    const bool statementShown = exerciseOpen && showsStatement();
    const bool correctionShown = exerciseOpen && !statementShown && showsCorrection();
    const auto add = [&](const QString &buffer, const QString &original, bool shown,
                         RichTextControl &source) {
        RecoveryEntry entry;
        entry.buffer = buffer;
        entry.original = original.isEmpty() ? EditorState::untitled : original;
        entry.exercise = buffer == RecoveryEntry::document ? QString() : exercise;
        entry.shown = shown;
        found.append({entry, &source});
    };
    if (statementShown)
        add(RecoveryEntry::statement, m_host.statementItemPath(), true, m_host.exo());
    else if (correctionShown)
        add(RecoveryEntry::correction, m_host.correctionItemPath(), true, m_host.exo());
    else
        add(RecoveryEntry::document, m_state.currentDocumentPath, true, m_host.exo());
    if (exerciseOpen && !statementShown && m_statementEdited && m_host.statementItemVisible() &&
        !m_host.statementItemPath().isEmpty())
        add(RecoveryEntry::statement, m_host.statementItemPath(), false, m_host.sujetampon());
    if (exerciseOpen && !correctionShown && m_correctionEdited && m_host.correctionItemVisible() &&
        !m_host.correctionItemPath().isEmpty())
        add(RecoveryEntry::correction, m_host.correctionItemPath(), false, m_host.corectampon());
    return found;
}

QList<RecoveryEntry> RecoveryTracker::textsAtRisk() const
{
    QList<RecoveryEntry> entries;
    for (const Target &target : targets())
        entries.append(target.entry);
    return entries;
}

bool RecoveryTracker::needsCopy(const Target &target) const
{
    const auto copied = m_copied.constFind(target.entry.buffer);
    return copied == m_copied.constEnd() || copied->source != target.source ||
           copied->revision != m_revisions.value(target.source) || !sameText(copied->entry, target.entry);
}

void RecoveryTracker::adopt(const QList<RecoveryEntry> &entries)
{
    for (const RecoveryEntry &entry : entries) {
        if (entry.buffer == RecoveryEntry::statement)
            m_statementEdited = true;
        if (entry.buffer == RecoveryEntry::correction)
            m_correctionEdited = true;
    }
    m_writer.adopt(entries);
    for (const Target &target : targets()) {
        const auto adopted = std::find_if(entries.begin(), entries.end(), [&](const RecoveryEntry &entry) {
            return entry.buffer == target.entry.buffer;
        });
        if (adopted != entries.end())
            m_copied.insert(target.entry.buffer,
                            {target.entry, target.source, m_revisions.value(target.source)});
    }
    // Adopted copies no text stands for any more go at the next tick.
    for (const RecoveryEntry &entry : entries) {
        if (!m_copied.contains(entry.buffer))
            m_copied.insert(entry.buffer, {entry, nullptr, 0});
    }
}

void RecoveryTracker::reconcile(const QList<Target> &current)
{
    for (auto it = m_copied.begin(); it != m_copied.end();) {
        const bool atRisk = std::any_of(current.begin(), current.end(), [&](const Target &target) {
            return target.entry.buffer == it.key();
        });
        if (atRisk) {
            ++it;
            continue;
        }
        m_writer.remove(it.key());
        it = m_copied.erase(it);
    }
    // A copy under way of a text no longer at risk would bring its copy back.
    if (m_copy) {
        const bool stillAtRisk = std::any_of(current.begin(), current.end(), [&](const Target &target) {
            return target.source == m_copying.source && sameText(target.entry, m_copying.entry);
        });
        if (!stillAtRisk)
            m_copy.reset();
    }
    m_queue.removeIf([&](const Target &queued) {
        return std::none_of(current.begin(), current.end(), [&](const Target &target) {
            return target.source == queued.source && sameText(target.entry, queued.entry);
        });
    });
}

void RecoveryTracker::startNextCopy()
{
    while (!m_queue.isEmpty() && !m_copy) {
        m_copying = m_queue.takeFirst();
        if (!needsCopy(m_copying))
            continue;
        m_copy = std::make_unique<SlicedCopy>(*m_copying.source);
        m_copy->setPieceSize(m_pieceSize);
    }
}

void RecoveryTracker::tick()
{
    const qint64 now = m_clock();
    const QList<Target> current = targets();
    reconcile(current);

    if (!m_copy && m_queue.isEmpty()) {
        const bool behind = std::any_of(current.begin(), current.end(),
                                        [&](const Target &target) { return needsCopy(target); });
        if (behind && !m_schedule.pending())
            m_schedule.changed(now); // a text at risk without a copy yet (after a save as, say)
        const std::optional<qint64> due = m_schedule.due();
        if (!due || *due > now)
            return;
        // Changes from now on belong to the next copy: a piece taken after them starts over.
        m_schedule.copied();
        m_queue = current;
        startNextCopy();
    }
    if (!m_copy)
        return;
    if (!m_copy->step())
        return;
    const quint64 revision = m_revisions.value(m_copying.source);
    m_writer.write(m_copying.entry, m_copy->take());
    m_copied.insert(m_copying.entry.buffer, {m_copying.entry, m_copying.source, revision});
    m_copy.reset();
    startNextCopy();
}

qint64 RecoveryTracker::nextTickIn() const
{
    if (m_copy || !m_queue.isEmpty())
        return 0;
    if (const std::optional<qint64> due = m_schedule.due())
        return qBound<qint64>(0, *due - m_clock(), pollMs);
    return pollMs;
}
