#pragma once

#include "filedialogs.h"

// QFileDialog (Qt's own widget, so it looks and behaves the same everywhere and tests can drive
// it) over the active window. Never asks about overwriting: callers ask themselves.
class QtFileDialogs : public FileDialogs
{
public:
    FileDialogResult open(const FileDialogRequest &request) override;
    FileDialogResult save(const FileDialogRequest &request) override;

private:
    FileDialogResult run(const FileDialogRequest &request, bool saving);
};
