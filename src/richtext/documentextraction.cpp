#include "documentconverter.h"
#include "embeddedobjects.h"
#include "equationobjects.h"
#include "rtf/cp1252.h"
#include "textformats.h"
#include "widecharacters.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

// Reading the document back: as the RTF model, and as the plain text find and the 8-bit
// views work on.

namespace {

constexpr char16_t kObject = 0xFFFC;
constexpr char16_t kLineBreak = 0x2028;

} // namespace

RichDocument DocumentConverter::extract(const QTextDocument &document, int start, int end, Resume *resume)
{
    RichDocument result;
    result.paragraphs.clear();
    const int length = document.characterCount() - 1;
    start = qBound(0, start, length);
    end = qBound(start, end, length);
    // Resolving a format into a style builds fonts: once per format, not per run.
    struct Resolved
    {
        CharStyle style;
        QTextCharFormat format;
        QString wide; // the character a wide-character object stands for
    };
    QHash<int, Resolved> styles;
    QTextBlock block = document.findBlock(start);
    const QTextBlock last = document.findBlock(qMax(start, end - 1));
    result.paragraphs.reserve(last.blockNumber() - block.blockNumber() + 1);
    for (;; block = block.next()) {
        Paragraph paragraph;
        paragraph.style = TextFormats::paragraphStyle(block.blockFormat());
        paragraph.style.bullet = block.textList() != nullptr;
        const int blockPosition = block.position();
        // A piece of a long paragraph reads only its own fragments: the whole paragraph's text
        // for every piece would make copying one long paragraph in pieces quadratic.
        const bool wholeBlock = start <= blockPosition && end >= blockPosition + block.length() - 1;
        const QString blockText = wholeBlock ? block.text() : QString();
        auto &tabs = paragraph.style.tabs;
        std::sort(tabs.begin(), tabs.end(),
                  [](const TabStop &a, const TabStop &b) { return a.positionTwips < b.positionTwips; });
        tabs.erase(std::unique(
                       tabs.begin(), tabs.end(),
                       [](const TabStop &a, const TabStop &b) { return a.positionTwips == b.positionTwips; }),
                   tabs.end());
        // A block's fragments follow one another: each starts where the previous one ended.
        int position = blockPosition;
        auto it = block.begin();
        if (resume && resume->position == start && resume->block == block) {
            it = resume->fragment;
            position = resume->fragmentStart;
        }
        if (resume)
            resume->position = -1;
        for (bool stop = false; !stop && !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fragmentLength = fragment.length();
            const int fragmentStart = position;
            const int from = qMax(start, position);
            const int to = qMin(end, position + fragmentLength);
            position += fragmentLength;
            // The piece ends inside this fragment: the next one goes on from it.
            if (position > end && fragmentStart < end) {
                stop = true;
                if (resume)
                    *resume = Resume{end, block, it, fragmentStart};
            }
            if (fragmentStart >= end) {
                if (resume)
                    *resume = Resume{end, block, it, fragmentStart};
                break;
            }
            if (from >= to)
                continue;
            const QString fragmentText = wholeBlock ? QString() : fragment.text();
            const QStringView text = wholeBlock
                                         ? QStringView(blockText).mid(from - blockPosition, to - from)
                                         : QStringView(fragmentText).mid(from - fragmentStart, to - from);
            const int index = fragment.charFormatIndex();
            auto known = styles.constFind(index);
            if (known == styles.constEnd()) {
                const QTextCharFormat format = fragment.charFormat();
                known = styles.insert(index, Resolved{TextFormats::charStyle(format, document), format,
                                                      WideCharacters::text(format)});
            }
            const CharStyle &style = known->style;
            const QTextCharFormat &format = known->format;
            if (const QString &wide = known->wide; !wide.isEmpty()) {
                const QString piece = wide.repeated(text.size());
                if (!paragraph.runs.isEmpty() && !paragraph.runs.last().object &&
                    paragraph.runs.last().style == style)
                    paragraph.runs.last().text += piece;
                else
                    paragraph.runs.append(TextRun{piece, style, {}});
                continue;
            }
            for (qsizetype i = 0; i < text.size();) {
                if (text.at(i) == QChar(kObject)) {
                    paragraph.runs.append(TextRun{QString(QChar(kObject)), style,
                                                  EquationObjects::isEquation(format)
                                                      ? EquationObjects::objectOf(format, document)
                                                      : EmbeddedObjects::objectOf(format, document)});
                    ++i;
                    continue;
                }
                qsizetype j = i;
                while (j < text.size() && text.at(j) != QChar(kObject))
                    ++j;
                QString piece = text.mid(i, j - i).toString();
                if (style.symbolFont) {
                    for (QChar &c : piece)
                        c = TextFormats::modelChar(c, format);
                }
                if (!paragraph.runs.isEmpty() && !paragraph.runs.last().object &&
                    paragraph.runs.last().style == style)
                    paragraph.runs.last().text += piece;
                else
                    paragraph.runs.append(TextRun{std::move(piece), style, {}});
                i = j;
            }
        }
        result.paragraphs.append(std::move(paragraph));
        if (block == last || !block.isValid())
            break;
    }
    result.endsWithParagraphMark = end > last.position() + last.length() - 1;
    if (result.paragraphs.isEmpty())
        result.paragraphs.append(Paragraph{});
    return result;
}

