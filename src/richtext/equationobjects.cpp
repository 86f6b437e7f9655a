#include "equationobjects.h"

#include "math/equation.h"
#include "math/linearwriter.h"
#include "math/ommlreader.h"
#include "math/ommlwriter.h"
#include "textformats.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QScreen>
#include <QTextDocument>

namespace EquationObjects {

namespace {

// The resolution a layout without a paint device measures fonts at: the screen's.
qreal screenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

qreal dpiOf(const QTextDocument *document)
{
    const QPaintDevice *device = document ? document->documentLayout()->paintDevice() : nullptr;
    return device ? device->logicalDpiY() : screenDpi();
}

// Parsing costs more than drawing: each linear text is read once while it is in use.
Equation equationFor(const QString &text)
{
    static QMutex lock;
    static QHash<QString, Equation> parsed;
    const QMutexLocker locked(&lock);
    const auto found = parsed.constFind(text);
    if (found != parsed.constEnd())
        return *found;
    if (parsed.size() > 4096)
        parsed.clear();
    return *parsed.insert(text, Equation::fromLinear(text));
}

struct Drawing
{
    Equation equation;
    qreal points = 10;
    qreal offsetPx = 0; // positive raises
    qreal halfXHeight = 0;
    QColor color;
};

Drawing drawingOf(const QTextFormat &format, const QTextDocument *document, qreal dpi)
{
    const QTextCharFormat chars = format.toCharFormat();
    Drawing drawing;
    drawing.equation = equationFor(linear(format));
    drawing.points = document ? TextFormats::pointSize(chars, *document) : chars.fontPointSize();
    if (drawing.points <= 0)
        drawing.points = 10;
    drawing.offsetPx = TextFormats::offsetTwips(chars) / 1440.0 * dpi;
    // The same metrics the layouts place a middle-aligned object with.
    drawing.halfXHeight = QFontMetrics(chars.font()).xHeight() / 2.0;
    drawing.color = QColor::fromRgb(TextFormats::colorOf(chars));
    return drawing;
}

} // namespace

bool isEquation(const QTextFormat &format)
{
    return format.objectType() == ObjectType;
}

QString linear(const QTextFormat &format)
{
    return isEquation(format) ? format.stringProperty(TextFormats::EquationText) : QString();
}

QTextCharFormat format(const QTextCharFormat &around, const QString &linear)
{
    QTextCharFormat result = TextFormats::withoutSymbolByte(around);
    result.clearProperty(TextFormats::WideCharacter);
    result.setObjectType(ObjectType);
    result.setProperty(TextFormats::EquationText, linear);
    result.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    return result;
}

Placement placement(qreal ascent, qreal descent, qreal halfXHeight)
{
    const qreal height = std::max({2 * ascent - halfXHeight, 2 * descent + halfXHeight, 0.0});
    return Placement{height, (height + halfXHeight) / 2};
}

std::shared_ptr<const EmbeddedObject> objectOf(const QTextFormat &format, const QTextDocument &document)
{
    if (!isEquation(format))
        return {};
    const Drawing drawing = drawingOf(format, &document, 96.0);
    const QString key =
        QStringLiteral("%1\x1f%2\x1f%3").arg(linear(format)).arg(drawing.points).arg(drawing.color.rgba());
    static QMutex lock;
    static QHash<QString, std::shared_ptr<const EmbeddedObject>> made;
    {
        const QMutexLocker locked(&lock);
        if (const auto found = made.constFind(key); found != made.constEnd())
            return *found;
    }
    // Sizes in twips at the screen's 96 dots an inch (15 twips a pixel); the picture itself at
    // twice that, so that it stays sharp printed or zoomed in another program.
    const EquationMetrics metrics = equationMetrics(drawing.equation, drawing.points, 96.0);
    auto object = std::make_shared<EmbeddedObject>();
    object->kind = EmbeddedObject::Kind::Equation;
    object->equation = linear(format);
    object->image = equationImage(drawing.equation, drawing.points, 2.0, drawing.color);
    if (!object->image.isNull()) {
        QBuffer buffer(&object->imageData);
        buffer.open(QIODevice::WriteOnly);
        object->image.save(&buffer, "PNG");
        object->imageFormat = "png";
    }
    object->widthTwips = qMax(1, qRound(metrics.width * TextFormats::kTwipsPerPixel));
    object->heightTwips = qMax(1, qRound((metrics.ascent + metrics.descent) * TextFormats::kTwipsPerPixel));
    object->equationDescentTwips = qMax(0, qRound(metrics.descent * TextFormats::kTwipsPerPixel));
    object->omml = std::make_shared<const OmmlElement>(OmmlWriter::write(drawing.equation.tree()));
    const QMutexLocker locked(&lock);
    if (made.size() > 2048)
        made.clear();
    made.insert(key, object);
    return object;
}

std::optional<QString> linearOf(const EmbeddedObject &object)
{
    if (!object.equation.isEmpty() || !object.omml)
        return object.equation;
    const OmmlReader::Result read = OmmlReader::read(*object.omml);
    if (!read.complete && !object.image.isNull() && !object.verbatimRtf.isEmpty())
        return std::nullopt;
    return LinearWriter::write(read.tree);
}

std::shared_ptr<const EmbeddedObject> shownAs(const std::shared_ptr<const EmbeddedObject> &object)
{
    if (!object || object->kind != EmbeddedObject::Kind::Equation || linearOf(*object))
        return object;
    auto kept = std::make_shared<EmbeddedObject>(*object);
    kept->kind = EmbeddedObject::Kind::Verbatim;
    return kept;
}

void registerHandler(QTextDocument &document)
{
    document.documentLayout()->registerHandler(ObjectType, new Handler(&document));
}

QSizeF Handler::intrinsicSize(QTextDocument *document, int, const QTextFormat &format)
{
    const qreal dpi = dpiOf(document);
    const Drawing drawing = drawingOf(format, document, dpi);
    const EquationMetrics metrics = equationMetrics(drawing.equation, drawing.points, dpi);
    const Placement place = placement(metrics.ascent + drawing.offsetPx,
                                      std::max(0.0, metrics.descent - drawing.offsetPx), drawing.halfXHeight);
    return QSizeF(metrics.width, place.height);
}

void Handler::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
                         const QTextFormat &format)
{
    const qreal dpi = dpiOf(document);
    const Drawing drawing = drawingOf(format, document, dpi);
    const EquationMetrics metrics = equationMetrics(drawing.equation, drawing.points, dpi);
    const Placement place = placement(metrics.ascent + drawing.offsetPx,
                                      std::max(0.0, metrics.descent - drawing.offsetPx), drawing.halfXHeight);
    const QPointF baseline(rect.left(), rect.top() + place.baseline - drawing.offsetPx);
    paintEquation(*painter, baseline, drawing.equation, drawing.points, dpi, drawing.color);
}

} // namespace EquationObjects
