#include "printcommands.h"

#include "platform/editorstate.h"
#include "platform/filedialogs.h"
#include "platform/printing.h"
#include "richtext/richtextcontrol.h"

#include <QDir>
#include <QFileInfo>

PrintCommands::PrintCommands(RichTextControl &exo, const EditorState &state, Printing &printer,
                             std::function<void(const QString &)> showStatus)
    : m_exo(exo), m_state(state), m_printer(printer), m_showStatus(std::move(showStatus))
{}

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
    const QString pdf = pdfPathFor(m_state.currentDocumentPath);
    QDir().mkpath(QFileInfo(pdf).absolutePath());
    const PrintOutcome outcome = m_printer.printOnCurrent(
        pdf, [this](QPagedPaintDevice &device) { return m_exo.printSelection(device); });
    if (!m_showStatus)
        return;
    if (!outcome.printed)
        m_showStatus(tr("Impression impossible"));
    else if (!outcome.pdfPath.isEmpty())
        m_showStatus(
            tr("Pas d'imprimante : texte imprimé dans %1").arg(QDir::toNativeSeparators(outcome.pdfPath)));
}
