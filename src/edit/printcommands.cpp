#include "printcommands.h"

#include "platform/editorstate.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/printing.h"
#include "richtext/richtextcontrol.h"

#include <QDir>
#include <QFileInfo>

PrintCommands::PrintCommands(RichTextControl &exo, const EditorState &state, Printing &printer,
                             std::function<void(const QString &)> showStatus, MessageBoxes *messages)
    : m_exo(exo), m_state(state), m_printer(printer), m_showStatus(std::move(showStatus)),
      m_messages(messages)
{}

QString PrintCommands::freePath(const QString &path)
{
    const QFileInfo wanted(QDir::fromNativeSeparators(path));
    if (!wanted.exists())
        return path;
    const QString base = wanted.completeBaseName();
    const QString suffix = wanted.suffix().isEmpty() ? QString() : QLatin1Char('.') + wanted.suffix();
    for (int n = 2;; ++n) {
        const QString candidate =
            wanted.absoluteDir().absoluteFilePath(base + QStringLiteral(" (%1)").arg(n) + suffix);
        if (!QFileInfo::exists(candidate))
            return QDir::toNativeSeparators(candidate);
    }
}

QString PrintCommands::pdfPathFor(const QString &documentPath)
{
    if (documentPath.isEmpty() || documentPath == EditorState::untitled) {
        const QDir documents(defaultDocumentFolder());
        return QDir::toNativeSeparators(
            documents.absoluteFilePath(EditorState::untitled + QStringLiteral(".pdf")));
    }
    const QFileInfo document(QDir::fromNativeSeparators(documentPath));
    // A text read from a file named ".pdf" keeps its file: the print goes beside it.
    const QString base = document.suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0
                             ? document.fileName()
                             : document.completeBaseName();
    return QDir::toNativeSeparators(document.absoluteDir().absoluteFilePath(base + QStringLiteral(".pdf")));
}

void PrintCommands::configimp()
{
    m_printer.setUp();
}

void PrintCommands::imprimons()
{
    // Printing never replaces a file: the user may have exported or printed that PDF before.
    const QString pdf = freePath(pdfPathFor(m_state.currentDocumentPath));
    QDir().mkpath(QFileInfo(pdf).absolutePath());
    const PrintOutcome outcome = m_printer.printOnCurrent(
        pdf, [this](QPagedPaintDevice &device) { return m_exo.printSelection(device); });
    const QString written =
        tr("Pas d'imprimante : texte imprimé dans %1").arg(QDir::toNativeSeparators(outcome.pdfPath));
    if (m_showStatus) {
        if (!outcome.printed)
            m_showStatus(tr("Impression impossible"));
        else if (!outcome.pdfPath.isEmpty())
            m_showStatus(written);
    }
    // A status line goes by unnoticed; the teacher must know where the pages went.
    if (m_messages && outcome.printed && !outcome.pdfPath.isEmpty())
        m_messages->show(written, tr("Imprimer"), MessageIcon::Information, MessageButtons::Ok);
}
