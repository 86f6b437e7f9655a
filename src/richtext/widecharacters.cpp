#include "widecharacters.h"

#include "textformats.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

namespace WideCharacters {

namespace {

constexpr char16_t kObject = 0xFFFC;

QFont fontFor(const QTextDocument *document, const QTextFormat &format)
{
    QFont font = format.toCharFormat().font();
    return document ? font.resolve(document->defaultFont()) : font;
}

} // namespace

bool isWide(QStringView c)
{
    return c.size() == 2 && c.at(0).isHighSurrogate() && c.at(1).isLowSurrogate();
}

QTextCharFormat format(const QTextCharFormat &around, char32_t codePoint)
{
    QTextCharFormat result = TextFormats::withoutSymbolByte(around);
    result.setObjectType(ObjectType);
    result.setProperty(TextFormats::WideCharacter, uint(codePoint));
    // Qt places an inline object on the baseline by its bottom edge; the glyph has a descent.
    result.setVerticalAlignment(QTextCharFormat::AlignBaseline);
    return result;
}

char32_t codePoint(const QTextFormat &format)
{
    if (format.objectType() != ObjectType)
        return 0;
    const uint value = format.property(TextFormats::WideCharacter).toUInt();
    return value > 0xFFFF && value <= 0x10FFFF ? char32_t(value) : 0;
}

QString text(const QTextFormat &format)
{
    const char32_t c = codePoint(format);
    return c == 0 ? QString() : QString::fromUcs4(&c, 1);
}

void insertText(QTextCursor &cursor, QStringView text, const QTextCharFormat &format)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (!isWide(text.mid(i, 2)))
            continue;
        if (i > from)
            cursor.insertText(text.mid(from, i - from).toString(), format);
        const char32_t c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        cursor.insertText(QString(QChar(kObject)), WideCharacters::format(format, c));
        from = i + 2;
        ++i;
    }
    if (from < text.size())
        cursor.insertText(text.mid(from).toString(), format);
}

void registerHandler(QTextDocument &document)
{
    document.documentLayout()->registerHandler(ObjectType, new Handler(&document));
}

QSizeF Handler::intrinsicSize(QTextDocument *document, int, const QTextFormat &format)
{
    const QFontMetricsF metrics(fontFor(document, format),
                                document ? document->documentLayout()->paintDevice() : nullptr);
    return QSizeF(metrics.horizontalAdvance(text(format)), metrics.height());
}

void Handler::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
                         const QTextFormat &format)
{
    const QFont font = fontFor(document, format);
    painter->save();
    painter->setFont(font);
    const QTextCharFormat chars = format.toCharFormat();
    if (chars.hasProperty(QTextFormat::ForegroundBrush))
        painter->setPen(chars.foreground().color());
    const QFontMetricsF metrics(font, painter->device());
    painter->drawText(QPointF(rect.left(), rect.bottom() - metrics.descent()), text(format));
    painter->restore();
}

} // namespace WideCharacters
