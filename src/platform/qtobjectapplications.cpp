#include "qtobjectapplications.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QProcess>

QtObjectApplications::QtObjectApplications(QObject *parent)
    : QObject(parent), m_watcher(new QFileSystemWatcher(this))
{
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString &file) {
        const auto it = m_sessions.constFind(file);
        if (it != m_sessions.constEnd() && it->changed)
            it->changed();
        // Programs that save by writing a new file and renaming it drop the watch: put it back.
        if (QFileInfo::exists(file) && !m_watcher->files().contains(file))
            m_watcher->addPath(file);
    });
}

QtObjectApplications::~QtObjectApplications()
{
    for (const Session &session : std::as_const(m_sessions)) {
        if (session.process)
            session.process->disconnect(this);
    }
}

bool QtObjectApplications::open(const QString &path, std::function<void()> changed,
                                std::function<void()> closed)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    if (file.isEmpty() || !QFileInfo::exists(file) || isRunning(file))
        return false;
    auto *process = new QProcess(this);
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({file});
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start();
    if (!process->waitForStarted(3000)) {
        delete process;
        return false;
    }
    m_sessions.insert(file, Session{process, std::move(changed), std::move(closed)});
    m_watcher->addPath(file);
    connect(process, &QProcess::finished, this, [this, file, process] {
        const Session session = m_sessions.take(file);
        m_watcher->removePath(file);
        process->deleteLater();
        if (session.closed)
            session.closed();
    });
    return true;
}

bool QtObjectApplications::isRunning(const QString &path) const
{
    const auto it = m_sessions.constFind(QFileInfo(path).absoluteFilePath());
    return it != m_sessions.constEnd() && it->process && it->process->state() != QProcess::NotRunning;
}
