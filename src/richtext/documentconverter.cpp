#include "documentconverter.h"

#include "embeddedobjects.h"
#include "equationobjects.h"
#include "rtf/cp1252.h"
#include "textformats.h"
#include "widecharacters.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

size_t qHash(const CharStyle &s, size_t seed = 0)
{
    return qHashMulti(seed, s.fontName, s.symbolFont, s.halfPoints, s.bold, s.italic, s.underline,
                      s.strikethrough, s.color.has_value(), s.color.value_or(0), s.offsetTwips,
                      s.protectedText);
}

namespace {

constexpr char16_t kObject = 0xFFFC;
constexpr char16_t kLineBreak = 0x2028;

bool isPairAt(const QString &text, qsizetype i)
{
    return i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate();
}

// One position per character: a surrogate pair stays (it becomes one wide character), a half
// alone becomes U+FFFD, and characters Qt would turn into paragraph or frame breaks become
// line breaks or '?'.
QString sanitized(const QString &text)
{
    const bool clean = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.isSurrogate() || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1 || c == u'\n' ||
               c == u'\r' || c == QChar::ParagraphSeparator || c.unicode() == kObject;
    });
    if (clean)
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isPairAt(text, i)) {
            result.append(c);
            result.append(text.at(++i));
        } else if (c.isSurrogate()) {
            result.append(QChar::ReplacementCharacter);
        } else if (c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1 || c.unicode() == kObject) {
            result.append(u'?'); // a bare U+FFFC would pass for an object
        } else if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator) {
            result.append(QChar(kLineBreak));
        } else {
            result.append(c);
        }
    }
    return result;
}

void insertRunText(QTextCursor &cursor, const QString &text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    if (!TextFormats::isSymbolFont(format)) {
        WideCharacters::insertText(cursor, text, format);
        return;
    }
    // Each byte shows as its Unicode counterpart and keeps the byte beside it.
    qsizetype from = 0;
    while (from < text.size()) {
        const QChar c = text.at(from);
        if (isPairAt(text, from)) {
            // Not one of the font's bytes: drawn and saved as the Unicode character it is.
            QTextCharFormat plain = format;
            plain.setProperty(TextFormats::SymbolFont, false);
            WideCharacters::insertText(cursor, QStringView(text).mid(from, 2), plain);
            from += 2;
            continue;
        }
        if (c.unicode() < 0x20 || c.unicode() > 0xFF) {
            cursor.insertText(QString(c), format);
            ++from;
            continue;
        }
        qsizetype to = from + 1;
        while (to < text.size() && text.at(to) == c)
            ++to;
        const QTextCharFormat charFormat = TextFormats::symbolCharFormat(format, uchar(c.unicode()));
        cursor.insertText(QString(to - from, TextFormats::displayChar(c, format)), charFormat);
        from = to;
    }
}

// Formats are built once per distinct style: a long text has few styles and many runs.
class FormatCache
{
public:
    const QTextCharFormat &format(const CharStyle &style)
    {
        auto it = m_formats.find(style);
        if (it == m_formats.end())
            it = m_formats.insert(style, TextFormats::charFormat(style));
        return *it;
    }

    QTextBlockFormat blockFormat(const Paragraph &paragraph)
    {
        int raise = 0;
        int lower = 0;
        for (const TextRun &run : paragraph.runs) {
            raise = qMax(raise, run.style.offsetTwips);
            lower = qMax(lower, -run.style.offsetTwips);
        }
        for (const Entry &entry : std::as_const(m_blocks)) {
            if (entry.raise == raise && entry.lower == lower && entry.style == paragraph.style)
                return entry.format;
        }
        QTextBlockFormat format = TextFormats::blockFormat(paragraph.style);
        TextFormats::setLineBoxPadding(format, raise, lower);
        if (m_blocks.size() >= 32)
            m_blocks.removeFirst();
        m_blocks.append(Entry{paragraph.style, raise, lower, format});
        return format;
    }

private:
    struct Entry
    {
        ParagraphStyle style;
        int raise;
        int lower;
        QTextBlockFormat format;
    };
    QHash<CharStyle, QTextCharFormat> m_formats;
    QList<Entry> m_blocks;
};

void applyParagraph(QTextCursor &cursor, const ParagraphStyle &style)
{
    QTextBlockFormat format = TextFormats::blockFormat(style);
    cursor.setBlockFormat(format);
    DocumentConverter::setBullet(cursor.block(), style.bullet);
}

} // namespace

