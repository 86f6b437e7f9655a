#include "qtsysteminfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

QRect QtSystemInfo::screenGeometry() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QStringList QtSystemInfo::screenFonts() const
{
    return QFontDatabase::families();
}

QString QtSystemInfo::applicationDirectory() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

bool QtSystemInfo::fileExists(const QString &path) const
{
    return !path.isEmpty() && QFileInfo::exists(path);
}
