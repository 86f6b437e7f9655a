#include "richtextaccessible.h"

#include "documentconverter.h"
#include "equationobjects.h"
#include "richtextedit.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace {

QAccessibleInterface *createForRichText(const QString &className, QObject *object)
{
    if (className != QLatin1String(RichTextEdit::staticMetaObject.className()))
        return nullptr;
    auto *edit = qobject_cast<RichTextEdit *>(object);
    return edit ? new RichTextAccessible(edit) : nullptr; // the accessibility cache owns it
}

// The attribute names screen readers read from Qt's text edits (IAccessible2 text attributes).
QString attributesOf(const QTextCharFormat &format)
{
    const QFont font = format.font();
    QStringList attributes;
    attributes << QStringLiteral("font-family:\"%1\"").arg(font.family());
    if (font.pointSizeF() > 0)
        attributes << QStringLiteral("font-size:%1pt").arg(font.pointSizeF());
    if (font.weight() >= QFont::Bold)
        attributes << QStringLiteral("font-weight:bold");
    if (font.italic())
        attributes << QStringLiteral("font-style:italic");
    if (font.underline())
        attributes << QStringLiteral("text-underline-style:solid;text-underline-type:single");
    if (format.foreground().style() != Qt::NoBrush) {
        const QColor colour = format.foreground().color();
        attributes
            << QStringLiteral("color:rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
    }
    // Formulas are made of indices and exponents: a reader that says them says the formula.
    if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        attributes << QStringLiteral("text-position:sub");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        attributes << QStringLiteral("text-position:super");
    return attributes.join(u';') + u';';
}

} // namespace

RichTextAccessible::RichTextAccessible(RichTextEdit *edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{}

void RichTextAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createForRichText);
        return true;
    }();
    Q_UNUSED(installed);
}

RichTextEdit *RichTextAccessible::edit() const
{
    return static_cast<RichTextEdit *>(widget());
}

QTextDocument *RichTextAccessible::document() const
{
    return edit()->document();
}

int RichTextAccessible::clamped(int offset) const
{
    return qBound(0, offset, characterCount());
}

QPointF RichTextAccessible::scrolled() const
{
    return {qreal(edit()->horizontalScrollBar()->value()), qreal(edit()->verticalScrollBar()->value())};
}

QFontMetricsF RichTextAccessible::metricsAt(int offset) const
{
    QTextCursor cursor(document());
    cursor.setPosition(clamped(offset));
    if (!cursor.atBlockEnd())
        cursor.movePosition(QTextCursor::NextCharacter); // a cursor's format is the one behind it
    const QFont font = cursor.charFormat().font();
    // The zoomed screen the layout typesets for, or the screen itself at 100 %.
    if (const QPaintDevice *device = document()->documentLayout()->paintDevice())
        return QFontMetricsF(font, device);
    return QFontMetricsF(font);
}

QString RichTextAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return edit()->toPlainText();
    return QAccessibleWidget::text(t);
}

void RichTextAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t != QAccessible::Value) {
        QAccessibleWidget::setText(t, text);
        return;
    }
    replaceText(0, characterCount(), text);
}

QAccessible::State RichTextAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectableText = true;
    state.multiLine = true;
    if (edit()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    return state;
}

void *RichTextAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void RichTextAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = edit()->textCursor();
    if (selectionIndex == 0 && cursor.hasSelection()) {
        *startOffset = cursor.selectionStart();
        *endOffset = cursor.selectionEnd();
    }
}

int RichTextAccessible::selectionCount() const
{
    return edit()->textCursor().hasSelection() ? 1 : 0;
}

void RichTextAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void RichTextAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = edit()->textCursor();
    cursor.clearSelection();
    edit()->setTextCursor(cursor);
}

void RichTextAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = edit()->textCursor();
    cursor.setPosition(clamped(startOffset));
    cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
    edit()->setTextCursor(cursor);
}

int RichTextAccessible::cursorPosition() const
{
    return edit()->textCursor().position();
}

void RichTextAccessible::setCursorPosition(int position)
{
    QTextCursor cursor = edit()->textCursor();
    cursor.setPosition(clamped(position));
    edit()->setTextCursor(cursor);
}

QString RichTextAccessible::text(int startOffset, int endOffset) const
{
    QTextCursor cursor(document());
    const int start = clamped(startOffset);
    cursor.setPosition(start);
    cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
    const QString selected = cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
    // An equation is read as its linear text ("v = (Delta x)/(Delta t)"), not as an object.
    if (!selected.contains(QChar::ObjectReplacementCharacter))
        return selected;
    QString read;
    read.reserve(selected.size());
    QTextCursor at(document());
    for (qsizetype i = 0; i < selected.size(); ++i) {
        if (selected.at(i) == QChar::ObjectReplacementCharacter) {
            at.setPosition(std::min(start + int(i) + 1, document()->characterCount() - 1));
            const QString linear = EquationObjects::linear(at.charFormat());
            if (!linear.isEmpty()) {
                read += linear;
                continue;
            }
        }
        read += selected.at(i);
    }
    return read;
}

