#pragma once

#include "platform/printing.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

struct PrintCall
{
    bool setUp = false;        // the set-up dialog, else the print dialog
    bool hasSelection = false; // print: whether "selection" was offered
    bool direct = false;       // printOnCurrent: no dialog
    bool toPdf = false;        // printToPdf
    QString pdfWhenNoPrinter;  // printOnCurrent: the file it would use without a printer;
                               // printToPdf: the file asked for
    QString title;             // printToPdf: the document's title
};

// Printer dialogs answered from a queue. An accepted print runs the job on a PDF writer in a
// temporary folder owned by the double, so a test can count the pages and open the file. A
// dialog shown with nothing queued fails the running test and comes back cancelled.
class ScriptedPrinting : public Printing
{
public:
    void acceptSetUpNext() { m_setUpAnswers.enqueue(true); }
    void cancelSetUpNext() { m_setUpAnswers.enqueue(false); }
    // `selectionOnly` is what the user picks in the print dialog; it must be offered.
    void acceptPrintNext(bool selectionOnly = false) { m_printAnswers.enqueue(selectionOnly ? 2 : 1); }
    void cancelPrintNext() { m_printAnswers.enqueue(0); }

    // Whether the system has a printer. Without one, printOnCurrent writes the PDF file it is
    // given, as the real service does.
    void setPrinterInstalled(bool installed) { m_printerInstalled = installed; }

    bool setUp() override;
    bool print(bool hasSelection,
               const std::function<bool(QPagedPaintDevice &printer, bool selectionOnly)> &job) override;
    PrintOutcome printOnCurrent(const QString &pdfWhenNoPrinter,
                                const std::function<bool(QPagedPaintDevice &printer)> &job) override;
    // Writes the PDF where it is asked to (A4, as the real service with a default printer).
    bool printToPdf(const QString &path, const QString &title,
                    const std::function<bool(QPagedPaintDevice &pdf)> &job) override;

    const QList<PrintCall> &calls() const { return m_calls; }
    int jobCount() const { return m_jobCount; }
    // Of the last job run: the PDF it produced, its number of pages (0 when it drew nothing),
    // the selection choice it was given and what it returned.
    QString lastPdfPath() const { return m_lastPdf; }
    int lastPageCount() const { return m_lastPages; }
    bool lastSelectionOnly() const { return m_lastSelectionOnly; }
    bool lastJobResult() const { return m_lastResult; }
    int pendingAnswers() const { return int(m_setUpAnswers.size() + m_printAnswers.size()); }
    const QStringList &faults() const { return m_faults; }
    void dropPending()
    {
        m_setUpAnswers.clear();
        m_printAnswers.clear();
    }
    void clear(); // answers, log and faults

private:
    void fault(const QString &message);

    QQueue<bool> m_setUpAnswers;
    QQueue<int> m_printAnswers; // 0 cancel, 1 accept all, 2 accept selection
    QList<PrintCall> m_calls;
    QStringList m_faults;
    QTemporaryDir m_directory;
    int m_jobCount = 0;
    QString m_lastPdf;
    int m_lastPages = 0;
    bool m_lastSelectionOnly = false;
    bool m_lastResult = false;
    bool m_printerInstalled = true;
};
