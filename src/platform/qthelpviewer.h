#pragma once

#include "helpviewer.h"

#include <memory>

class HelpWindow;

// Shows help files in the editor's own topics window (see HelpFile for the format). The window
// is created on first use and kept; `showHelp` returns at once. A missing, unreadable or empty
// file shows nothing and leaves an open window as it was: no message, as the editor promises.
class QtHelpViewer : public HelpViewer
{
public:
    static constexpr int topicsCommand = 11;

    QtHelpViewer();
    ~QtHelpViewer() override;

    void showHelp(const QString &helpFile, int command) override;

    HelpWindow *window() const { return m_window.get(); }

private:
    std::unique_ptr<HelpWindow> m_window; // a top-level window: no parent owns it
};
