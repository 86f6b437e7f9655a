#pragma once

#include "copyschedule.h"
#include "recoveryentry.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

class CopyWriter;
class RichTextControl;
class ShellHost;
class SlicedCopy;
struct EditorState;

// Keeps a recovery copy of every text with unsaved changes: the text in exo, and the statement
// and correction of the open exercise held in `sujetampon` and `corectampon`.
//
// Which texts have unsaved changes follows the editor's own rule, so that recovery offers back
// what the close guard would have offered to save: nothing while documentSaved is 1; otherwise
// the text exo shows, and each exercise buffer that received edits (exo's text copied back to
// it while modified) since it was loaded. A text that leaves that set loses its copy at the
// next tick: saved, dropped after a "Non", replaced by another.
//
// Nothing here waits or owns a timer: tick() does what is due at the clock's time and
// nextTickIn() says when to call it again, so tests drive it with a clock of their own.
class RecoveryTracker : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<qint64()>; // milliseconds, steady
    static constexpr qint64 pollMs = 1000; // how soon a save or a discarded text loses its copy

    RecoveryTracker(EditorState &state, ShellHost &host, std::function<QString()> exercisePath,
                    CopyWriter &writer, Clock clock, const CopySchedule &schedule = CopySchedule(),
                    QObject *parent = nullptr);
    ~RecoveryTracker() override;

    // Copies that start-up put back in place: they stand for the texts as they are now.
    void adopt(const QList<RecoveryEntry> &entries);

    // Removes the copies of texts no longer at risk, starts the copies that are due and takes
    // the next piece of the one under way.
    void tick();
    // Milliseconds until tick() has work: 0 while a copy is being taken, at most pollMs.
    qint64 nextTickIn() const;

    // The texts at risk now, as their index entries would describe them.
    QList<RecoveryEntry> textsAtRisk() const;
    // Whether a copy is being taken (between two ticks).
    bool copying() const { return m_copy != nullptr; }
    // Pieces of at most `positions` positions (tests; 0 lets the time budget decide).
    void setPieceSize(int positions) { m_pieceSize = positions; }

Q_SIGNALS:
    // A text changed: the next tick may be due sooner than the caller planned.
    void textChanged();

private:
    struct Target
    {
        RecoveryEntry entry;
        RichTextControl *source = nullptr;
    };
    struct Copied
    {
        RecoveryEntry entry;
        RichTextControl *source = nullptr;
        quint64 revision = 0;
    };

    QList<Target> targets() const;
    bool needsCopy(const Target &target) const;
    void onChanged(RichTextControl *text);
    void reconcile(const QList<Target> &current);
    void startNextCopy();
    bool showsStatement() const;
    bool showsCorrection() const;

    EditorState &m_state;
    ShellHost &m_host;
    std::function<QString()> m_exercisePath;
    CopyWriter &m_writer;
    Clock m_clock;
    CopySchedule m_schedule;
    QHash<const RichTextControl *, quint64> m_revisions;
    QHash<QString, Copied> m_copied; // by buffer, as handed to the writer
    bool m_statementEdited = false;
    bool m_correctionEdited = false;
    QList<Target> m_queue;
    Target m_copying;
    std::unique_ptr<SlicedCopy> m_copy;
    int m_pieceSize = 0;
};
