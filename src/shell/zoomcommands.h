#pragma once

#include <QCoreApplication>
#include <QObject>

class QLabel;
class QMainWindow;
class RichTextControl;
class SettingsStore;

// Zooming the text view: Ctrl++ (or Ctrl+=, the same key without Shift), Ctrl+- and Ctrl+0 on
// the window (actions `zoomIn`, `zoomOut`, `zoomReset`), Ctrl + wheel on the text; the zoom
// shows in the status bar (`zoomLabel`) and is kept for the next run.
class ZoomCommands : public QObject
{
    Q_OBJECT
public:
    static inline const QString settingsKey = QStringLiteral("view/zoom");

    ZoomCommands(QMainWindow &window, RichTextControl &exo, SettingsStore &settings);

    // "Zoom : 150 %"
    static QString caption(int percent);

private:
    void show(int percent);

    RichTextControl &m_exo;
    SettingsStore &m_settings;
    QLabel *m_label = nullptr;
};
