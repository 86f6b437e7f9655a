#pragma once

#include "rtf/richdocument.h"

#include <QByteArray>
#include <QString>

struct RtfReadResult
{
    RichDocument document; // what could be read, also when `ok` is false
    bool ok = false;
    QString message; // French, for the user, when !ok
};

// Reads RTF into a RichDocument. Never throws, never recurses per group, and stops cleanly
// at the end of the data whatever the input.
class RtfReader
{
public:
    // True when the bytes (after leading white space and a UTF-8 BOM) start with "{\rtf".
    static bool looksLikeRtf(const QByteArray &bytes);
    [[nodiscard]] static RtfReadResult read(const QByteArray &rtf);
};
