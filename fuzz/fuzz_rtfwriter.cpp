#include "roundtripcheck.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

// What the reader gives, written and read again, is the same document: the writer loses nothing
// the reader can hold.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const RtfReadResult first = RtfReader::read(bytes);
    if (!first.ok)
        return 0;
    const QByteArray written = RtfWriter::write(first.document);
    const RtfReadResult second = RtfReader::read(written);
    if (!second.ok) {
        std::fprintf(stderr, "written document does not read:\n%s\n", written.constData());
        __builtin_trap();
    }
    const QString where = RoundTripCheck::difference(first.document, second.document);
    if (!where.isEmpty()) {
        std::fprintf(stderr, "written document differs at %s\n", qPrintable(where));
        __builtin_trap();
    }
    return 0;
}
