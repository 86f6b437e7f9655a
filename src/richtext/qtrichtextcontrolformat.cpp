// The attribute, object and printing half of QtRichTextControl; the selection, text, file and
// undo half is in qtrichtextcontrol.cpp.
#include "documentconverter.h"
#include "documentprinter.h"
#include "embeddedobjects.h"
#include "equationobjects.h"
#include "qtrichtextcontrol.h"
#include "richtextdocument.h"
#include "richtextedit.h"
#include "selectionformatter.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocumentFragment>

// --- Attributes ---

void QtRichTextControl::applyChars(const std::function<void(QTextCharFormat &)> &change)
{
    SelectionFormatter formatter(*m_document, cursor());
    formatter.changeChars(change);
    if (!formatter.cursor().hasSelection())
        setCursor(formatter.cursor());
    if (m_edit && !formatter.cursor().hasSelection())
        m_edit->setCurrentCharFormat(formatter.cursor().charFormat());
    Q_EMIT formatChanged();
}

void QtRichTextControl::applyBlocks(const std::function<void(QTextBlockFormat &)> &change)
{
    SelectionFormatter(*m_document, cursor()).changeBlocks(change);
    Q_EMIT formatChanged();
}

Mixed<QString> QtRichTextControl::selFontName() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<QString>([this](const QTextCharFormat &f) {
        return TextFormats::fontFamily(f, *m_document);
    });
}

void QtRichTextControl::setSelFontName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return;
    const QTextCursor before = cursor();
    const int anchor = before.anchor(); // the cursor itself moves when characters are rewritten
    const int position = before.position();
    SelectionFormatter formatter(*m_document, before);
    formatter.setFontName(name.trimmed());
    if (anchor == position) {
        setCursor(formatter.cursor());
        if (m_edit)
            m_edit->setCurrentCharFormat(formatter.cursor().charFormat());
        Q_EMIT formatChanged();
        return;
    }
    // Symbol characters were rewritten in place; the selection still spans them.
    QTextCursor again(m_document);
    again.setPosition(anchor);
    again.setPosition(position, QTextCursor::KeepAnchor);
    setCursor(again);
    Q_EMIT formatChanged();
}

Mixed<double> QtRichTextControl::selFontSize() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<double>([this](const QTextCharFormat &f) {
        return TextFormats::roundToHalfPoint(TextFormats::pointSize(f, *m_document));
    });
}

namespace {

double boundedFontSize(double points)
{
    return TextFormats::roundToHalfPoint(qBound(1.0, points, 1638.0));
}

} // namespace

void QtRichTextControl::setSelFontSize(double points)
{
    const double size = boundedFontSize(points);
    applyChars([size](QTextCharFormat &f) { f.setFontPointSize(size); });
}

Mixed<bool> QtRichTextControl::selBold() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([this](const QTextCharFormat &f) {
        return TextFormats::charStyle(f, *m_document).bold;
    });
}

void QtRichTextControl::setSelBold(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
}

Mixed<bool> QtRichTextControl::selItalic() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([this](const QTextCharFormat &f) {
        return TextFormats::charStyle(f, *m_document).italic;
    });
}

void QtRichTextControl::setSelItalic(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontItalic(on); });
}

Mixed<bool> QtRichTextControl::selUnderline() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([](const QTextCharFormat &f) {
        return f.fontUnderline();
    });
}

void QtRichTextControl::setSelUnderline(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontUnderline(on); });
}

Mixed<bool> QtRichTextControl::selStrikethrough() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([](const QTextCharFormat &f) {
        return f.fontStrikeOut();
    });
}

void QtRichTextControl::setSelStrikethrough(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontStrikeOut(on); });
}

Mixed<QRgb> QtRichTextControl::selColor() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<QRgb>(&TextFormats::colorOf);
}

void QtRichTextControl::setSelColor(QRgb color)
{
    applyChars([color](QTextCharFormat &f) {
        f.setForeground(QColor::fromRgb(qRgb(qRed(color), qGreen(color), qBlue(color))));
    });
}

Mixed<int> QtRichTextControl::selCharOffset() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<int>(&TextFormats::offsetTwips);
}

void QtRichTextControl::setSelCharOffset(int twips)
{
    applyChars([twips](QTextCharFormat &f) { f.setProperty(TextFormats::OffsetTwips, twips); });
}

void QtRichTextControl::setSelCharOffsetAndSize(int twips, double points)
{
    const double size = boundedFontSize(points);
    applyChars([twips, size](QTextCharFormat &f) {
        f.setProperty(TextFormats::OffsetTwips, twips);
        f.setFontPointSize(size);
    });
}

Mixed<bool> QtRichTextControl::selProtected() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>(&TextFormats::isProtected);
}

