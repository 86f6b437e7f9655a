#include "rtfwriter.h"

QByteArray RtfWriter::write(const RichDocument &)
{
    // Placeholder until the writer lands.
    return QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0}");
}
