#include "slicedcopy.h"

#include "richtext/richtextcontrol.h"

#include <QElapsedTimer>

#include <utility>

namespace {

constexpr int smallestPiece = 512;
constexpr int largestPiece = 1 << 22;

void appendRun(QList<TextRun> &runs, TextRun &&run)
{
    // A run cut in two by the piece boundary becomes one again, as a whole copy would have it.
    if (!runs.isEmpty() && !runs.last().object && !run.object && runs.last().style == run.style) {
        runs.last().text += run.text;
        return;
    }
    runs.append(std::move(run));
}

} // namespace

SlicedCopy::SlicedCopy(RichTextControl &text, double budgetMs, QObject *parent)
    : QObject(parent), m_text(&text), m_budgetMs(budgetMs)
{
    connect(&text, &RichTextControl::textChanged, this, &SlicedCopy::restart);
}

void SlicedCopy::restart()
{
    if (m_complete)
        return;
    m_position = 0;
    m_pieces.clear();
    ++m_restarts;
}

bool SlicedCopy::step()
{
    if (m_complete || !m_text)
        return true;
    ++m_steps;
    const int length = m_text->textLength();
    int piece = m_fixedPiece > 0 ? m_fixedPiece : m_piece;
    if (m_restarts >= wholeAfterRestarts)
        piece = length;
    const int end = int(qMin<qint64>(length, qint64(m_position) + qMax(1, piece)));
    QElapsedTimer clock;
    clock.start();
    m_pieces.append(m_text->textPiece(m_position, end));
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    // Aim at the budget, not past it: grow only when well under, shrink as soon as over.
    if (ms < m_budgetMs / 2)
        m_piece = qMin(largestPiece, m_piece * 2);
    else if (ms > m_budgetMs)
        m_piece = qMax(smallestPiece, int(m_piece * (m_budgetMs / ms) * 0.8));
    m_position = end;
    m_complete = m_position >= length;
    return m_complete;
}

QList<RichDocument> SlicedCopy::take()
{
    Q_ASSERT(m_complete);
    return std::exchange(m_pieces, {});
}

RichDocument SlicedCopy::join(QList<RichDocument> pieces)
{
    RichDocument whole;
    whole.paragraphs.clear();
    for (RichDocument &piece : pieces)
        append(whole, std::move(piece));
    if (whole.paragraphs.isEmpty())
        whole.paragraphs.append(Paragraph{});
    return whole;
}

void SlicedCopy::append(RichDocument &whole, RichDocument &&piece)
{
    if (piece.paragraphs.isEmpty())
        return;
    qsizetype from = 0;
    if (!whole.paragraphs.isEmpty() && !whole.endsWithParagraphMark) {
        Paragraph &joined = whole.paragraphs.last();
        for (TextRun &run : piece.paragraphs.first().runs)
            appendRun(joined.runs, std::move(run));
        from = 1;
    }
    for (qsizetype i = from; i < piece.paragraphs.size(); ++i)
        whole.paragraphs.append(std::move(piece.paragraphs[i]));
    whole.endsWithParagraphMark = piece.endsWithParagraphMark;
    whole.hasCharFormatting = piece.hasCharFormatting;
}
