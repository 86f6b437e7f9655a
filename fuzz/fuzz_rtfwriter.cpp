#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

// A document as its reader sees it: adjacent runs of one style are one run, because the writer
// is free to split or join them.
struct Flat
{
    ParagraphStyle style;
    QList<std::pair<CharStyle, QString>> runs;
};

QList<Flat> flatten(const RichDocument &document)
{
    QList<Flat> result;
    for (const Paragraph &paragraph : document.paragraphs) {
        Flat flat{paragraph.style, {}};
        for (const TextRun &run : paragraph.runs) {
            if (run.text.isEmpty())
                continue;
            QString text = run.text;
            if (run.object) // objects compare by their bytes
                text = QString::fromLatin1(run.object->imageData.toHex() + run.object->verbatimRtf.toHex());
            if (!run.object && !flat.runs.isEmpty() && flat.runs.last().first == run.style &&
                !flat.runs.last().second.startsWith(QChar(0xFFFC)))
                flat.runs.last().second += text;
            else
                flat.runs.append({run.style, run.object ? QChar(0xFFFC) + text : text});
        }
        result.append(flat);
    }
    return result;
}

bool same(const QList<Flat> &a, const QList<Flat> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!(a.at(i).style == b.at(i).style) || a.at(i).runs != b.at(i).runs)
            return false;
    }
    return true;
}

} // namespace

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
    if (!second.ok || !same(flatten(first.document), flatten(second.document))) {
        std::fprintf(stderr, "written document differs:\n%s\n", written.constData());
        __builtin_trap();
    }
    return 0;
}
