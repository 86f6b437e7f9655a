#include "scriptedfiledialogs.h"

#include "scriptfault.h"

#include <QDir>

void ScriptedFileDialogs::chooseNext(const QString &path, int filterIndex)
{
    FileDialogResult result;
    result.cancelled = false;
    result.path = QDir::toNativeSeparators(path);
    result.filterIndex = filterIndex;
    m_answers.enqueue(result);
}

void ScriptedFileDialogs::cancelNext()
{
    m_answers.enqueue(FileDialogResult{});
}

void ScriptedFileDialogs::failNext()
{
    FileDialogResult result;
    result.cancelled = false;
    result.failed = true;
    m_answers.enqueue(result);
}

FileDialogResult ScriptedFileDialogs::open(const FileDialogRequest &request)
{
    return answer(FileDialogMode::Open, request);
}

FileDialogResult ScriptedFileDialogs::save(const FileDialogRequest &request)
{
    return answer(FileDialogMode::Save, request);
}

void ScriptedFileDialogs::clear()
{
    m_answers.clear();
    m_requests.clear();
    m_faults.clear();
}

FileDialogResult ScriptedFileDialogs::answer(FileDialogMode mode, const FileDialogRequest &request)
{
    m_requests.append({mode, request});
    if (m_answers.isEmpty()) {
        const QString fault =
            QStringLiteral(
                "Unexpected %1 dialog \"%2\" (filter \"%3\", initial name \"%4\"): no answer queued")
                .arg(mode == FileDialogMode::Open ? QStringLiteral("open") : QStringLiteral("save"),
                     request.title, request.filter, request.initialName);
        m_faults.append(fault);
        reportScriptFault(fault);
        return FileDialogResult{};
    }
    return m_answers.dequeue();
}