void QtRichTextControl::setSelProtected(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setProperty(TextFormats::Protected, on); });
}

Mixed<int> QtRichTextControl::selAlignment() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<int>([](const QTextBlock &b) {
        return TextFormats::alignmentCode(b.blockFormat().alignment());
    });
}

void QtRichTextControl::setSelAlignment(int alignment)
{
    if (alignment < 0 || alignment > 2)
        return;
    const Qt::Alignment qt = TextFormats::qtAlignment(ParagraphAlignment(alignment));
    applyBlocks([qt](QTextBlockFormat &f) { f.setAlignment(qt); });
}

Mixed<bool> QtRichTextControl::selBullet() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<bool>([](const QTextBlock &b) {
        return b.textList() != nullptr;
    });
}

void QtRichTextControl::setSelBullet(bool on)
{
    SelectionFormatter(*m_document, cursor()).setBullet(on);
    Q_EMIT formatChanged();
}

Mixed<double> QtRichTextControl::selIndent() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<double>([](const QTextBlock &b) {
        return b.blockFormat().leftMargin();
    });
}

void QtRichTextControl::setSelIndent(double pixels)
{
    applyBlocks([pixels](QTextBlockFormat &f) { f.setLeftMargin(pixels); });
}

Mixed<double> QtRichTextControl::selRightIndent() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<double>([](const QTextBlock &b) {
        return b.blockFormat().rightMargin();
    });
}

void QtRichTextControl::setSelRightIndent(double pixels)
{
    applyBlocks([pixels](QTextBlockFormat &f) { f.setRightMargin(pixels); });
}

Mixed<int> QtRichTextControl::selTabCount() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<int>([](const QTextBlock &b) {
        return int(TextFormats::tabStopsPx(b.blockFormat()).size());
    });
}

void QtRichTextControl::setSelTabCount(int count)
{
    // A word processor's paragraph holds at most 32 stops; new ones follow the last at the
    // default distance until their positions are set.
    const int wanted = qBound(0, count, 32);
    applyBlocks([wanted](QTextBlockFormat &f) {
        QList<TextFormats::TabPx> tabs = TextFormats::tabStopsPx(f);
        tabs.resize(qMin<qsizetype>(tabs.size(), wanted));
        while (tabs.size() < wanted) {
            const double last = tabs.isEmpty() ? 0.0 : tabs.last().position;
            tabs.append(TextFormats::TabPx{last + TextFormats::kDefaultTabDistancePx, TabKind::Left});
        }
        TextFormats::setTabStopsPx(f, tabs);
    });
}

Mixed<double> QtRichTextControl::selTabs(int index) const
{
    const Mixed<double> value =
        SelectionFormatter(*m_document, cursor()).blockValue<double>([index](const QTextBlock &b) {
            const QList<TextFormats::TabPx> tabs = TextFormats::tabStopsPx(b.blockFormat());
            return index >= 0 && index < tabs.size() ? tabs.at(index).position : -1.0;
        });
    if (value.isMixed() || value.value() < 0)
        return Mixed<double>::mixed();
    return value;
}

void QtRichTextControl::setSelTabs(int index, double pixels)
{
    applyBlocks([index, pixels](QTextBlockFormat &f) {
        QList<TextFormats::TabPx> tabs = TextFormats::tabStopsPx(f);
        if (index < 0 || index >= tabs.size())
            return;
        tabs[index].position = qMax(0.0, pixels);
        TextFormats::setTabStopsPx(f, tabs);
    });
}

double QtRichTextControl::rightMargin() const
{
    if (m_document->textWidth() > 0)
        return m_document->textWidth();
    return m_edit ? m_edit->viewport()->width() : 0.0;
}

// --- Objects and printing ---

int QtRichTextControl::objectCount() const
{
    return EmbeddedObjects::count(*m_document);
}

ObjectInfo QtRichTextControl::objectAt(int index) const
{
    return EmbeddedObjects::at(*m_document, index);
}

void QtRichTextControl::insertPicture(const QImage &image)
{
    if (image.isNull())
        return;
    QTextCursor c = cursor();
    const QTextCharFormat around = caretFormat();
    c.beginEditBlock();
    c.removeSelectedText();
    EmbeddedObjects::insertPicture(c, image, around);
    c.endEditBlock();
    setCursor(c);
}

namespace {

// The widest picture the text shows without scrolling; a control that is not laid out yet
// counts as a window of the usual size.
int pictureWidthLimit(double textWidth)
{
    return textWidth >= 100 ? int(textWidth) : 600;
}

} // namespace

