#include "editorlayout.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTimerEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Qt's layout measures in 64ths of a pixel and truncates on the way in.
int fixed(qreal value)
{
    return int(value * 64.0);
}

qreal real(std::int64_t value)
{
    return qreal(value) / 64.0;
}

int roundedFixed(qreal value)
{
    return (fixed(value) + 32) & -64;
}

constexpr int kDefaultDpi = 96;
// Edits touching more paragraphs than this retypeset lazily, like a new text.
constexpr int kSynchronousBlocks = 400;
// What a whole new layout typesets at once, at most: more than a screen's height.
constexpr qreal kScreenHeight = 3000;
// The background typesets for this long at a time, then lets events through.
constexpr qint64 kSliceNs = 6'000'000;

Qt::Alignment visualAlignment(Qt::LayoutDirection direction, Qt::Alignment alignment)
{
    if (!(alignment & Qt::AlignHorizontal_Mask))
        alignment |= Qt::AlignLeft;
    if (!(alignment & Qt::AlignAbsolute) && (alignment & (Qt::AlignLeft | Qt::AlignRight))) {
        if (direction == Qt::RightToLeft)
            alignment ^= (Qt::AlignLeft | Qt::AlignRight);
        alignment |= Qt::AlignAbsolute;
    }
    return alignment;
}

struct LineHeights
{
    int adjustment = 0;
    int height = 0;
    int bottom = 0;
};

LineHeights lineHeights(const QTextBlockFormat &format, const QTextLine &line, qreal scaling)
{
    LineHeights result;
    const qreal height = line.height();
    const int type = format.lineHeightType();
    const qreal raw = std::ceil(line.ascent() + line.descent() + line.leading());
    result.height = fixed(format.lineHeight(raw, scaling));
    result.bottom = fixed(format.lineHeight(height, scaling));
    if (type == QTextBlockFormat::FixedHeight)
        result.adjustment = fixed(line.ascent() + qMax(line.leading(), qreal(0))) - result.height * 4 / 5;
    else if (type == QTextBlockFormat::MinimumHeight)
        result.adjustment = fixed(height) - result.height;
    return result;
}

} // namespace

void RunningSums::assign(const std::vector<std::int64_t> &values)
{
    m_tree = values;
    const std::size_t n = m_tree.size();
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            m_tree[parent - 1] += m_tree[i - 1];
    }
}

void RunningSums::add(std::size_t index, std::int64_t delta)
{
    for (std::size_t i = index + 1; i <= m_tree.size(); i += i & (~i + 1))
        m_tree[i - 1] += delta;
}

std::int64_t RunningSums::before(std::size_t count) const
{
    std::int64_t sum = 0;
    for (std::size_t i = std::min(count, m_tree.size()); i > 0; i -= i & (~i + 1))
        sum += m_tree[i - 1];
    return sum;
}

std::size_t RunningSums::countUpTo(std::int64_t sum) const
{
    std::size_t count = 0;
    std::size_t step = 1;
    while (step * 2 <= m_tree.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        if (count + step <= m_tree.size() && m_tree[count + step - 1] <= sum) {
            count += step;
            sum -= m_tree[count - 1];
        }
    }
    return count;
}

EditorLayout::EditorLayout(QTextDocument *document) : QAbstractTextDocumentLayout(document)
{
    // Pictures are drawn by Qt's own picture handler, borrowed from a document's default layout.
    auto *scratch = new QTextDocument(this);
    QTextObjectInterface *pictures = scratch->documentLayout()->handlerForObject(QTextFormat::ImageObject);
    if (auto *component = dynamic_cast<QObject *>(pictures))
        registerHandler(QTextFormat::ImageObject, component);
    m_frame = currentFrame();
    resetAll();
}

EditorLayout::Frame EditorLayout::currentFrame() const
{
    const QTextFrameFormat format = document()->rootFrame()->frameFormat();
    const qreal scale = paintDevice() ? qreal(paintDevice()->logicalDpiY()) / kDefaultDpi : 1.0;
    const int top = roundedFixed(format.topMargin() * scale);
    const int bottom = roundedFixed(format.bottomMargin() * scale);
    const int left = roundedFixed(format.leftMargin() * scale);
    const int right = roundedFixed(format.rightMargin() * scale);
    const int border = roundedFixed(format.border() * scale);
    const int padding = roundedFixed(format.padding() * scale);
    const qreal pageWidth = qMax(qreal(0), document()->pageSize().width());
    Frame frame;
    frame.leftMargin = left;
    frame.rightMargin = right;
    frame.marginWidth = 2 * (border + padding) + left + right;
    frame.contentsWidth = fixed(format.width().value(pageWidth)) - frame.marginWidth;
    frame.left = left + border + padding;
    frame.right = frame.left + frame.contentsWidth;
    frame.top = top + border + padding;
    frame.bottomMargin = border + padding + bottom;
    return frame;
}

