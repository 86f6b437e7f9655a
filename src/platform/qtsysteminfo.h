#pragma once

#include "systeminfo.h"

// The running machine: primary screen, installed font families, the executable's folder.
class QtSystemInfo : public SystemInfo
{
public:
    QRect screenGeometry() const override;
    QStringList screenFonts() const override;
    QString applicationDirectory() const override;
    bool fileExists(const QString &path) const override;
};
