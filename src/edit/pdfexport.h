#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

class RichTextControl;
struct EditorState;
struct Platform;

// "&Exporter en PDF…": the whole text as a PDF file with the pages printing gives it. The
// dialog opens in the document's folder with the document's name ending in ".pdf".
class PdfExport
{
    Q_DECLARE_TR_FUNCTIONS(PdfExport)
public:
    PdfExport(RichTextControl &exo, const EditorState &state, const Platform &platform,
              std::function<void(const QString &)> showStatus);

    // False when nothing was written (cancelled, or the file could not be written).
    bool exportpdf();

    // The name the dialog proposes for a document: its folder, its name, ".pdf".
    static QString proposedPath(const QString &documentPath);

private:
    RichTextControl &m_exo;
    const EditorState &m_state;
    const Platform &m_platform;
    std::function<void(const QString &)> m_showStatus;
};