void EditorLayout::resetAll()
{
    m_boxes.assign(std::size_t(document()->blockCount()), Box());
    m_done = 0;
    m_widest = 0;
    m_widestStale = false;
    rebuildSums();
}

void EditorLayout::rebuildSums()
{
    std::vector<std::int64_t> values(m_boxes.size(), 0);
    for (int i = 0; i < m_done; ++i)
        values[std::size_t(i)] = advance(std::size_t(i));
    m_sums.assign(values);
}

std::int64_t EditorLayout::advance(std::size_t index) const
{
    return std::int64_t(m_boxes[index].gap) + m_boxes[index].height;
}

void EditorLayout::setBox(std::size_t index, const Box &box)
{
    const std::int64_t before = advance(index);
    if (m_boxes[index].width == m_widest && box.width < m_widest)
        m_widestStale = true;
    m_boxes[index] = box;
    m_widest = std::max(m_widest, box.width);
    m_sums.add(index, advance(index) - before);
}

bool EditorLayout::isComplete() const
{
    return m_done >= int(m_boxes.size());
}

void EditorLayout::finishTypesetting()
{
    if (document()->pageSize().isNull())
        return;
    typesetThrough(int(m_boxes.size()));
    reportSize();
}

void EditorLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    QTextDocument *doc = document();
    const int length = doc->characterCount();
    const int count = doc->blockCount();
    QTextBlock first = doc->findBlock(from);
    if (!first.isValid())
        first = doc->lastBlock();
    QTextBlock last = doc->findBlock(qBound(0, from + charsAdded, length - 1));
    if (!last.isValid())
        last = doc->lastBlock();
    const int firstNumber = first.blockNumber();
    const int touched = last.blockNumber() - firstNumber + 1;
    const int wasTouched = touched + int(m_boxes.size()) - count;
    for (QTextBlock b = first; b.isValid() && b.blockNumber() <= last.blockNumber(); b = b.next())
        b.clearLayout();

    const Frame frame = currentFrame();
    const bool whole = (charsRemoved == 0 && charsAdded == length) || frame != m_frame || wasTouched < 1 ||
                       firstNumber + wasTouched > int(m_boxes.size());
    m_frame = frame;
    if (whole) {
        resetAll();
    } else {
        // Replace the boxes of the touched blocks; the rest keep theirs.
        const auto at = m_boxes.begin() + firstNumber;
        if (touched != wasTouched) {
            m_boxes.erase(at, at + wasTouched);
            m_boxes.insert(m_boxes.begin() + firstNumber, std::size_t(touched), Box());
        }
        const bool inside = firstNumber + wasTouched <= m_done && touched <= kSynchronousBlocks;
        if (!inside)
            m_done = std::min(m_done, firstNumber);
        else
            m_done += touched - wasTouched;
        if (!inside || touched != wasTouched) {
            for (int i = firstNumber; i < firstNumber + touched; ++i)
                m_boxes[std::size_t(i)] = Box();
            m_widestStale = true;
            rebuildSums();
        }
    }
    if (doc->pageSize().isNull())
        return;
    if (whole) {
        // Typeset at once as much as was shown, up to a screen: a view whose text shrank to
        // nothing would drop its scroll bar, widen, and ask for the whole text again.
        const qreal shown = qBound(qreal(1), m_reportedSize.height(), kScreenHeight);
        typesetThroughY(m_frame.top + fixed(shown));
    }

    const std::int64_t heightBefore = m_sums.before(std::size_t(m_done));
    QRectF dirty(0, 0, qreal(INT_MAX), qreal(INT_MAX));
    if (!whole && firstNumber + touched <= m_done) {
        // Typeset the touched blocks now, and give the next one its gap again: it depends on
        // the bottom margin above it.
        QTextBlock block = first;
        int end = firstNumber;
        for (; end < firstNumber + touched && block.isValid(); ++end, block = block.next())
            setBox(std::size_t(end), typeset(block, end));
        if (block.isValid() && end < m_done) {
            Box next = m_boxes[std::size_t(end)];
            next.gap = gap(block, end);
            setBox(std::size_t(end), next);
            ++end;
        }
        const qreal y = real(m_frame.top + m_sums.before(std::size_t(firstNumber)));
        if (m_sums.before(std::size_t(m_done)) == heightBefore) {
            const qreal bottom = real(m_frame.top + m_sums.before(std::size_t(end)));
            dirty = QRectF(0, y, qreal(INT_MAX), bottom - y + 1);
        } else {
            dirty = QRectF(0, y, qreal(INT_MAX), qreal(INT_MAX));
        }
    }
    scheduleRest();
    reportSize();
    Q_EMIT update(dirty);
}

