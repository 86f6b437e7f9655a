#include "qtfiledialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

bool isPattern(const QString &name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

} // namespace

FileDialogResult QtFileDialogs::open(const FileDialogRequest &request)
{
    return run(request, false);
}

FileDialogResult QtFileDialogs::save(const FileDialogRequest &request)
{
    return run(request, true);
}

FileDialogResult QtFileDialogs::run(const FileDialogRequest &request, bool saving)
{
    QFileDialog dialog(QApplication::activeWindow());
    prepare(dialog, request, saving);
    const QStringList filters = dialog.nameFilters();

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted)
        return result; // cancelled
    result.cancelled = false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty() || QFileInfo(chosen.front()).isDir()) {
        result.failed = true;
        return result;
    }
    result.path = QDir::toNativeSeparators(chosen.front());
    m_lastFolder = QFileInfo(chosen.front()).absolutePath();
    const int selected = int(filters.indexOf(dialog.selectedNameFilter()));
    result.filterIndex = selected >= 0 ? selected + 1 : 1;
    return result;
}

void QtFileDialogs::prepare(QFileDialog &dialog, const FileDialogRequest &request, bool saving) const
{
    dialog.setWindowTitle(request.title);
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt's own default, made explicit: the teachers' files come from a case-blind system.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);

    const QStringList filters = toQtNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);

    // The initial name may be a full path, a bare name or a pattern ("*.rtf", "C:\dir\*.E01").
    const QString initial = QDir::fromNativeSeparators(request.initialName.trimmed());
    const QFileInfo initialInfo(initial);
    QString directory = QDir::fromNativeSeparators(request.initialDirectory);
    if (initial.contains(QLatin1Char('/')))
        directory = initialInfo.path();
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        directory = m_lastFolder;
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        directory = defaultDocumentFolder();
    dialog.setDirectory(directory);

    const QString initialName = initialInfo.fileName();
    if (isPattern(initialName)) {
        // A pattern in the name box lists the matching files; with no filter it is the filter.
        if (filters.isEmpty())
            dialog.setNameFilter(initialName);
    } else if (!initialName.isEmpty()) {
        dialog.selectFile(initialName);
    }
    const int filterIndex = request.filterIndex - 1;
    if (filterIndex >= 0 && filterIndex < filters.size())
        dialog.selectNameFilter(filters[filterIndex]);
}
