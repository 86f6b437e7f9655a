#pragma once

#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedplatform.h"
#include "shell/mainwindow.h"

#include <QRect>

#include <functional>
#include <memory>

// The real main window over the real control and the scripted platform, started. Header only:
// its users link the shell themselves.
struct MainWindowFixture
{
    EditorState state;
    ScriptedPlatform fake;
    Platform platform = fake.platform();
    std::unique_ptr<MainWindow> window;

    // `beforeStart` prepares the platform before the window exists (settings of a past run).
    explicit MainWindowFixture(const QRect &screen = QRect(0, 0, 1024, 768),
                               const QStringList &screenFonts = {},
                               const std::function<void(ScriptedPlatform &)> &beforeStart = {})
    {
        fake.system.setScreenGeometry(screen);
        if (!screenFonts.isEmpty())
            fake.system.setScreenFonts(screenFonts);
        if (beforeStart)
            beforeStart(fake);
        window = std::make_unique<MainWindow>(state, platform, [] { return createRichTextControl(); });
        window->start();
    }
    RichTextControl &exo() { return window->exo(); }
};
