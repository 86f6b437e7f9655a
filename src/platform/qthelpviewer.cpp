#include "qthelpviewer.h"

#include "helpfile.h"
#include "helpwindow.h"
#include "platformlog.h"

QtHelpViewer::QtHelpViewer() = default;

QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::showHelp(const QString &helpFile, int command)
{
    if (command != topicsCommand) {
        qCWarning(lcPlatform) << "unknown help command" << command;
        return;
    }
    HelpFile file;
    if (!file.load(helpFile)) {
        qCInfo(lcPlatform) << "no help shown: cannot read" << helpFile;
        return;
    }
    if (!m_window)
        m_window = std::make_unique<HelpWindow>();
    m_window->setHelp(file, helpFile);
    m_window->showContents();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