EditorLayout::Box EditorLayout::typeset(const QTextBlock &block, int number) const
{
    Box box;
    if (!block.isVisible())
        return box;
    QTextDocument *doc = document();
    const QTextBlockFormat format = block.blockFormat();
    const qreal dpiScale = paintDevice() ? qreal(paintDevice()->logicalDpiY()) / kDefaultDpi : 1.0;
    box.gap = gap(block, number);

    const Qt::LayoutDirection direction = block.textDirection();
    int extraMargin = 0;
    if (doc->defaultTextOption().flags() & QTextOption::AddSpaceForLineAndParagraphSeparators) {
        const QFontMetricsF metrics(block.charFormat().font());
        extraMargin = fixed(metrics.horizontalAdvance(QChar(0x21B5)));
    }
    qreal indent = format.indent();
    if (auto *list = qobject_cast<QTextList *>(doc->objectForFormat(format)))
        indent += list->format().indent();
    const int indentWidth = qFuzzyIsNull(indent) ? 0 : fixed(indent * dpiScale * doc->indentWidth());
    const bool rtl = direction == Qt::RightToLeft;
    const int leftMargin = fixed(format.leftMargin()) + (rtl ? extraMargin : indentWidth);
    const int rightMargin = fixed(format.rightMargin()) + (rtl ? indentWidth : extraMargin);

    QTextOption option = doc->defaultTextOption();
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    Qt::Alignment alignment = doc->defaultTextOption().alignment();
    if (format.hasProperty(QTextFormat::BlockAlignment))
        alignment = format.alignment();
    option.setAlignment(visualAlignment(direction, alignment));
    if (format.nonBreakableLines() || doc->pageSize().width() < 0)
        option.setWrapMode(QTextOption::ManualWrap);

    QTextLayout *layout = block.layout();
    layout->setTextOption(option);
    const bool wrapsAnywhere = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
    const qreal scaling = paintDevice() && paintDevice()->logicalDpiY() != kDefaultDpi ? dpiScale : 1.0;
    const int l = m_frame.left + leftMargin;
    const int r = m_frame.right - rightMargin;
    int y = 0;
    int bottom = 0;
    bool firstLine = true;
    layout->beginLayout();
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        int left = l;
        int right = r;
        if (firstLine) {
            const int textIndent = fixed(format.textIndent());
            if (rtl)
                right -= textIndent;
            else
                left += textIndent;
            firstLine = false;
        }
        line.setLineWidth(real(right - left));
        if (fixed(line.naturalTextWidth()) > right - left) {
            // A line that cannot be broken (a wide picture) is as wide as it needs.
            line.setLineWidth(real(right - left));
            if (fixed(line.naturalTextWidth()) > right - left) {
                if (wrapsAnywhere) {
                    option.setWrapMode(QTextOption::WrapAnywhere);
                    layout->setTextOption(option);
                }
                line.setLineWidth(qMax<qreal>(line.naturalTextWidth(), real(right - left)));
                if (wrapsAnywhere) {
                    option.setWrapMode(QTextOption::WordWrap);
                    layout->setTextOption(option);
                }
            }
        }
        const LineHeights heights = lineHeights(format, line, scaling);
        line.setPosition(QPointF(real(left - m_frame.left), real(y - heights.adjustment)));
        bottom = y + heights.bottom;
        y += heights.height;
        box.width = std::max(box.width, fixed(line.x() + line.naturalTextWidth()) + rightMargin);
    }
    layout->endLayout();
    box.height = std::max(y, bottom);
    return box;
}

int EditorLayout::gap(const QTextBlock &block, int number) const
{
    if (number == 0 || !block.isVisible())
        return 0;
    qreal margin = qMax(block.blockFormat().topMargin(), block.previous().blockFormat().bottomMargin());
    if (margin > 0 && paintDevice())
        margin *= qreal(paintDevice()->logicalDpiY()) / kDefaultDpi;
    return fixed(margin);
}

void EditorLayout::typesetNext(QTextBlock &block) const
{
    auto *self = const_cast<EditorLayout *>(this);
    self->setBox(std::size_t(m_done), typeset(block, m_done));
    ++m_done;
    block = block.next();
}

void EditorLayout::typesetThrough(int count) const
{
    count = std::min(count, int(m_boxes.size()));
    if (m_done >= count || document()->pageSize().isNull())
        return;
    QTextBlock block = document()->findBlockByNumber(m_done);
    while (m_done < count && block.isValid())
        typesetNext(block);
}

