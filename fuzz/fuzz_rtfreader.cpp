#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <cstddef>
#include <cstdint>

// Any bytes: the reader must return, in bounded time and memory, and what it returns must be
// something the writer can write and the reader read again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const RtfReadResult first = RtfReader::read(bytes);
    if (!first.ok || first.document.paragraphs.isEmpty())
        return 0;
    const QByteArray written = RtfWriter::write(first.document);
    const RtfReadResult second = RtfReader::read(written);
    if (!second.ok)
        __builtin_trap(); // our own output must always read back
    return 0;
}
