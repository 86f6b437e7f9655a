#pragma once

#include <QString>

#include <optional>

// The text of a PDF as the poppler tools extract it (pages separated by form feeds); empty
// when `pdftotext` is not installed, so that a test can skip with a reason.
std::optional<QString> pdfText(const QString &path);

// Page objects of a PDF written by QPdfWriter, which writes its object dictionaries
// uncompressed; 0 when the file cannot be read.
int pdfPageCount(const QString &path);