bool QtRichTextControl::addObjectFromFile(const QString &path, const QString &className)
{
    const auto object = EmbeddedObjects::fromFile(path, className, pictureWidthLimit(rightMargin()));
    if (!object)
        return false;
    QTextCursor c = cursor();
    const QTextCharFormat around = caretFormat();
    c.beginEditBlock();
    c.removeSelectedText();
    c.insertText(QString(QChar::ObjectReplacementCharacter), EmbeddedObjects::objectFormat(object, around));
    c.endEditBlock();
    setCursor(c);
    return true;
}

void QtRichTextControl::insertEquation(const QString &linear)
{
    if (linear.trimmed().isEmpty())
        return;
    QTextCursor c = cursor();
    const QTextCharFormat around =
        DocumentConverter::insertionFormat(replacementFormat(c.selectionStart(), c.selectionEnd()));
    ++m_inserting;
    c.beginEditBlock();
    c.removeSelectedText();
    c.insertText(QString(QChar::ObjectReplacementCharacter), EquationObjects::format(around, linear));
    c.endEditBlock();
    --m_inserting;
    setCursor(c);
}

QString QtRichTextControl::selEquation() const
{
    const QTextCursor c = cursor();
    if (c.selectionEnd() - c.selectionStart() != 1)
        return {};
    return equationAt(c.selectionStart());
}

QString QtRichTextControl::equationAt(int position) const
{
    if (position < 0 || position >= textLength())
        return {};
    QTextCursor c(m_document);
    c.setPosition(position + 1); // a cursor's format is that of the character before it
    if (c.block().position() > position)
        return {};
    return EquationObjects::linear(c.charFormat());
}

QTextCursor QtRichTextControl::objectCursor(int index) const
{
    const int position = EmbeddedObjects::positionOf(*m_document, index);
    if (position < 0)
        return {};
    QTextCursor c(m_document);
    c.setPosition(position);
    c.setPosition(position + 1, QTextCursor::KeepAnchor);
    return c;
}

void QtRichTextControl::setObjectLinked(int index, bool linked)
{
    QTextCursor c = objectCursor(index);
    if (c.isNull())
        return;
    const QTextCharFormat format = c.charFormat();
    const auto object = EmbeddedObjects::objectOf(format, *m_document);
    if (!object || object->sourcePath.isEmpty() == !linked)
        return;
    if (linked)
        return; // a link cannot be made up: only an object made from a file has one
    auto unlinked = std::make_shared<EmbeddedObject>(*object);
    unlinked->sourcePath.clear();
    c.setCharFormat(EmbeddedObjects::objectFormat(unlinked, format));
}

void QtRichTextControl::setObjectPicture(int index, const QImage &picture)
{
    QTextCursor c = objectCursor(index);
    if (c.isNull() || picture.isNull())
        return;
    const QTextCharFormat format = c.charFormat();
    const auto object = EmbeddedObjects::objectOf(format, *m_document);
    if (!object)
        return;
    const int limit = pictureWidthLimit(rightMargin());
    const QImage shown =
        picture.width() > limit ? picture.scaledToWidth(limit, Qt::SmoothTransformation) : picture;
    c.setCharFormat(EmbeddedObjects::objectFormat(EmbeddedObjects::withPicture(*object, shown), format));
}

QImage QtRichTextControl::picture(int maxWidthPx) const
{
    if (m_document->isEmpty() || maxWidthPx <= 0)
        return {};
    RichTextDocument copy;
    copy.prepareLayout(); // the handlers of wide characters and equations draw them
    copy.setDefaultFont(m_document->defaultFont());
    QTextCursor target(&copy);
    target.insertFragment(QTextDocumentFragment(m_document));
    copy.setDocumentMargin(2);
    copy.setTextWidth(maxWidthPx);
    copy.setTextWidth(qMin(qreal(maxWidthPx), copy.idealWidth() + 2 * copy.documentMargin()));
    const QSize size = copy.size().toSize().boundedTo(QSize(maxWidthPx, 4000));
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    copy.drawContents(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

bool QtRichTextControl::printSelection(QPagedPaintDevice &printer)
{
    const QTextCursor c = cursor();
    return printFragment(c.hasSelection() ? c.selection() : QTextDocumentFragment(m_document), printer);
}

bool QtRichTextControl::printDocument(QPagedPaintDevice &printer)
{
    return printFragment(QTextDocumentFragment(m_document), printer);
}

bool QtRichTextControl::printFragment(const QTextDocumentFragment &fragment, QPagedPaintDevice &printer) const
{
    RichTextDocument copy;
    copy.prepareLayout();
    copy.setDefaultFont(m_document->defaultFont());
    QTextCursor target(&copy);
    target.insertFragment(fragment);
    return DocumentPrinter::print(copy, printer);
}