void EditorLayout::typesetThroughY(std::int64_t y) const
{
    if (isComplete() || document()->pageSize().isNull())
        return;
    std::int64_t reached = m_frame.top + m_sums.before(std::size_t(m_done));
    QTextBlock block = document()->findBlockByNumber(m_done);
    while (reached <= y && m_done < int(m_boxes.size()) && block.isValid()) {
        typesetNext(block);
        reached += advance(std::size_t(m_done - 1));
    }
}

void EditorLayout::scheduleRest()
{
    if (!isComplete() && !m_timer.isActive())
        m_timer.start(2, this);
}

void EditorLayout::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QAbstractTextDocumentLayout::timerEvent(event);
        return;
    }
    if (document()->pageSize().isNull() || isComplete()) {
        m_timer.stop();
        return;
    }
    const qreal before = real(m_frame.top + m_sums.before(std::size_t(m_done)));
    QElapsedTimer slice;
    slice.start();
    QTextBlock block = document()->findBlockByNumber(m_done);
    while (!isComplete() && block.isValid() && slice.nsecsElapsed() < kSliceNs) {
        for (int i = 0; i < 16 && !isComplete() && block.isValid(); ++i)
            typesetNext(block);
    }
    if (isComplete())
        m_timer.stop();
    const qreal after = real(m_frame.top + m_sums.before(std::size_t(m_done)));
    reportSize();
    Q_EMIT update(QRectF(0, before, qreal(INT_MAX), after - before + 1));
}

int EditorLayout::top(int number) const
{
    if (number < 0 || std::size_t(number) >= m_boxes.size())
        return m_frame.top;
    return int(m_frame.top + m_sums.before(std::size_t(number)) + m_boxes[std::size_t(number)].gap);
}

void EditorLayout::place(const QTextBlock &block) const
{
    block.layout()->setPosition(QPointF(real(m_frame.left), real(top(block.blockNumber()))));
}

int EditorLayout::blockAtY(std::int64_t y) const
{
    const std::size_t count = m_sums.countUpTo(y - m_frame.top);
    return std::clamp(int(count), 0, std::max(0, m_done - 1));
}

int EditorLayout::widest() const
{
    if (m_widestStale) {
        m_widest = 0;
        for (int i = 0; i < m_done; ++i)
            m_widest = std::max(m_widest, m_boxes[std::size_t(i)].width);
        m_widestStale = false;
    }
    return m_widest;
}

QSizeF EditorLayout::documentSize() const
{
    if (document()->pageSize().isNull())
        return {};
    const std::int64_t height = m_frame.top + m_sums.before(std::size_t(m_done)) + m_frame.bottomMargin;
    const int width = std::max(m_frame.contentsWidth, widest()) + m_frame.marginWidth;
    return QSizeF(real(width), real(height));
}

void EditorLayout::reportSize()
{
    const QSizeF size = documentSize();
    if (size != m_reportedSize) {
        m_reportedSize = size;
        Q_EMIT documentSizeChanged(size);
    }
}

int EditorLayout::pageCount() const
{
    const QSizeF page = document()->pageSize();
    if (page.height() <= 0)
        return 1;
    typesetThrough(int(m_boxes.size()));
    return qMax(1, int(std::ceil(documentSize().height() / page.height())));
}

QRectF EditorLayout::frameBoundingRect(QTextFrame *frame) const
{
    if (document()->pageSize().isNull() || frame != document()->rootFrame())
        return {};
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF EditorLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (document()->pageSize().isNull() || !block.isValid() || !block.isVisible() ||
        block.document() != document())
        return {};
    typesetThrough(block.blockNumber() + 1);
    if (block.blockNumber() >= m_done)
        return {};
    place(block);
    const QTextLayout *layout = block.layout();
    QRectF rect = layout->boundingRect();
    rect.moveTopLeft(layout->position());
    return rect;
}

void EditorLayout::resizeInlineObject(QTextInlineObject item, int position, const QTextFormat &format)
{
    const QTextCharFormat f = format.toCharFormat();
    QTextObjectInterface *handler = handlerForObject(f.objectType());
    if (!handler)
        return;
    const QSizeF size = handler->intrinsicSize(document(), position, format);
    item.setWidth(size.width());
    if (f.verticalAlignment() == QTextCharFormat::AlignMiddle) {
        const QFontMetrics metrics(f.font());
        const qreal halfX = metrics.xHeight() / 2.0;
        item.setAscent((size.height() + halfX) / 2.0);
        item.setDescent((size.height() - halfX) / 2.0);
    } else {
        item.setDescent(0);
        item.setAscent(size.height());
    }
}

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
