#include "spellingmarks.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace {

// A wave of 4 pixels a period and 1.5 high, in the painter's pixels: a scaled screen scales it.
constexpr qreal kPeriod = 4.0;
constexpr qreal kAmplitude = 1.5;

void drawWave(QPainter *painter, qreal left, qreal right, qreal y)
{
    QPainterPath path(QPointF(left, y));
    bool up = true;
    for (qreal x = left; x < right; x += kPeriod / 2) {
        const qreal next = std::min(x + kPeriod / 2, right);
        path.quadTo(QPointF((x + next) / 2, up ? y - kAmplitude * 2 : y + kAmplitude * 2), QPointF(next, y));
        up = !up;
    }
    painter->drawPath(path);
}

} // namespace

const SpellingMarks *SpellingMarks::of(const QTextBlock &block)
{
    const auto *marks = static_cast<const SpellingMarks *>(block.userData());
    if (!marks || marks->ranges.isEmpty())
        return nullptr;
    return marks;
}

void SpellingMarks::draw(QPainter *painter, const QTextBlock &block)
{
    const SpellingMarks *marks = of(block);
    const QTextLayout *layout = block.layout();
    if (!marks || !layout || layout->lineCount() == 0)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(QColor(230, 0, 0), 1.0));
    painter->setBrush(Qt::NoBrush);
    const QPointF origin = layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const int lineStart = line.textStart();
        const int lineEnd = lineStart + line.textLength();
        const qreal baseline = origin.y() + line.y() + line.ascent();
        // Under the letters, yet inside the line, so the next line's text does not cover it.
        const qreal y =
            std::min(baseline + 1 + kAmplitude, origin.y() + line.y() + line.height() - kAmplitude - 0.5);
        for (const TextRange &range : marks->ranges) {
            const int start = std::max(range.start, lineStart);
            const int end = std::min(range.end(), lineEnd);
            if (start >= end)
                continue;
            const qreal left = origin.x() + line.cursorToX(start);
            const qreal right = origin.x() + line.cursorToX(end);
            drawWave(painter, std::min(left, right), std::max(left, right), y);
        }
    }
    painter->restore();
}
