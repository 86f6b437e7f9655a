#include "editorlayout.h"
#include "qtrichtextcontrol.h"
#include "richtextdocument.h"
#include "richtextedit.h"
#include "spellingmarks.h"
#include "textformats.h"

#include <QTextBlock>

#include <algorithm>

// Reading the text paragraph by paragraph, and the spelling marks drawn over it.

namespace {

bool isPlainWriting(const QTextCharFormat &format)
{
    return !format.isImageFormat() && format.objectType() == QTextFormat::NoObject &&
           !TextFormats::isSymbolFont(format) && TextFormats::offsetTwips(format) == 0;
}

} // namespace

int QtRichTextControl::paragraphCount() const
{
    return m_document->blockCount();
}

int QtRichTextControl::paragraphAt(int position) const
{
    return m_document->findBlock(qBound(0, position, m_document->characterCount() - 1)).blockNumber();
}

ParagraphText QtRichTextControl::paragraphText(int index) const
{
    const QTextBlock block = m_document->findBlockByNumber(qBound(0, index, m_document->blockCount() - 1));
    ParagraphText paragraph;
    paragraph.start = block.position();
    const int length = block.length() - 1;
    paragraph.text.reserve(length);
    paragraph.plain.reserve(length);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QString text = fragment.text();
        const bool plain = isPlainWriting(fragment.charFormat());
        paragraph.text += text;
        for (const QChar c : text)
            paragraph.plain.append(plain && c != QChar::ObjectReplacementCharacter);
    }
    return paragraph;
}

TextRange QtRichTextControl::visibleParagraphs() const
{
    if (!m_edit || !m_edit->isVisible())
        return {};
    const QRect view = m_edit->viewport()->rect();
    const int first = m_edit->cursorForPosition(view.topLeft()).blockNumber();
    const int last = m_edit->cursorForPosition(view.bottomRight()).blockNumber();
    return {first, std::max(0, last - first) + 1};
}

void QtRichTextControl::setSpellingMarks(int index, const QList<TextRange> &ranges)
{
    QTextBlock block = m_document->findBlockByNumber(index);
    if (!block.isValid())
        return;
    const int start = block.position();
    const int length = block.length() - 1;
    QList<TextRange> relative;
    for (const TextRange &range : ranges) {
        const int from = std::clamp(range.start - start, 0, length);
        const int to = std::clamp(range.end() - start, 0, length);
        if (to > from)
            relative.append({from, to - from});
    }
    const SpellingMarks *before = SpellingMarks::of(block);
    if ((before ? before->ranges : QList<TextRange>()) == relative)
        return;
    if (relative.isEmpty()) {
        block.setUserData(nullptr);
    } else {
        auto *marks = new SpellingMarks; // the block owns it
        marks->ranges = relative;
        block.setUserData(marks);
    }
    // A hidden buffer has no layout, and asking for one would make it.
    if (m_edit)
        if (auto *layout = qobject_cast<EditorLayout *>(m_document->documentLayout()))
            layout->marksChanged(block);
}

QList<TextRange> QtRichTextControl::spellingMarks(int index) const
{
    const QTextBlock block = m_document->findBlockByNumber(index);
    QList<TextRange> ranges;
    if (const SpellingMarks *marks = SpellingMarks::of(block))
        for (const TextRange &range : marks->ranges)
            ranges.append({range.start + block.position(), range.length});
    return ranges;
}

void QtRichTextControl::clearSpellingMarks()
{
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
        if (block.userData())
            block.setUserData(nullptr);
    if (m_edit)
        m_edit->viewport()->update();
}

void QtRichTextControl::dropSpellingMarks(int position, int added)
{
    const QTextBlock last =
        m_document->findBlock(qBound(0, position + added, m_document->characterCount() - 1));
    for (QTextBlock block = m_document->findBlock(qMax(0, position)); block.isValid(); block = block.next()) {
        if (block.userData())
            block.setUserData(nullptr);
        if (block == last)
            break;
    }
}
