#include "pdfexport.h"

#include "platform/editorstate.h"
#include "platform/platform.h"
#include "printcommands.h"
#include "richtext/richtextcontrol.h"

#include <QDir>
#include <QFileInfo>

PdfExport::PdfExport(RichTextControl &exo, const EditorState &state, const Platform &platform,
                     std::function<void(const QString &)> showStatus)
    : m_exo(exo), m_state(state), m_platform(platform), m_showStatus(std::move(showStatus))
{}

QString PdfExport::proposedPath(const QString &documentPath)
{
    return PrintCommands::pdfPathFor(documentPath);
}

bool PdfExport::exportpdf()
{
    FileDialogRequest request;
    request.title = tr("Exporter en PDF");
    request.filter = tr("Document PDF|*.pdf");
    request.initialName = proposedPath(m_state.currentDocumentPath);
    request.initialDirectory = QDir::toNativeSeparators(QFileInfo(request.initialName).absolutePath());
    request.cancelIsError = true;
    for (;;) {
        const FileDialogResult chosen = m_platform.files.save(request);
        if (!chosen.accepted())
            return false;
        const QString path = withDefaultExtension(chosen.path, QStringLiteral("pdf"));
        if (m_platform.system.fileExists(path) &&
            m_platform.messages.show(tr("Ecraser le fichier existant?"), tr("Ce fichier existe déjà"),
                                     MessageIcon::Exclamation, MessageButtons::YesNo) != MessageAnswer::Yes) {
            request.initialName = path;
            continue;
        }
        const QString title =
            QFileInfo(QDir::fromNativeSeparators(m_state.currentDocumentPath)).completeBaseName();
        if (!m_platform.printer.printToPdf(
                path, title, [this](QPagedPaintDevice &pdf) { return m_exo.printDocument(pdf); })) {
            m_platform.messages.show(tr("Impossible d'écrire sur ce disque"), tr("Exportation impossible"),
                                     MessageIcon::Stop);
            request.initialName = path;
            continue;
        }
        if (m_showStatus)
            m_showStatus(tr("Texte exporté dans %1").arg(QDir::toNativeSeparators(path)));
        return true;
    }
}
