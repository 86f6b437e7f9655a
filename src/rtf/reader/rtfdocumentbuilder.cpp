#include "rtf/reader/rtfdocumentbuilder.h"

void RtfDocumentBuilder::setCharStyle(const CharStyle &style)
{
    if (style == m_style)
        return;
    flushRun();
    m_style = style;
}

void RtfDocumentBuilder::flushRun()
{
    if (m_text.isEmpty())
        return;
    const qsizetype count = m_current.runs.size();
    if (count > 0 && count != m_labelStart && count != m_labelEnd) {
        TextRun &last = m_current.runs.last();
        if (!last.object && last.style == m_style) {
            last.text += m_text;
            m_text.resize(0);
            return;
        }
    }
    // A copy of exactly the run's size; the buffer keeps its capacity for the next run, so a
    // run costs one allocation however many appends built it.
    m_current.runs.append(TextRun{QString(m_text.constData(), m_text.size()), m_style, nullptr});
    m_text.resize(0);
}

void RtfDocumentBuilder::appendObject(std::shared_ptr<const EmbeddedObject> object)
{
    flushRun();
    m_current.runs.append(TextRun{QString(QChar(0xFFFC)), m_style, std::move(object)});
    m_lastWasCellTab = false;
}

void RtfDocumentBuilder::beginLabel()
{
    flushRun();
    m_labelStart = m_current.runs.size();
    m_labelEnd = -1;
}

void RtfDocumentBuilder::endLabel()
{
    if (m_labelStart < 0)
        return;
    flushRun();
    m_labelEnd = m_current.runs.size();
}

QString RtfDocumentBuilder::labelText() const
{
    QString text;
    const qsizetype end = m_labelEnd >= 0 ? m_labelEnd : m_current.runs.size();
    for (qsizetype i = qMax<qsizetype>(0, m_labelStart); m_labelStart >= 0 && i < end; ++i)
        text += m_current.runs.at(i).text;
    if (m_labelStart >= 0 && m_labelEnd < 0)
        text += m_text;
    return text;
}

void RtfDocumentBuilder::dropLabel(const ParagraphStyle &style)
{
    if (m_labelStart >= 0 && style.bullet) {
        flushRun();
        const qsizetype end = m_labelEnd >= 0 ? m_labelEnd : m_current.runs.size();
        if (m_labelStart < end && end <= m_current.runs.size())
            m_current.runs.remove(m_labelStart, end - m_labelStart);
    }
    m_labelStart = -1;
    m_labelEnd = -1;
}

void RtfDocumentBuilder::endParagraph(const ParagraphStyle &style)
{
    flushRun();
    dropLabel(style);
    m_current.style = style;
    m_paragraphs.push_back(takeCurrent());
    m_lastWasCellTab = false;
}

void RtfDocumentBuilder::dropTrailingCellTab()
{
    if (!m_lastWasCellTab)
        return;
    if (!m_text.isEmpty()) {
        m_text.chop(1);
        return;
    }
    if (!m_current.runs.isEmpty() && !m_current.runs.last().object) {
        QString &text = m_current.runs.last().text;
        text.chop(1);
        if (text.isEmpty())
            m_current.runs.removeLast();
    }
}

void RtfDocumentBuilder::endRow(const ParagraphStyle &style)
{
    dropTrailingCellTab();
    endParagraph(style);
}

RichDocument RtfDocumentBuilder::finish(const ParagraphStyle &finalStyle)
{
    flushRun();
    dropLabel(finalStyle);
    RichDocument document;
    // A last paragraph mark followed by nothing but closing braces ends the previous paragraph;
    // it does not open an empty one (otherwise every load/save cycle would add a blank line).
    if (!m_paragraphs.empty() && m_current.runs.isEmpty()) {
        document.endsWithParagraphMark = true;
    } else {
        m_current.style = finalStyle;
        m_paragraphs.push_back(takeCurrent());
    }
    document.paragraphs.clear();
    document.paragraphs.reserve(qsizetype(m_paragraphs.size()));
    for (Paragraph &paragraph : m_paragraphs)
        document.paragraphs.append(std::move(paragraph));
    m_paragraphs.clear();
    m_current = Paragraph{};
    return document;
}

Paragraph RtfDocumentBuilder::takeCurrent()
{
    // The runs are collected in a list that keeps its capacity; each paragraph gets an exact
    // copy, which saves the growth slack of a fresh list per paragraph (large documents hold
    // hundreds of thousands of runs).
    Paragraph paragraph;
    paragraph.style = m_current.style;
    paragraph.runs.reserve(m_current.runs.size());
    for (TextRun &run : m_current.runs)
        paragraph.runs.append(std::move(run));
    m_current.runs.resize(0);
    m_current.style = ParagraphStyle{};
    return paragraph;
}
