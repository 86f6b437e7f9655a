#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

class MessageBoxes;
class Printing;
class RichTextControl;
struct EditorState;

// "&Configurer imprimante" and "&Imprimer". The print goes to the current printer with no
// dialog: the selection, or the whole text when nothing is selected, paginated by the text
// itself. With no printer on the system it goes to a PDF file beside the document, under a
// free name (an older PDF of that name is never replaced), and a message and the status bar
// say where.
class PrintCommands
{
    Q_DECLARE_TR_FUNCTIONS(PrintCommands)
public:
    PrintCommands(RichTextControl &exo, const EditorState &state, Printing &printer,
                  std::function<void(const QString &)> showStatus, MessageBoxes *messages = nullptr);

    void configimp(); // the choice lasts for the run; cancelling says nothing
    void imprimons();

    // The PDF that stands for the printer: the document's name with ".pdf" beside it, or
    // "SANS NOM.pdf" in the user's documents folder for a text without a file.
    static QString pdfPathFor(const QString &documentPath);
    // `path` when no file has that name, else the first of "name (2).pdf", "name (3).pdf"…
    static QString freePath(const QString &path);

private:
    RichTextControl &m_exo;
    const EditorState &m_state;
    Printing &m_printer;
    std::function<void(const QString &)> m_showStatus;
    MessageBoxes *m_messages;
};
