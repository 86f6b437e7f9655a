#pragma once

#include "rtf/richdocument.h"

#include <QByteArray>

// Writes a RichDocument as compact RTF that word processors of every platform open:
// \rtf1\ansi\ansicpg1252\deff0, font and colour tables, 7-bit output only.
class RtfWriter
{
public:
    static QByteArray write(const RichDocument &document);
};
