#pragma once

#include "platform/shellhost.h"

#include <QString>

#include <functional>
#include <map>
#include <vector>

// The main window's start-up: every step runs, in StartupStep order, whether or not an earlier
// one managed its work; a step with no registered action is skipped. Actions of one step run in
// the order they were added.
class StartupSequence
{
public:
    void add(StartupStep step, std::function<void()> action);
    bool has(StartupStep step) const;
    void run();

private:
    std::map<StartupStep, std::vector<std::function<void()>>> m_actions;
};
