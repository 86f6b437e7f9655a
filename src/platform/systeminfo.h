#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

// Facts of the machine the editor runs on.
class SystemInfo
{
public:
    virtual ~SystemInfo() = default;
    virtual QRect screenGeometry() const = 0; // pixels, of the screen the window opens on
    virtual int twipsPerPixelX() const { return 15; }
    virtual int twipsPerPixelY() const { return 15; }
    virtual QStringList screenFonts() const = 0;
    virtual QString applicationDirectory() const = 0; // folder of the executable, native separators
    virtual bool fileExists(const QString &path) const = 0;
};
