#pragma once

#include "platform/objectapplications.h"

#include <QHash>
#include <QStringList>

// Object applications that start when told and end when the test says so: `change(path)` is
// the user saving in the application, `finish(path)` closing it.
class ScriptedObjectApplications : public ObjectApplications
{
public:
    void failNext() { m_failNext = true; }

    bool open(const QString &path, std::function<void()> changed, std::function<void()> closed) override;
    bool isRunning(const QString &path) const override { return m_running.contains(path); }

    void change(const QString &path);
    void finish(const QString &path);
    const QStringList &opened() const { return m_opened; } // every path asked for, started or not

private:
    struct Session
    {
        std::function<void()> changed;
        std::function<void()> closed;
    };
    QHash<QString, Session> m_running;
    QStringList m_opened;
    bool m_failNext = false;
};
