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

QString describe(const CharStyle &s)
{
    return QStringLiteral("font=%1 symbol=%2 hp=%3 b=%4 i=%5 u=%6 s=%7 colour=%8 offset=%9 protected=%10")
        .arg(s.fontName)
        .arg(s.symbolFont)
        .arg(s.halfPoints)
        .arg(s.bold)
        .arg(s.italic)
        .arg(s.underline)
        .arg(s.strikethrough)
        .arg(s.color ? QString::number(*s.color, 16) : QStringLiteral("-"))
        .arg(s.offsetTwips)
        .arg(s.protectedText);
}

// Text with what does not print spelled out.
QString visible(const QString &text)
{
    QString out;
    for (const QChar c : text.left(60))
        out += c.isPrint() && c.unicode() < 0x7F
                   ? QString(c)
                   : QStringLiteral("<%1>").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return out;
}

// Where the two differ, "" when they do not.
QString difference(const QList<Flat> &a, const QList<Flat> &b)
{
    if (a.size() != b.size())
        return QStringLiteral("%1 paragraphs, then %2").arg(a.size()).arg(b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!(a.at(i).style == b.at(i).style))
            return QStringLiteral("paragraph %1: its style").arg(i);
        const auto &x = a.at(i).runs;
        const auto &y = b.at(i).runs;
        for (qsizetype r = 0; r < qMax(x.size(), y.size()); ++r) {
            if (r >= x.size() || r >= y.size())
                return QStringLiteral("paragraph %1: %2 runs, then %3").arg(i).arg(x.size()).arg(y.size());
            if (x.at(r) != y.at(r))
                return QStringLiteral("paragraph %1 run %2:\n  \"%3\" %4\n  \"%5\" %6")
                    .arg(i)
                    .arg(r)
                    .arg(visible(x.at(r).second), describe(x.at(r).first), visible(y.at(r).second),
                         describe(y.at(r).first));
        }
    }
    return {};
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
    if (!second.ok) {
        std::fprintf(stderr, "written document does not read:\n%s\n", written.constData());
        __builtin_trap();
    }
    const QString where = difference(flatten(first.document), flatten(second.document));
    if (!where.isEmpty()) {
        std::fprintf(stderr, "written document differs at %s\n", qPrintable(where));
        __builtin_trap();
    }
    return 0;
}
