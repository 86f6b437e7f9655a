#include "textfinder.h"

#include "documentconverter.h"
#include "rtf/cp1252.h"

#include <QTextDocument>

namespace {

// Letters and digits make words; the apostrophe separates them, as in "l'eau".
bool isWordChar(const QByteArray &bytes, qsizetype index)
{
    if (index < 0 || index >= bytes.size())
        return false;
    return Cp1252::toUnicode(uchar(bytes.at(index))).isLetterOrNumber();
}

} // namespace

TextRange TextFinder::find(const QTextDocument &document, const QByteArray &text, int start, int end,
                           int options)
{
    if (text.isEmpty() || start >= end || text.size() > end - start)
        return {-1, 0};
    // One character either side, to tell whether a match stands alone as a word.
    const int length = document.characterCount() - 1;
    const int before = start > 0 ? 1 : 0;
    const int after = end < length ? 1 : 0;
    const QByteArray bytes = DocumentConverter::plainText(document, start - before, end + after);
    const QString haystack = Cp1252::decode(bytes.mid(before, end - start));
    const QString needle = Cp1252::decode(text);
    const Qt::CaseSensitivity sensitivity = (options & MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype from = 0;;) {
        const qsizetype index = haystack.indexOf(needle, from, sensitivity);
        if (index < 0)
            return {-1, 0};
        const qsizetype first = before + index;
        const qsizetype last = first + needle.size() - 1;
        const bool alone = !isWordChar(bytes, first - 1) && !isWordChar(bytes, last + 1);
        if (!(options & WholeWord) || alone)
            return {start + int(index), int(needle.size())};
        from = index + 1;
    }
}
