#pragma once

#include "textrange.h"

#include <QList>
#include <QTextBlockUserData>

class QPainter;
class QTextBlock;

// The red wavy underlines of one paragraph. They live beside the block, so they move with it
// when paragraphs above are edited, and they are nothing the document saves, copies or undoes.
class SpellingMarks : public QTextBlockUserData
{
public:
    QList<TextRange> ranges; // offsets from the block's start; an edit of the block drops them

    // The marks of `block`, or nullptr.
    static const SpellingMarks *of(const QTextBlock &block);
    // Draws them under the block's laid-out lines, in the layout's coordinates.
    static void draw(QPainter *painter, const QTextBlock &block);
};