QString RichTextAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    QTextCursor cursor(document());
    cursor.setPosition(clamped(offset));
    const QPair<int, int> current = QAccessible::qAccessibleTextBoundaryHelper(cursor, boundaryType);
    cursor.setPosition(clamped(current.first - 1));
    const QPair<int, int> before = QAccessible::qAccessibleTextBoundaryHelper(cursor, boundaryType);
    *startOffset = before.first;
    *endOffset = before.second;
    return text(before.first, before.second);
}

QString RichTextAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    QTextCursor cursor(document());
    cursor.setPosition(clamped(offset));
    const QPair<int, int> current = QAccessible::qAccessibleTextBoundaryHelper(cursor, boundaryType);
    cursor.setPosition(clamped(current.second));
    const QPair<int, int> after = QAccessible::qAccessibleTextBoundaryHelper(cursor, boundaryType);
    *startOffset = after.first;
    *endOffset = after.second;
    return text(after.first, after.second);
}

QString RichTextAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset >= characterCount())
        return {};
    QTextCursor cursor(document());
    cursor.setPosition(offset);
    const QPair<int, int> at = QAccessible::qAccessibleTextBoundaryHelper(cursor, boundaryType);
    *startOffset = at.first;
    *endOffset = at.second;
    return text(at.first, at.second);
}

int RichTextAccessible::characterCount() const
{
    return document()->characterCount() - 1; // the document's closing separator is no character
}

QRect RichTextAccessible::characterRect(int offset) const
{
    if (offset < 0 || offset > characterCount())
        return {};
    const QTextBlock block = document()->findBlock(offset);
    // Typesets the paragraph if the layout has not reached it yet, and places it.
    if (!block.isValid() || document()->documentLayout()->blockBoundingRect(block).isNull())
        return {};
    const QTextLayout *layout = block.layout();
    const int inBlock = offset - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return {};
    const QFontMetricsF metrics = metricsAt(offset);
    const qreal left = line.cursorToX(inBlock);
    // The advance the layout gave the character (a picture's width, a tab's reach); at the end of
    // a paragraph or of the text, the width of a usual character for the caret.
    qreal width = metrics.averageCharWidth();
    if (inBlock < block.length() - 1 && inBlock + 1 <= line.textStart() + line.textLength())
        width = line.cursorToX(inBlock + 1) - left;
    // A letter's box stands on the baseline, as tall as its font.
    const qreal top = line.y() + line.ascent() + metrics.descent() - metrics.height();
    const QPointF inViewport = layout->position() + QPointF(left, top) - scrolled();
    const QRectF rect(inViewport, QSizeF(width, metrics.height()));
    return QRect(edit()->viewport()->mapToGlobal(rect.topLeft().toPoint()), rect.size().toSize());
}

int RichTextAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPointF at = QPointF(edit()->viewport()->mapFromGlobal(point)) + scrolled();
    const int near = document()->documentLayout()->hitTest(at, Qt::FuzzyHit);
    if (near < 0)
        return -1;
    const QTextBlock block = document()->findBlock(near);
    const QTextLayout *layout = block.layout();
    if (!layout)
        return -1;
    const QPointF inBlock = at - layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (!line.naturalTextRect().contains(inBlock))
            continue;
        // The character the point is on, where a click would put the caret at its nearer edge.
        const int inLine = line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
        return qMin(block.position() + inLine, characterCount() - 1);
    }
    return -1;
}

void RichTextAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    QTextCursor cursor(document());
    cursor.setPosition(clamped(startIndex));
    QRect wanted = edit()->cursorRect(cursor);
    cursor.setPosition(clamped(endIndex));
    wanted = wanted.united(edit()->cursorRect(cursor));
    const QRect shown = edit()->viewport()->rect();
    const auto reveal = [](QScrollBar *bar, int first, int last, int shownFirst, int shownLast) {
        if (first < shownFirst)
            bar->setValue(bar->value() + first - shownFirst);
        else if (last > shownLast)
            bar->setValue(bar->value() + std::min(last - shownLast, first - shownFirst));
    };
    reveal(edit()->verticalScrollBar(), wanted.top(), wanted.bottom(), shown.top(), shown.bottom());
    reveal(edit()->horizontalScrollBar(), wanted.left(), wanted.right(), shown.left(), shown.right());
}

QString RichTextAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset >= characterCount())
        return {};
    const QTextBlock block = document()->findBlock(offset);
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(offset)) {
            *startOffset = fragment.position();
            *endOffset = fragment.position() + fragment.length();
            return attributesOf(fragment.charFormat());
        }
    }
    // The paragraph's end: the separator takes the paragraph's character format.
    *startOffset = offset;
    *endOffset = offset + 1;
    return attributesOf(block.charFormat());
}

void RichTextAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, {});
}

void RichTextAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void RichTextAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    const int start = clamped(std::min(startOffset, endOffset));
    const int end = clamped(std::max(startOffset, endOffset));
    if (edit()->isReadOnly() || !edit()->mayEdit(start, end))
        return;
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    // As typing does: one undo step, symbol fonts and characters beyond the BMP kept whole.
    cursor.beginEditBlock();
    const QTextCharFormat format = cursor.charFormat();
    cursor.removeSelectedText();
    DocumentConverter::insertPlainText(cursor, text, format);
    cursor.endEditBlock();
}
