#pragma once

class QPagedPaintDevice;
class QTextDocument;

// Draws a document onto a printer or a PDF writer, page after page, with the text engine's own
// pagination: 2 cm around the text and nothing else on the page (no page number, no header).
// The document is laid out again for the device; it should be a copy made for the job.
class DocumentPrinter
{
public:
    static constexpr double marginCm = 2;

    // False when the device cannot be drawn on (a PDF file that cannot be written).
    static bool print(QTextDocument &document, QPagedPaintDevice &device);
};
