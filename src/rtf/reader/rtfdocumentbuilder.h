#pragma once

#include "rtf/richdocument.h"

#include <QString>

#include <deque>
#include <memory>

// Assembles the RichDocument as the reader walks the body: text goes into one run buffer as
// long as the character style stays the same, so building costs one append per character
// and one run per style change.
class RtfDocumentBuilder
{
public:
    // The style of the text appended next; a different style closes the current run.
    void setCharStyle(const CharStyle &style);
    const CharStyle &charStyle() const { return m_style; }

    void appendChar(QChar c)
    {
        m_text.append(c);
        m_lastWasCellTab = false;
    }
    QString &runText()
    {
        m_lastWasCellTab = false;
        return m_text;
    }
    void appendObject(std::shared_ptr<const EmbeddedObject> object);
    // The list label (\listtext, \pntext) of the current paragraph: kept as its first text,
    // dropped when the paragraph ends as a bullet one, which the control draws itself.
    void beginLabel();
    void endLabel();
    QString labelText() const;
    void endParagraph(const ParagraphStyle &style);
    bool paragraphIsEmpty() const { return m_text.isEmpty() && m_current.runs.isEmpty(); }
    // Table cells become tab-separated text, each row one paragraph: the tab just appended
    // ended a cell.
    void endCell() { m_lastWasCellTab = true; }
    void endRow(const ParagraphStyle &style);

    // `finalStyle`: the paragraph properties in force at the end of the data.
    RichDocument finish(const ParagraphStyle &finalStyle);

private:
    void flushRun();
    Paragraph takeCurrent();
    void dropTrailingCellTab();
    void dropLabel(const ParagraphStyle &style);

    // Chunked: a growing QList would move every paragraph at each doubling.
    std::deque<Paragraph> m_paragraphs;
    Paragraph m_current;
    QString m_text;
    CharStyle m_style;
    bool m_lastWasCellTab = false;
    // Runs [m_labelStart, m_labelEnd) of the current paragraph are its label; text is never
    // merged into a run across either end.
    qsizetype m_labelStart = -1;
    qsizetype m_labelEnd = -1;
};
