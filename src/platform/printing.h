#pragma once

#include <functional>

class QPagedPaintDevice;

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
};
