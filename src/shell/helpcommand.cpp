#include "helpcommand.h"

#include "platform/helpviewer.h"
#include "platform/systeminfo.h"

#include <QDir>

namespace {

const QString helpFileName = QStringLiteral("QZ7.hlp");

} // namespace

QString helpFilePath(const QString &applicationDirectory)
{
    QString directory = QDir::fromNativeSeparators(applicationDirectory);
    // A program installed at the root already has its separator ("C:\", "/").
    if (!directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    return QDir::toNativeSeparators(directory + helpFileName);
}

QString installedHelpFilePath(const QString &applicationDirectory)
{
    // The install rules put the help in VELIGRAM_HELP_FROM_BIN, relative to the programs.
    const QDir programs(QDir::fromNativeSeparators(applicationDirectory));
    return QDir::toNativeSeparators(QDir::cleanPath(
        programs.absoluteFilePath(QStringLiteral(VELIGRAM_HELP_FROM_BIN "/") + helpFileName)));
}

QString findHelpFile(const SystemInfo &system)
{
    const QString beside = helpFilePath(system.applicationDirectory());
    if (system.fileExists(beside))
        return beside;
    const QString installed = installedHelpFilePath(system.applicationDirectory());
    return system.fileExists(installed) ? installed : beside;
}

void showHelp(HelpViewer &viewer, const SystemInfo &system)
{
    viewer.showHelp(findHelpFile(system), helpTopicsCommand);
}