void DocumentConverter::insert(QTextCursor &cursor, const RichDocument &document, Mode mode)
{
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    const int start = cursor.position();
    FormatCache cache;
    const QTextCharFormat caretFormat = insertionFormat(cursor.charFormat());
    const QTextBlockFormat originalBlock = cursor.blockFormat();
    const bool originalBullet = cursor.block().textList() != nullptr;
    // Text that no formatting word reaches is in RTF's defaults (the \deff font at 12 points)
    // when it opens as a document, as word processors show it; a fragment such as the Tab key's
    // "{\tab }" or a paste of plain RTF takes the format at the caret instead.
    const bool ownFormats = mode == Mode::WholeDocument || document.hasCharFormatting;
    QTextCharFormat lastFormat = caretFormat;

    const qsizetype count = document.paragraphs.size();
    for (qsizetype i = 0; i < count; ++i) {
        const Paragraph &paragraph = document.paragraphs.at(i);
        if (mode == Mode::WholeDocument) {
            // The paragraph's format is complete before its text goes in, line box included,
            // so that a large load touches each block once.
            const QTextBlockFormat blockFormat = cache.blockFormat(paragraph);
            if (i > 0) {
                const QTextCharFormat blockChar = ownFormats && !paragraph.runs.isEmpty()
                                                      ? cache.format(paragraph.runs.first().style)
                                                      : lastFormat;
                cursor.insertBlock(blockFormat, blockChar);
            } else {
                cursor.setBlockFormat(blockFormat);
            }
            if (paragraph.style.bullet || cursor.block().textList())
                setBullet(cursor.block(), paragraph.style.bullet);
        }
        for (const TextRun &run : paragraph.runs) {
            const QTextCharFormat &format = ownFormats ? cache.format(run.style) : caretFormat;
            lastFormat = format;
            if (run.object && run.object->kind == EmbeddedObject::Kind::Equation) {
                if (const std::optional<QString> linear = EquationObjects::linearOf(*run.object)) {
                    cursor.insertText(QString(QChar(kObject)), EquationObjects::format(format, *linear));
                    continue;
                }
            }
            if (run.object) {
                cursor.insertText(QString(QChar(kObject)), EmbeddedObjects::objectFormat(
                                                               EquationObjects::shownAs(run.object), format));
                continue;
            }
            if (ownFormats)
                insertRunText(cursor, sanitized(run.text), format);
            else
                insertPlainText(cursor, sanitized(run.text), format);
        }
        if (mode == Mode::Fragment && (i + 1 < count || document.endsWithParagraphMark)) {
            // The mark closes the pasted paragraph, which takes the pasted properties; what
            // followed the cursor goes on in a new block with the properties it had.
            cursor.insertBlock(originalBlock, lastFormat);
            setBullet(cursor.block(), originalBullet);
            QTextCursor closed(cursor.block().previous());
            applyParagraph(closed, paragraph.style);
        }
    }
    if (mode == Mode::Fragment)
        refreshLineBoxes(*cursor.document(), start, cursor.position());
    cursor.endEditBlock();
}

void DocumentConverter::insertPlainText(QTextCursor &cursor, const QString &text,
                                        const QTextCharFormat &format)
{
    const QTextCharFormat base = insertionFormat(format);
    const bool symbol = TextFormats::isSymbolFont(base);
    QString run;
    auto flush = [&] {
        insertRunText(cursor, sanitized(run), base);
        run.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator) {
            flush();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            cursor.insertBlock(cursor.blockFormat(), base);
        } else if (c == u'\v') {
            run.append(QChar(kLineBreak));
        } else if (c.unicode() < 0x20 && c != u'\t') {
            continue; // NUL and other control characters are not text: RTF could not keep them
        } else if (symbol && isPairAt(text, i)) {
            run.append(c);
            run.append(text.at(++i));
        } else if (symbol && c.unicode() > 0xFF) {
            const int byte = Cp1252::fromUnicode(c);
            run.append(byte < 0 ? QChar(u'?') : QChar(char16_t(byte)));
        } else {
            run.append(c);
        }
    }
    flush();
}

