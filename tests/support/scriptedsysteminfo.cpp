#include "scriptedsysteminfo.h"

#include <QDir>
#include <QFileInfo>

ScriptedSystemInfo::ScriptedSystemInfo()
    : m_fonts{QStringLiteral("Arial"),           QStringLiteral("Courier New"), QStringLiteral("Symbol"),
              QStringLiteral("Times New Roman"), QStringLiteral("Verdana"),     QStringLiteral("Wingdings")},
      m_applicationDirectory(QDir::toNativeSeparators(m_directory.path()))
{}

bool ScriptedSystemInfo::fileExists(const QString &path) const
{
    return QFileInfo::exists(path);
}

void ScriptedSystemInfo::setApplicationDirectory(const QString &directory)
{
    m_applicationDirectory = QDir::toNativeSeparators(directory);
}
