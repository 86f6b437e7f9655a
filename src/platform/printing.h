#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;

struct PrintOutcome
{
    bool printed = false; // the job ran and said it succeeded
    QString pdfPath;      // the job went to this PDF file instead of a printer
};

// The printer: its set-up dialog and the print job. `job` draws onto the chosen printer and
// says whether it succeeded.
class Printing
{
public:
    virtual ~Printing() = default;
    virtual bool setUp() = 0; // printer set-up dialog; false when cancelled
    // Shows the print dialog (offering "selection" when `hasSelection`) then runs `job`;
    // `selectionOnly` tells the job what the user chose.
    virtual bool print(bool hasSelection,
                       const std::function<bool(QPagedPaintDevice &printer, bool selectionOnly)> &job) = 0;
    // Runs `job` on the current printer with no dialog, as one copy. When the system has no
    // printer and the set-up dialog chose no file, the current printer is the PDF file
    // `pdfWhenNoPrinter` (a file that exists is replaced).
    virtual PrintOutcome printOnCurrent(const QString &pdfWhenNoPrinter,
                                        const std::function<bool(QPagedPaintDevice &printer)> &job) = 0;
    // Runs `job` on the PDF file `path`, whose pages have the paper, orientation and
    // resolution the current printer would print on. The file is written through a temporary
    // one and replaced only when the job succeeded; false otherwise, the old file untouched.
    virtual bool printToPdf(const QString &path, const QString &title,
                            const std::function<bool(QPagedPaintDevice &pdf)> &job) = 0;
};
