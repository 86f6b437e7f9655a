#pragma once

#include "platform.h"
#include "qtclipboard.h"
#include "qtfiledialogs.h"
#include "qthelpviewer.h"
#include "qtinputboxes.h"
#include "qtkeystrokes.h"
#include "qtmessageboxes.h"
#include "qtobjectapplications.h"
#include "qtprinting.h"
#include "qtsettingsstore.h"
#include "qtsysteminfo.h"

// The Qt implementation of every platform service, for main() to create once (after the
// QApplication) and hand out as a Platform.
class QtPlatform
{
public:
    QtPlatform() = default;
    QtPlatform(const QtPlatform &) = delete;
    QtPlatform &operator=(const QtPlatform &) = delete;

    Platform platform()
    {
        return {messages, files, input, clipboard, keys, printer, help, system, objects, settings};
    }

    QtMessageBoxes messages;
    QtFileDialogs files;
    QtInputBoxes input;
    QtClipboard clipboard;
    QtKeystrokes keys;
    QtPrinting printer;
    QtHelpViewer help;
    QtSystemInfo system;
    QtObjectApplications objects;
    QtSettingsStore settings;
};
