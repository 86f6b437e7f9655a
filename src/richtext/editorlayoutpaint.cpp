#include "editorlayout.h"
#include "spellingmarks.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>

#include <algorithm>

using LayoutUnits::fixed;
using LayoutUnits::real;

// Painting and hit testing, block by block as Qt's layout does them.

void EditorLayout::draw(QPainter *painter, const PaintContext &context)
{
    QTextDocument *doc = document();
    if (doc->pageSize().isNull())
        return;
    if (context.clip.isValid())
        typesetThroughY(fixed(context.clip.bottom()));
    else
        typesetThrough(int(m_boxes.size()));

    const QBrush background = doc->rootFrame()->frameFormat().background();
    if (background != Qt::NoBrush)
        painter->fillRect(context.clip.isValid() ? context.clip : QRectF(QPointF(0, 0), documentSize()),
                          background);
    m_clip = QRectF(QPointF(0, 0), documentSize())
                 .adjusted(real(m_frame.leftMargin), 0, -real(m_frame.rightMargin), 0);
    const int start = context.clip.isValid() ? std::max(0, blockAtY(fixed(context.clip.top())) - 1) : 0;
    for (QTextBlock block = doc->findBlockByNumber(start); block.isValid() && block.blockNumber() < m_done;
         block = block.next()) {
        if (context.clip.isValid() && real(top(block.blockNumber())) > context.clip.bottom() + 1)
            break;
        drawBlock(painter, context, block);
    }
}

void EditorLayout::drawBlock(QPainter *painter, const PaintContext &context, const QTextBlock &block) const
{
    place(block);
    QTextLayout *layout = block.layout();
    QRectF rect = layout->boundingRect();
    rect.translate(layout->position());
    if (!block.isVisible() ||
        (context.clip.isValid() && (rect.bottom() < context.clip.y() || rect.top() > context.clip.bottom())))
        return;

    const QTextBlockFormat format = block.blockFormat();
    const QBrush background = format.background();
    if (background != Qt::NoBrush)
        painter->fillRect(rect, background);

    QList<QTextLayout::FormatRange> selections;
    const int position = block.position();
    const int length = block.length();
    const QTextCharFormat *selectionFormat = nullptr;
    for (const Selection &range : context.selections) {
        const int start = range.cursor.selectionStart() - position;
        const int end = range.cursor.selectionEnd() - position;
        if (start < length && end > 0 && end > start) {
            selections.append({start, end - start, range.format});
        } else if (!range.cursor.hasSelection() &&
                   range.format.hasProperty(QTextFormat::FullWidthSelection) &&
                   block.contains(range.cursor.position())) {
            // A full-width selection needs only a position to name its line.
            const QTextLine line = layout->lineForTextPosition(range.cursor.position() - position);
            QTextLayout::FormatRange o{line.textStart(), line.textLength(), range.format};
            if (o.start + o.length == length - 1)
                ++o.length; // with the paragraph's end
            selections.append(o);
        }
        if (start < 0 && end >= 1)
            selectionFormat = &range.format;
    }

    if (auto *list = qobject_cast<QTextList *>(document()->objectForFormat(format)))
        if (list->format().style() != QTextListFormat::ListStyleUndefined)
            drawListItem(painter, context, block, selectionFormat);

    const QPen pen = painter->pen();
    painter->setPen(context.palette.color(QPalette::Text));
    layout->draw(painter, QPointF(), selections, context.clip.isValid() ? (context.clip & m_clip) : m_clip);
    SpellingMarks::draw(painter, block);
    if ((context.cursorPosition >= position && context.cursorPosition < position + length) ||
        (context.cursorPosition < -1 && !layout->preeditAreaText().isEmpty())) {
        int cursor = context.cursorPosition;
        if (cursor < -1)
            cursor = layout->preeditAreaPosition() - (cursor + 2);
        else
            cursor -= position;
        layout->drawCursor(painter, QPointF(), cursor, m_cursorWidth);
    }
    painter->setPen(pen);
}

