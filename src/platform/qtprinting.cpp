#include "qtprinting.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>

QtPrinting::QtPrinting() = default;
QtPrinting::~QtPrinting() = default;

QPrinter &QtPrinting::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool QtPrinting::setUp()
{
    // The print dialog chooses the printer and, through its properties, the paper: what a
    // printer set-up dialog offers. It only configures here, so its button says so.
    QPrintDialog dialog(&printer(), QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("printerSetUpDialog"));
    dialog.setWindowTitle(QPrintDialog::tr("Configurer l'imprimante"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QPrintDialog::tr("OK"));
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_fileChosen = printer().outputFormat() == QPrinter::PdfFormat && !printer().outputFileName().isEmpty();
    return true;
}

PrintOutcome QtPrinting::printOnCurrent(const QString &pdfWhenNoPrinter,
                                        const std::function<bool(QPagedPaintDevice &)> &job)
{
    QPrinter &target = printer();
    target.setCopyCount(1);
    target.setPrintRange(QPrinter::AllPages);
    if (!m_fileChosen && QPrinterInfo::availablePrinters().isEmpty()) {
        // A teacher without a printer hands out PDF files: the job goes beside the document.
        target.setOutputFormat(QPrinter::PdfFormat);
        target.setOutputFileName(pdfWhenNoPrinter);
    }
    PrintOutcome outcome;
    if (target.outputFormat() == QPrinter::PdfFormat)
        outcome.pdfPath = target.outputFileName();
    outcome.printed = job && job(target);
    return outcome;
}

bool QtPrinting::print(bool hasSelection, const std::function<bool(QPagedPaintDevice &, bool)> &job)
{
    QPrinter &target = printer();
    QPrintDialog dialog(&target, QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("printDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, hasSelection);
    // Offer the selection the user made: printing a selected word prints that word.
    target.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const bool selectionOnly = hasSelection && target.printRange() == QPrinter::Selection;
    const bool done = job && job(target, selectionOnly);
    target.setPrintRange(QPrinter::AllPages);
    return done;
}

bool QtPrinting::printToPdf(const QString &path, const QString &title,
                            const std::function<bool(QPagedPaintDevice &)> &job)
{
    QSaveFile file(path);
    if (!job || !file.open(QIODevice::WriteOnly))
        return false;
    bool done = false;
    {
        QPdfWriter writer(&file);
        // The pages the printer would give, so the file and the paper match line for line.
        const QPrinter &current = printer();
        writer.setResolution(current.resolution());
        writer.setPageLayout(current.pageLayout());
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Veligram"));
        done = job(writer);
    } // the writer completes the file when it goes
    if (!done) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
