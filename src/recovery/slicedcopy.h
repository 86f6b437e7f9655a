#pragma once

#include "richtext/richtextcontrol.h"
#include "rtf/richdocument.h"

#include <QObject>
#include <QPointer>

// A copy of a whole text taken a piece at a time, so that copying a long text never holds the
// user's typing for more than a few milliseconds: each step() takes as many positions as fit
// in the time budget, measured on the previous pieces.
//
// A change of the text while the copy is under way starts it again, so a copy is always the
// text of one moment. A text that keeps changing under it is taken in one go at the
// `wholeAfterRestarts`-th attempt: a late copy is worth a pause, a copy that never ends is not.
class SlicedCopy : public QObject
{
    Q_OBJECT
public:
    static constexpr int wholeAfterRestarts = 3;

    explicit SlicedCopy(RichTextControl &text, double budgetMs = 4.0, QObject *parent = nullptr);

    // Takes the next piece; true once the copy is complete.
    bool step();
    bool complete() const { return m_complete; }
    int restarts() const { return m_restarts; }
    int steps() const { return m_steps; }
    RichTextControl *text() const { return m_text; }
    // The pieces, once complete; join() makes them the whole text, what textPiece(0,
    // textLength()) gives. Joining is left to the caller: a long paragraph's runs joined here
    // would cost the user-interface thread what the pieces saved it.
    QList<RichDocument> take();
    static RichDocument join(QList<RichDocument> pieces);

    // Joins `piece` after `whole`: the last paragraph of `whole` continues in the first one of
    // `piece` when `whole` stopped inside it. `whole` starts with no paragraph at all.
    static void append(RichDocument &whole, RichDocument &&piece);
    // Pieces of `positions` positions at most (tests and benchmarks fix it; 0: by time).
    void setPieceSize(int positions) { m_fixedPiece = positions; }

private:
    void restart();

    QPointer<RichTextControl> m_text;
    double m_budgetMs;
    int m_fixedPiece = 0;
    int m_piece = 4096;
    int m_position = 0;
    int m_restarts = 0;
    int m_steps = 0;
    bool m_complete = false;
    QList<RichDocument> m_pieces;
};
