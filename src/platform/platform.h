#pragma once

#include "clipboard.h"
#include "filedialogs.h"
#include "helpviewer.h"
#include "inputboxes.h"
#include "keystrokes.h"
#include "messageboxes.h"
#include "objectapplications.h"
#include "printing.h"
#include "settingsstore.h"
#include "systeminfo.h"

// Every platform service the editor talks to, handed to the modules that need them. main()
// fills it with the Qt implementations; tests with the scripted doubles.
struct Platform
{
    MessageBoxes &messages;
    FileDialogs &files;
    InputBoxes &input;
    Clipboard &clipboard;
    Keystrokes &keys;
    Printing &printer;
    HelpViewer &help;
    SystemInfo &system;
    ObjectApplications &objects;
    SettingsStore &settings;
};