void DocumentConverter::setBullet(const QTextBlock &block, bool on)
{
    QTextList *list = block.textList();
    if (!on) {
        if (list)
            list->remove(block);
        QTextCursor cursor(block);
        QTextBlockFormat format = cursor.blockFormat();
        TextFormats::deriveDisplay(format, false);
        cursor.setBlockFormat(format);
        return;
    }
    if (!list) {
        // Consecutive bulleted paragraphs share one list, as a word processor's would.
        QTextList *previous = block.previous().isValid() ? block.previous().textList() : nullptr;
        if (previous) {
            previous->add(block);
        } else {
            QTextListFormat format;
            format.setStyle(QTextListFormat::ListDisc);
            format.setIndent(0);
            QTextCursor(block).createList(format);
        }
    }
    QTextCursor cursor(block);
    QTextBlockFormat format = cursor.blockFormat();
    TextFormats::deriveDisplay(format, true);
    cursor.setBlockFormat(format);
}

QTextCharFormat DocumentConverter::insertionFormat(QTextCharFormat format)
{
    format = TextFormats::withoutSymbolByte(format);
    if (format.hasProperty(TextFormats::WideCharacter) || format.hasProperty(TextFormats::EquationText)) {
        format.clearProperty(TextFormats::WideCharacter);
        format.clearProperty(TextFormats::EquationText);
        format.clearProperty(QTextFormat::ObjectType);
        format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    }
    if (format.isImageFormat()) {
        QTextCharFormat plain;
        const auto properties = format.properties();
        for (auto it = properties.begin(); it != properties.end(); ++it) {
            if (it.key() != QTextFormat::ObjectType && it.key() != QTextFormat::ImageName &&
                it.key() != QTextFormat::ImageWidth && it.key() != QTextFormat::ImageHeight &&
                it.key() != TextFormats::ObjectKey)
                plain.setProperty(it.key(), it.value());
        }
        return plain;
    }
    return format;
}

bool DocumentConverter::protectedAt(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid() || position >= block.position() + block.length() - 1)
        return false; // a paragraph mark is never protected
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position))
            return TextFormats::isProtected(fragment.charFormat());
    }
    return false;
}

bool DocumentConverter::containsProtected(const QTextDocument &document, int start, int end)
{
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() < end && fragment.position() + fragment.length() > start &&
                TextFormats::isProtected(fragment.charFormat()))
                return true;
        }
    }
    return false;
}

bool DocumentConverter::insideProtectedRun(const QTextDocument &document, int position)
{
    return position > 0 && protectedAt(document, position - 1) && protectedAt(document, position);
}

namespace {

struct LineBoxBatch
{
    int depth = 0;
    QTextCursor first; // null until a span is waiting
    QTextCursor last;
};

QHash<const QTextDocument *, LineBoxBatch> &lineBoxBatches()
{
    static QHash<const QTextDocument *, LineBoxBatch> batches;
    return batches;
}

void refreshLineBoxesNow(QTextDocument &document, int start, int end);

} // namespace

void DocumentConverter::beginLineBoxBatch(QTextDocument &document)
{
    ++lineBoxBatches()[&document].depth;
}

void DocumentConverter::endLineBoxBatch(QTextDocument &document)
{
    const auto it = lineBoxBatches().find(&document);
    if (it == lineBoxBatches().end() || --it->depth > 0)
        return;
    const LineBoxBatch batch = *it;
    lineBoxBatches().erase(it);
    if (!batch.first.isNull())
        refreshLineBoxesNow(document, batch.first.position(), batch.last.position());
}

void DocumentConverter::refreshLineBoxes(QTextDocument &document, int start, int end)
{
    const auto it = lineBoxBatches().find(&document);
    if (it == lineBoxBatches().end()) {
        refreshLineBoxesNow(document, start, end);
        return;
    }
    const int length = document.characterCount() - 1;
    start = qBound(0, start, length);
    end = qBound(0, end, length);
    if (it->first.isNull()) {
        it->first = QTextCursor(&document);
        it->last = QTextCursor(&document);
        it->first.setPosition(start);
        it->last.setPosition(end);
        return;
    }
    if (start < it->first.position())
        it->first.setPosition(start);
    if (end > it->last.position())
        it->last.setPosition(end);
}

namespace {

void refreshLineBoxesNow(QTextDocument &document, int start, int end)
{
    const QTextBlock last = document.findBlock(qMax(start, end - 1));
    for (QTextBlock block = document.findBlock(start); block.isValid(); block = block.next()) {
        int raise = 0;
        int lower = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const int twips = TextFormats::offsetTwips(it.fragment().charFormat());
            raise = qMax(raise, twips);
            lower = qMax(lower, -twips);
        }
        QTextBlockFormat format = block.blockFormat();
        const QTextBlockFormat before = format;
        TextFormats::setLineBoxPadding(format, raise, lower);
        if (format != before)
            QTextCursor(block).setBlockFormat(format);
        if (block == last)
            break;
    }
}

} // namespace
