#pragma once

#include "copyschedule.h"
#include "recoveryfolder.h"
#include "recoverystart.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class CopyWriter;
class MessageBoxes;
class RecoveryTracker;
class ShellHost;
struct EditorState;

// Recovery for one run of the editor, wired for main(): the folder claimed at start, the
// question before the start-up sequence, the copies kept while the editor runs, and their
// removal on a clean quit. A run that does not own the folder (another editor has it) keeps
// no copies and asks nothing.
class RecoverySession : public QObject
{
    Q_OBJECT
public:
    struct Settings
    {
        QString folder = RecoveryFolder::defaultPath();
        qint64 quietMs = CopySchedule::defaultQuietMs;
        qint64 longestMs = CopySchedule::defaultLongestMs;
        // VELIGRAM_RECOVERY_DELAYS="quiet,longest" in milliseconds, for tests that cannot
        // wait the real delays; anything malformed keeps the defaults.
        static Settings fromEnvironment();
    };

    RecoverySession(const Settings &settings, EditorState &state, MessageBoxes &messages, ShellHost &host,
                    std::function<QString()> exercisePath, RecoveryStart::OpenExercise openExercise,
                    QObject *parent = nullptr);
    ~RecoverySession() override;

    // Before the start-up sequence: claims the folder and, when copies were left, asks.
    bool askAtStart();
    // After the start-up sequence: puts the texts back when asked to, then keeps copies.
    void begin(bool recover);
    // A clean quit: every copy goes, then the folder is free for the next editor.
    void end();

    bool active() const { return m_folder.owned(); }
    RecoveryFolder &folder() { return m_folder; }

private:
    void scheduleTick();

    Settings m_settings;
    EditorState &m_state;
    MessageBoxes &m_messages;
    ShellHost &m_host;
    std::function<QString()> m_exercisePath;
    RecoveryStart::OpenExercise m_openExercise;
    RecoveryFolder m_folder;
    std::unique_ptr<RecoveryStart> m_start;
    std::unique_ptr<CopyWriter> m_writer;
    std::unique_ptr<RecoveryTracker> m_tracker;
    QElapsedTimer m_clock;
    QTimer m_timer;
};
