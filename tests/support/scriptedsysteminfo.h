#pragma once

#include "platform/systeminfo.h"

#include <QTemporaryDir>

// A settable machine: screen 1024 × 768, a few usual fonts, and an application directory that
// is a fresh temporary folder owned by the double (so files the editor writes beside itself,
// such as its state file, land somewhere a test can inspect and that vanishes afterwards).
// File existence is asked of the real file system.
class ScriptedSystemInfo : public SystemInfo
{
public:
    ScriptedSystemInfo();

    QRect screenGeometry() const override { return m_screen; }
    QStringList screenFonts() const override { return m_fonts; }
    QString applicationDirectory() const override { return m_applicationDirectory; }
    bool fileExists(const QString &path) const override;

    void setScreenGeometry(const QRect &screen) { m_screen = screen; }
    void setScreenFonts(const QStringList &fonts) { m_fonts = fonts; }
    // Given with '/' or native separators, returned native, trailing separator kept as given
    // (a program installed at a root has one).
    void setApplicationDirectory(const QString &directory);
    // The owned temporary folder, '/' separators: where the default application directory is.
    QString temporaryDirectory() const { return m_directory.path(); }

private:
    QTemporaryDir m_directory;
    QRect m_screen{0, 0, 1024, 768};
    QStringList m_fonts;
    QString m_applicationDirectory;
};
