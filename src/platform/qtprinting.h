#pragma once

#include "printing.h"

#include <memory>

class QPrinter;

// One QPrinter for the whole run, so that what the set-up dialog chooses (printer, paper,
// orientation) holds for every later print.
class QtPrinting : public Printing
{
public:
    QtPrinting();
    ~QtPrinting() override;

    bool setUp() override;
    bool print(bool hasSelection,
               const std::function<bool(QPagedPaintDevice &printer, bool selectionOnly)> &job) override;
    PrintOutcome printOnCurrent(const QString &pdfWhenNoPrinter,
                                const std::function<bool(QPagedPaintDevice &printer)> &job) override;
    bool printToPdf(const QString &path, const QString &title,
                    const std::function<bool(QPagedPaintDevice &pdf)> &job) override;

private:
    QPrinter &printer();

    std::unique_ptr<QPrinter> m_printer; // created on first use: it queries the print system
    bool m_fileChosen = false;           // the set-up dialog sent the output to a file
};
