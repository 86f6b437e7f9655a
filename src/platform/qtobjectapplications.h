#pragma once

#include "objectapplications.h"

#include <QHash>
#include <QObject>

class QFileSystemWatcher;
class QProcess;

// Opens files through the desktop's opener (xdg-open), whose process stands for the object's
// application: with most desktops it lasts as long as the program it starts.
class QtObjectApplications : public QObject, public ObjectApplications
{
    Q_OBJECT
public:
    explicit QtObjectApplications(QObject *parent = nullptr);
    ~QtObjectApplications() override;

    bool open(const QString &path, std::function<void()> changed, std::function<void()> closed) override;
    bool isRunning(const QString &path) const override;

private:
    struct Session
    {
        QProcess *process = nullptr;
        std::function<void()> changed;
        std::function<void()> closed;
    };
    QHash<QString, Session> m_sessions;
    QFileSystemWatcher *m_watcher = nullptr;
};
