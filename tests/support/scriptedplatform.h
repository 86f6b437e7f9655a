#pragma once

#include "platform/platform.h"
#include "scriptedclipboard.h"
#include "scriptedfiledialogs.h"
#include "scriptedhelpviewer.h"
#include "scriptedinputboxes.h"
#include "scriptedkeystrokes.h"
#include "scriptedmessageboxes.h"
#include "scriptedobjectapplications.h"
#include "scriptedprinting.h"
#include "scriptedsettingsstore.h"
#include "scriptedsysteminfo.h"

// One scripted double of each platform service, for a test to hand to the code under test:
//
//     ScriptedPlatform fake;
//     DocumentCommands documents(state, text, fake.platform());
//     fake.messages.answerNext(MessageAnswer::No);
//     fake.files.cancelNext();
//     documents.open();
//     QVERIFY2(fake.allConsumed(), qPrintable(fake.unconsumed()));
//
// Answers still queued when it is destroyed inside a test function fail that test (unless it
// has already failed), so a flow that stopped asking early cannot pass unnoticed.
class ScriptedPlatform
{
public:
    ScriptedPlatform() = default;
    ScriptedPlatform(const ScriptedPlatform &) = delete;
    ScriptedPlatform &operator=(const ScriptedPlatform &) = delete;
    ~ScriptedPlatform();

    Platform platform()
    {
        return {messages, files, input, clipboard, keys, printer, help, system, objects, settings};
    }

    bool allConsumed() const { return unconsumed().isEmpty(); }
    // "" when every queued answer was used, else which ones were not.
    QString unconsumed() const;
    // Faults already reported by the doubles (unexpected questions, unfit answers).
    QStringList faults() const;
    // Forget answers still queued (a test that stops a flow on purpose).
    void dropPendingAnswers();

    ScriptedMessageBoxes messages;
    ScriptedFileDialogs files;
    ScriptedInputBoxes input;
    ScriptedClipboard clipboard;
    ScriptedKeystrokes keys;
    ScriptedPrinting printer;
    ScriptedHelpViewer help;
    ScriptedSystemInfo system;
    ScriptedObjectApplications objects;
    ScriptedSettingsStore settings;
};

// Fails the running test when `fake` (a ScriptedPlatform) kept answers nobody asked for.
#define VERIFY_ALL_CONSUMED(fake) QVERIFY2((fake).allConsumed(), qPrintable((fake).unconsumed()))
