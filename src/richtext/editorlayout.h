#pragma once

#include "runningsums.h"

#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QRectF>

#include <cstdint>
#include <vector>

class QTextBlock;
class QTextDocument;

// The layout measures in 64ths of a pixel, as Qt's does, truncating on the way in.
namespace LayoutUnits {
constexpr int fixed(qreal value)
{
    return int(value * 64.0);
}
constexpr qreal real(std::int64_t value)
{
    return qreal(value) / 64.0;
}
} // namespace LayoutUnits

// The layout of a text shown in the editor: one column, no pages, paragraphs only (our documents
// hold no tables and no floating frames). Qt's own layout moves every paragraph below an edit,
// which makes a keystroke at the top of a long text cost the whole text. This one keeps the
// height of each paragraph in running sums: an edit typesets the paragraphs it touches, and the
// ones below move in O(log n). Geometry and painting follow Qt's layout rule for rule, so a text
// looks the same under either.
//
// Like Qt's, it typesets lazily: what is asked for (painted, hit, a caret's rectangle) at once,
// the rest in the background from the top; the document's size grows as it goes.
class EditorLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT
    Q_PROPERTY(int cursorWidth READ cursorWidth WRITE setCursorWidth)
public:
    explicit EditorLayout(QTextDocument *document);

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override;
    // The size of what is typeset so far, as Qt's layout reports it while it works.
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

    int cursorWidth() const { return m_cursorWidth; }
    void setCursorWidth(int width) { m_cursorWidth = width; }

    // Whether every paragraph is typeset; finishTypesetting() typesets the rest now.
    bool isComplete() const;
    void finishTypesetting();
    // Repaints a paragraph whose spelling marks changed, when it is typeset (one that is not
    // shows its marks when it is painted): typesetting it here would undo the lazy layout.
    void marksChanged(const QTextBlock &block);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;
    void resizeInlineObject(QTextInlineObject item, int position, const QTextFormat &format) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // Lengths are in 64ths of a pixel (LayoutUnits).
    struct Box
    {
        int gap = 0;    // space above: the larger of this top margin and the previous bottom one
        int height = 0; // the lines
        int width = 0;  // the widest line with its right margin
    };
    struct Frame
    {
        int left = 0; // the text column, between the root frame's margins
        int right = 0;
        int top = 0;
        int bottomMargin = 0;
        int leftMargin = 0; // the root frame's own, which clip what is drawn
        int rightMargin = 0;
        int marginWidth = 0;
        int contentsWidth = 0;
        bool operator==(const Frame &) const = default;
    };

    Frame currentFrame() const;
    void resetAll();
    void rebuildSums();
    std::int64_t advance(std::size_t index) const;
    void setBox(std::size_t index, const Box &box);
    Box typeset(const QTextBlock &block, int number) const;
    int gap(const QTextBlock &block, int number) const;
    // Typesets blocks in order until `count` are done, or until the typeset text reaches `y`.
    void typesetThrough(int count) const;
    void typesetThroughY(std::int64_t y) const;
    void typesetNext(QTextBlock &block) const;
    void scheduleRest();
    int top(int number) const; // the block's layout position, in 64ths
    void place(const QTextBlock &block) const;
    int blockAtY(std::int64_t y) const;
    int widest() const;
    void reportSize();

    void drawBlock(QPainter *painter, const PaintContext &context, const QTextBlock &block) const;
    void drawListItem(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                      const QTextCharFormat *selectionFormat) const;
    enum class Hit { Before, After, Inside, Exact };
    Hit hitBlock(const QTextBlock &block, const QPointF &point, int *position, QTextLayout **layout,
                 Qt::HitTestAccuracy accuracy) const;

    // Mutable: typesetting on demand happens inside const queries, as in Qt's layout.
    mutable std::vector<Box> m_boxes;
    mutable RunningSums m_sums;
    mutable int m_done = 0; // blocks [0, m_done) are typeset
    mutable int m_widest = 0;
    mutable bool m_widestStale = false;
    Frame m_frame;
    int m_cursorWidth = 1;
    QSizeF m_reportedSize;
    QRectF m_clip;
    QBasicTimer m_timer;
};
