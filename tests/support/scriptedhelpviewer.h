#pragma once

#include "platform/helpviewer.h"

#include <QList>

struct HelpRequest
{
    QString helpFile;
    int command = 0;
};

// Records the help requests; shows nothing.
class ScriptedHelpViewer : public HelpViewer
{
public:
    void showHelp(const QString &helpFile, int command) override { m_requests.append({helpFile, command}); }
    const QList<HelpRequest> &requests() const { return m_requests; }
    void clear() { m_requests.clear(); }

private:
    QList<HelpRequest> m_requests;
};
