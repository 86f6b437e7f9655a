#pragma once

#include "filedialogs.h"

class QFileDialog;

// QFileDialog (Qt's own widget, so it looks and behaves the same everywhere and tests can drive
// it) over the active window. Never asks about overwriting: callers ask themselves.
//
// Patterns match whatever the case, as on the system the teachers' files come from: "*.JPG"
// lists photo.jpg. A request without a folder opens where the last dialog of the run was
// accepted, else in the user's documents folder.
class QtFileDialogs : public FileDialogs
{
public:
    FileDialogResult open(const FileDialogRequest &request) override;
    FileDialogResult save(const FileDialogRequest &request) override;

    // Sets `dialog` up for `request`, as open and save show it.
    void prepare(QFileDialog &dialog, const FileDialogRequest &request, bool saving) const;
    QString lastFolder() const { return m_lastFolder; }

private:
    FileDialogResult run(const FileDialogRequest &request, bool saving);

    QString m_lastFolder;
};
