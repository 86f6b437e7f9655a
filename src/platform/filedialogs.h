#pragma once

#include <QString>
#include <QStringList>

struct FileDialogRequest
{
    QString title;
    // Pairs "description|pattern|description|pattern…", patterns separated by ';'.
    QString filter;
    int filterIndex = 1; // from 1, as in the filter list
    QString initialName; // a path, a name or a pattern such as "*.rtf"
    QString initialDirectory;
    bool cancelIsError = false; // informative: callers treat a cancel as the end of their flow
};

struct FileDialogResult
{
    bool cancelled = true;
    bool failed = false; // the dialog itself could not be shown or gave an unusable name
    QString path;        // native separators
    int filterIndex = 1;
    bool accepted() const { return !cancelled && !failed; }
};

// The open and save dialogs. Neither asks about overwriting: callers that need it ask.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogResult open(const FileDialogRequest &request) = 0;
    virtual FileDialogResult save(const FileDialogRequest &request) = 0;
};

// "desc|*.rtf|Tous |*.*" -> {"desc (*.rtf)", "Tous (*.*)"}, as Qt's dialogs want them. A filter
// without '|' is a bare pattern list: "*.RTF" -> {"*.RTF"}. A trailing description without a
// pattern is dropped.
QStringList toQtNameFilters(const QString &filter);

// The folder a dialog opens in when nothing else names one: the user's documents folder, or
// the home folder where there is none. Never the process's working folder, which is wherever
// the editor happened to be started (a source tree, a system folder).
QString defaultDocumentFolder();

// A name typed without an extension gets `extension` ("rtf"), as every desktop editor gives the
// filter's; a name that has one is kept as typed ("notes.txt" stays).
QString withDefaultExtension(const QString &path, const QString &extension);
