#include "scriptedobjectapplications.h"

bool ScriptedObjectApplications::open(const QString &path, std::function<void()> changed,
                                      std::function<void()> closed)
{
    m_opened.append(path);
    if (m_failNext || m_running.contains(path)) {
        m_failNext = false;
        return false;
    }
    m_running.insert(path, Session{std::move(changed), std::move(closed)});
    return true;
}

void ScriptedObjectApplications::change(const QString &path)
{
    const auto it = m_running.constFind(path);
    if (it != m_running.constEnd() && it->changed)
        it->changed();
}

void ScriptedObjectApplications::finish(const QString &path)
{
    const Session session = m_running.take(path);
    if (session.closed)
        session.closed();
}
