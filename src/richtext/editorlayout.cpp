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

using LayoutUnits::fixed;
using LayoutUnits::real;
#include <climits>
#include <cmath>

namespace {

int roundedFixed(qreal value)
{
    return (fixed(value) + 32) & -64; // Qt rounds frame margins to whole pixels
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
    // Indents are screen pixels: a zoomed view typesets on a device of another resolution.
    const int leftMargin = fixed(format.leftMargin() * dpiScale) + (rtl ? extraMargin : indentWidth);
    const int rightMargin = fixed(format.rightMargin() * dpiScale) + (rtl ? indentWidth : extraMargin);

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
            const int textIndent = fixed(format.textIndent() * dpiScale);
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

void EditorLayout::marksChanged(const QTextBlock &block)
{
    if (block.isValid() && block.document() == document() && block.blockNumber() < m_done)
        Q_EMIT update(blockBoundingRect(block));
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