void EditorLayout::drawListItem(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                                const QTextCharFormat *selectionFormat) const
{
    const QTextBlockFormat blockFormat = block.blockFormat();
    const QTextCharFormat charFormat = QTextCursor(block).charFormat();
    QFont font(charFormat.font());
    if (paintDevice())
        font = QFont(font, paintDevice());
    const QFontMetrics metrics(font);
    auto *list = static_cast<QTextList *>(document()->objectForFormat(blockFormat));
    int style = list->format().style();
    if (blockFormat.hasProperty(QTextFormat::ListStyle))
        style = QTextListFormat::Style(blockFormat.intProperty(QTextFormat::ListStyle));

    QTextLayout *layout = block.layout();
    if (layout->lineCount() == 0)
        return;
    const QTextLine firstLine = layout->lineAt(0);
    QPointF pos = layout->position().toPoint();
    const Qt::LayoutDirection direction = block.textDirection();
    const QRectF textRect = firstLine.naturalTextRect();
    pos += textRect.topLeft().toPoint();
    if (direction == Qt::RightToLeft)
        pos.rx() += textRect.width();

    QString itemText;
    QSizeF size;
    switch (style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        itemText = list->itemText(block);
        size = QSizeF(metrics.horizontalAdvance(itemText), metrics.height());
        break;
    case QTextListFormat::ListSquare:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListDisc:
        size.setWidth(metrics.lineSpacing() / 3);
        size.setHeight(size.width());
        break;
    default:
        return;
    }

    QRectF r(pos, size);
    qreal xoff = metrics.horizontalAdvance(QLatin1Char(' '));
    if (direction == Qt::LeftToRight)
        xoff = -xoff - size.width();
    r.translate(xoff, (metrics.height() / 2) - (size.height() / 2));

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool marker = blockFormat.marker() != QTextBlockFormat::MarkerType::NoMarker;
    if (selectionFormat) {
        painter->setPen(QPen(selectionFormat->foreground(), 0));
        if (!marker)
            painter->fillRect(r, selectionFormat->background());
    } else {
        QBrush foreground = charFormat.foreground();
        if (foreground == Qt::NoBrush)
            foreground = context.palette.text();
        painter->setPen(QPen(foreground, 0));
    }
    const QBrush brush = context.palette.brush(QPalette::Text);
    if (marker) {
        const int adjust = metrics.lineSpacing() / 6;
        r.adjust(-adjust, 0, -adjust, 0);
        const QRectF outer = r.adjusted(-adjust, -adjust, adjust, adjust);
        if (selectionFormat)
            painter->fillRect(outer, selectionFormat->background());
        if (blockFormat.marker() == QTextBlockFormat::MarkerType::Checked) {
            painter->setPen(QPen(painter->pen().color(), 2));
            painter->drawLine(r.topLeft(), r.bottomRight());
            painter->drawLine(r.topRight(), r.bottomLeft());
            painter->setPen(QPen(painter->pen().color(), 0));
        }
        painter->drawRect(outer);
    }
    switch (style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: {
        QTextLayout label(itemText, font, paintDevice());
        label.setCacheEnabled(true);
        QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
        option.setTextDirection(direction);
        label.setTextOption(option);
        label.beginLayout();
        QTextLine line = label.createLine();
        if (line.isValid())
            line.setLeadingIncluded(true);
        label.endLayout();
        label.draw(painter, QPointF(r.left(), pos.y()));
        break;
    }
    case QTextListFormat::ListSquare:
        if (!marker)
            painter->fillRect(r, brush);
        break;
    case QTextListFormat::ListCircle:
        if (!marker) {
            painter->setPen(QPen(brush, 0));
            painter->drawEllipse(r.translated(0.5, 0.5));
        }
        break;
    case QTextListFormat::ListDisc:
        if (!marker) {
            painter->setBrush(brush);
            painter->setPen(Qt::NoPen);
            painter->drawEllipse(r);
        }
        break;
    default:
        break;
    }
    painter->restore();
}

EditorLayout::Hit EditorLayout::hitBlock(const QTextBlock &block, const QPointF &point, int *position,
                                         QTextLayout **layout, Qt::HitTestAccuracy accuracy) const
{
    place(block);
    QTextLayout *tl = block.layout();
    QRectF textRect = tl->boundingRect();
    textRect.translate(tl->position());
    *position = block.position();
    if (point.y() < textRect.top())
        return Hit::Before;
    if (point.y() > textRect.bottom()) {
        *position += block.length();
        return Hit::After;
    }
    const QPointF pos = point - tl->position();
    Hit hit = Hit::Inside;
    *layout = tl;
    int offset = 0;
    for (int i = 0; i < tl->lineCount(); ++i) {
        const QTextLine line = tl->lineAt(i);
        const QRectF lineRect = line.naturalTextRect();
        if (lineRect.top() > pos.y()) {
            offset = qMin(offset, line.textStart());
        } else if (lineRect.bottom() <= pos.y()) {
            offset = qMax(offset, line.textStart() + line.textLength());
        } else {
            if (lineRect.left() <= pos.x() && lineRect.right() >= pos.x())
                hit = Hit::Exact;
            offset = line.xToCursor(pos.x(), accuracy == Qt::ExactHit ? QTextLine::CursorOnCharacter
                                                                      : QTextLine::CursorBetweenCharacters);
            break;
        }
    }
    *position += offset;
    return hit;
}

int EditorLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    QTextDocument *doc = document();
    if (doc->pageSize().isNull())
        return accuracy == Qt::ExactHit ? -1 : 0;
    // Qt's layout would first reach the point's depth.
    typesetThroughY(fixed(point.y()));
    if (m_done == 0)
        return accuracy == Qt::ExactHit ? -1 : 0;

    // Blocks lie one below the other: start just above the point's block, stop at the first
    // block below the point.
    const qreal height = documentSize().height();
    int start = 0;
    if (point.y() > height)
        start = m_done - 1;
    else if (point.y() >= 0)
        start = std::max(0, blockAtY(fixed(point.y())) - 1);
    QTextBlock block = doc->findBlockByNumber(start);
    int position = block.position();
    Hit hit = Hit::Before;
    QTextLayout *layout = nullptr;
    for (; block.isValid() && block.blockNumber() < m_done; block = block.next()) {
        int at = -1;
        const Hit h = hitBlock(block, point, &at, &layout, accuracy);
        if (h >= Hit::Inside) {
            hit = h;
            position = at;
            break;
        }
        if (h == Hit::After && at > position) {
            position = at;
            hit = h;
        }
        if (h == Hit::Before)
            break;
    }
    if (accuracy == Qt::ExactHit && hit < Hit::Exact)
        return -1;
    int lastPosition = doc->rootFrame()->lastPosition();
    if (layout && !layout->preeditAreaText().isEmpty())
        lastPosition += int(layout->preeditAreaText().length());
    return std::clamp(position, 0, lastPosition);
}
