#pragma once

#include "platform/filedialogs.h"

#include <QList>
#include <QQueue>

enum class FileDialogMode { Open, Save };

struct FileDialogCall
{
    FileDialogMode mode = FileDialogMode::Open;
    FileDialogRequest request;
};

// Open and save dialogs answered from a queue: a chosen path (given with '/' or native
// separators, returned native as the real dialogs do), a cancel or a failure. A dialog shown
// with nothing queued fails the running test, names the dialog and comes back cancelled.
class ScriptedFileDialogs : public FileDialogs
{
public:
    void chooseNext(const QString &path, int filterIndex = 1);
    void cancelNext();
    void failNext();

    FileDialogResult open(const FileDialogRequest &request) override;
    FileDialogResult save(const FileDialogRequest &request) override;

    const QList<FileDialogCall> &requests() const { return m_requests; }
    int pendingAnswers() const { return int(m_answers.size()); }
    const QStringList &faults() const { return m_faults; }
    void dropPending() { m_answers.clear(); }
    void clear(); // answers, log and faults

private:
    FileDialogResult answer(FileDialogMode mode, const FileDialogRequest &request);

    QQueue<FileDialogResult> m_answers;
    QList<FileDialogCall> m_requests;
    QStringList m_faults;
};