RichDocument DocumentConverter::extractWhole(const QTextDocument &document)
{
    return extractTail(document, 0);
}

RichDocument DocumentConverter::extractTail(const QTextDocument &document, int start, Resume *resume)
{
    const int length = document.characterCount() - 1;
    RichDocument whole = extract(document, start, length, resume);
    const QTextBlock last = document.lastBlock();
    whole.endsWithParagraphMark = false;
    if (document.blockCount() > 1 && last.length() == 1) {
        Paragraph empty;
        empty.style = TextFormats::paragraphStyle(last.blockFormat());
        empty.style.bullet = last.textList() != nullptr;
        whole.paragraphs.append(empty);
        whole.endsWithParagraphMark = true;
    }
    return whole;
}

QByteArray DocumentConverter::plainText(const QTextDocument &document, int start, int end)
{
    const int length = document.characterCount() - 1;
    start = qBound(0, start, length);
    end = qBound(start, end, length);
    QByteArray bytes(end - start, Qt::Uninitialized);
    char *out = bytes.data();
    // A long text has many fragments and few formats: what a format means here is looked up
    // once per format, not once per fragment.
    struct Meaning
    {
        QTextCharFormat format;
        bool symbol = false;
        bool wide = false;
    };
    QHash<int, Meaning> meanings;
    int lastFormat = -1;
    const Meaning *meaning = nullptr;
    // Positions are counted along, not asked of each block and fragment: asking costs a walk
    // through the document's tree every time.
    QTextBlock block = document.findBlock(start);
    for (int blockStart = block.isValid() ? block.position() : end; block.isValid() && blockStart < end;
         blockStart += block.length(), block = block.next()) {
        const QString text = block.text(); // one copy per block, not one per fragment
        const QChar *chars = text.constData();
        int position = blockStart;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fragmentStart = position;
            position += fragment.length();
            const int from = qMax(start, fragmentStart);
            const int to = qMin(end, position);
            if (from >= to)
                continue;
            if (fragment.charFormatIndex() != lastFormat) {
                lastFormat = fragment.charFormatIndex();
                auto known = meanings.constFind(lastFormat);
                if (known == meanings.constEnd()) {
                    const QTextCharFormat format = fragment.charFormat();
                    known = meanings.insert(lastFormat, Meaning{format, TextFormats::isSymbolFont(format),
                                                                WideCharacters::codePoint(format) != 0});
                }
                meaning = &*known;
            }
            const bool symbol = meaning->symbol;
            const QTextCharFormat &format = meaning->format;
            if (meaning->wide) {
                out = std::fill_n(out, to - from, '?'); // beyond Windows-1252, as any other
                continue;
            }
            for (int p = from; p < to; ++p) {
                const QChar c = chars[p - blockStart];
                const char16_t u = c.unicode();
                if (u >= 0x20 && u < 0x80 && !symbol) {
                    *out++ = char(u);
                    continue;
                }
                int byte;
                if (u == kObject)
                    byte = ' ';
                else if (u == kLineBreak)
                    byte = '\v';
                else if (symbol && u >= 0x20)
                    byte = TextFormats::modelChar(c, format).unicode();
                else
                    byte = Cp1252::fromUnicode(c);
                *out++ = byte < 0 || byte > 0xFF ? '?' : char(byte);
            }
        }
        const int mark = blockStart + block.length() - 1;
        if (mark >= start && mark < end)
            *out++ = '\r';
    }
    Q_ASSERT(out == bytes.data() + bytes.size());
    return bytes;
}
