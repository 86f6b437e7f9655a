#include "recoverysession.h"

#include "copywriter.h"
#include "recoverytracker.h"

RecoverySession::Settings RecoverySession::Settings::fromEnvironment()
{
    Settings settings;
    const QStringList delays = qEnvironmentVariable("VELIGRAM_RECOVERY_DELAYS").split(QLatin1Char(','));
    if (delays.size() == 2) {
        bool quietOk = false;
        bool longestOk = false;
        const qint64 quiet = delays.at(0).trimmed().toLongLong(&quietOk);
        const qint64 longest = delays.at(1).trimmed().toLongLong(&longestOk);
        if (quietOk && longestOk && quiet >= 0 && longest >= quiet) {
            settings.quietMs = quiet;
            settings.longestMs = longest;
        }
    }
    return settings;
}

RecoverySession::RecoverySession(const Settings &settings, EditorState &state, MessageBoxes &messages,
                                 ShellHost &host, std::function<QString()> exercisePath,
                                 RecoveryStart::OpenExercise openExercise, QObject *parent)
    : QObject(parent), m_settings(settings), m_state(state), m_messages(messages), m_host(host),
      m_exercisePath(std::move(exercisePath)), m_openExercise(std::move(openExercise)),
      m_folder(settings.folder)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_tracker->tick();
        scheduleTick();
    });
}

RecoverySession::~RecoverySession()
{
    m_timer.stop();
    m_tracker.reset();
    m_writer.reset(); // waits for the copy under way
}

bool RecoverySession::askAtStart()
{
    if (!m_folder.claim())
        return false;
    m_start = std::make_unique<RecoveryStart>(m_folder, m_messages);
    return m_start->ask();
}

void RecoverySession::begin(bool recover)
{
    if (!m_folder.owned() || m_tracker)
        return;
    QList<RecoveryEntry> recovered;
    if (recover && m_start)
        recovered = m_start->restore(m_state, m_host, m_openExercise);
    m_start.reset();
    m_writer = std::make_unique<CopyWriter>(m_folder);
    m_tracker = std::make_unique<RecoveryTracker>(
        m_state, m_host, m_exercisePath, *m_writer, [this] { return m_clock.elapsed(); },
        CopySchedule(m_settings.quietMs, m_settings.longestMs));
    m_tracker->adopt(recovered);
    connect(m_tracker.get(), &RecoveryTracker::textChanged, this, [this] {
        if (!m_timer.isActive() || m_timer.remainingTime() > m_tracker->nextTickIn())
            scheduleTick();
    });
    scheduleTick();
}

void RecoverySession::scheduleTick()
{
    m_timer.start(int(m_tracker->nextTickIn()));
}

void RecoverySession::end()
{
    if (!m_folder.owned())
        return;
    m_timer.stop();
    m_tracker.reset();
    if (m_writer) {
        m_writer->clear();
        m_writer->waitForDone();
        m_writer.reset();
    } else {
        m_folder.clear();
    }
    m_folder.release();
}
