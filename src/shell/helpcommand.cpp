#include "helpcommand.h"

#include "platform/helpviewer.h"

#include <QDir>

QString helpFilePath(const QString &applicationDirectory)
{
    QString directory = QDir::fromNativeSeparators(applicationDirectory);
    // A program installed at the root already has its separator ("C:\", "/").
    if (!directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    return QDir::toNativeSeparators(directory + QStringLiteral("QZ7.hlp"));
}

void showHelp(HelpViewer &viewer, const QString &applicationDirectory)
{
    viewer.showHelp(helpFilePath(applicationDirectory), helpTopicsCommand);
}
