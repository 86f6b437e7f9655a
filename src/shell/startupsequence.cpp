#include "startupsequence.h"

void StartupSequence::add(StartupStep step, std::function<void()> action)
{
    Q_ASSERT(action);
    m_actions[step].push_back(std::move(action));
}

bool StartupSequence::has(StartupStep step) const
{
    return m_actions.find(step) != m_actions.end();
}

void StartupSequence::run()
{
    // The map is ordered by the enumeration, which lists the steps in running order.
    for (const auto &[step, actions] : m_actions) {
        for (const std::function<void()> &action : actions)
            action();
    }
}
