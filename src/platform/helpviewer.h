#pragma once

#include <QString>

// Shows a help file. `command` 11 opens the topics window: contents, index and search.
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    virtual void showHelp(const QString &helpFile, int command) = 0;
};
