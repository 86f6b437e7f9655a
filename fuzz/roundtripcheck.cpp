#include "roundtripcheck.h"

#include <QImage>

namespace {

// A document as its reader sees it: adjacent runs of one style are one run.
struct Stretch
{
    CharStyle style;
    QString text;
    std::shared_ptr<const EmbeddedObject> object;
};

struct Flat
{
    ParagraphStyle style;
    QList<Stretch> stretches;
};

QList<Flat> flatten(const RichDocument &document)
{
    QList<Flat> result;
    for (const Paragraph &paragraph : document.paragraphs) {
        Flat flat{paragraph.style, {}};
        for (const TextRun &run : paragraph.runs) {
            if (run.text.isEmpty())
                continue;
            if (!run.object && !flat.stretches.isEmpty() && !flat.stretches.last().object &&
                flat.stretches.last().style == run.style)
                flat.stretches.last().text += run.text;
            else
                flat.stretches.append({run.style, run.text, run.object});
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

QString describe(const EmbeddedObject *object)
{
    if (!object)
        return QStringLiteral("no object");
    return QStringLiteral("%1 %2x%3 px, %4x%5 twips, %6 verbatim bytes")
        .arg(object->kind == EmbeddedObject::Kind::Picture ? QStringLiteral("picture")
                                                           : QStringLiteral("verbatim"))
        .arg(object->image.width())
        .arg(object->image.height())
        .arg(object->widthTwips)
        .arg(object->heightTwips)
        .arg(object->verbatimRtf.size());
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

bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    // Formats differ between decoders (a bitmap's rows, PNG's): what shows is compared.
    return a.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
           b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool sameObject(const EmbeddedObject *a, const EmbeddedObject *b)
{
    if (!a || !b)
        return a == b;
    if (a->kind != b->kind || a->widthTwips != b->widthTwips || a->heightTwips != b->heightTwips)
        return false;
    // A verbatim group shows a placeholder drawn from its size: its bytes are what it is.
    if (a->kind == EmbeddedObject::Kind::Verbatim)
        return a->verbatimRtf == b->verbatimRtf;
    return samePixels(a->image, b->image);
}

bool sameStretch(const Stretch &a, const Stretch &b)
{
    return a.style == b.style && a.text == b.text && sameObject(a.object.get(), b.object.get());
}

} // namespace

QString RoundTripCheck::difference(const RichDocument &before, const RichDocument &after)
{
    const QList<Flat> a = flatten(before);
    const QList<Flat> b = flatten(after);
    if (a.size() != b.size())
        return QStringLiteral("%1 paragraphs, then %2").arg(a.size()).arg(b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!(a.at(i).style == b.at(i).style))
            return QStringLiteral("paragraph %1: its style").arg(i);
        const QList<Stretch> &x = a.at(i).stretches;
        const QList<Stretch> &y = b.at(i).stretches;
        if (x.size() != y.size())
            return QStringLiteral("paragraph %1: %2 runs, then %3").arg(i).arg(x.size()).arg(y.size());
        for (qsizetype r = 0; r < x.size(); ++r) {
            if (!sameStretch(x.at(r), y.at(r)))
                return QStringLiteral("paragraph %1 run %2:\n  \"%3\" %4, %5\n  \"%6\" %7, %8")
                    .arg(i)
                    .arg(r)
                    .arg(visible(x.at(r).text), describe(x.at(r).style), describe(x.at(r).object.get()),
                         visible(y.at(r).text), describe(y.at(r).style), describe(y.at(r).object.get()));
        }
    }
    return {};
}
