#include "textfinder.h"

#include "documentconverter.h"
#include "rtf/cp1252.h"

#include <QTextDocument>

#include <array>

namespace {

struct ByteTables
{
    std::array<unsigned char, 256> folded{};
    std::array<bool, 256> word{};

    ByteTables()
    {
        for (int b = 0; b < 256; ++b) {
            const QChar c = Cp1252::toUnicode(uchar(b));
            // Letters and digits make words; the apostrophe separates them, as in "l'eau".
            word[b] = c.isLetterOrNumber();
            const int lower = Cp1252::fromUnicode(c.toLower());
            folded[b] = uchar(lower >= 0 ? lower : b);
        }
    }
};

const ByteTables &tables()
{
    static const ByteTables instance;
    return instance;
}

QByteArray folded(const QByteArray &bytes)
{
    const ByteTables &t = tables();
    QByteArray out(bytes.size(), Qt::Uninitialized);
    const char *in = bytes.constData();
    char *to = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        to[i] = char(t.folded[uchar(in[i])]);
    return out;
}

// `haystack` and `pattern` are `bytes` and the needle, both case-folded unless case matters;
// word boundaries are read from the original bytes.
qsizetype matchPrepared(const QByteArray &bytes, const QByteArray &haystack, const QByteArray &pattern,
                        qsizetype from, qsizetype to, int options)
{
    const qsizetype n = pattern.size();
    from = qMax<qsizetype>(0, from);
    to = qMin(to, bytes.size());
    if (n == 0 || to - from < n)
        return -1;
    const ByteTables &t = tables();
    auto wordAt = [&](qsizetype i) { return i >= 0 && i < bytes.size() && t.word[uchar(bytes.at(i))]; };
    for (qsizetype at = from; at <= to - n;) {
        const qsizetype index = haystack.indexOf(pattern, at);
        if (index < 0 || index > to - n)
            return -1;
        if (!(options & TextFinder::WholeWord) || (!wordAt(index - 1) && !wordAt(index + n)))
            return index;
        at = index + 1;
    }
    return -1;
}

// The first slice is small so that a near match costs little; each next one doubles, up to a
// size whose conversion stays well under a frame.
constexpr int firstSlice = 512;
constexpr int largestSlice = 256 * 1024;

} // namespace

bool TextFinder::isWordCharacter(unsigned char byte)
{
    return tables().word[byte];
}

unsigned char TextFinder::foldCase(unsigned char byte)
{
    return tables().folded[byte];
}

qsizetype TextFinder::match(const QByteArray &bytes, const QByteArray &needle, qsizetype from, qsizetype to,
                            int options)
{
    const bool matchCase = options & MatchCase;
    return matchPrepared(bytes, matchCase ? bytes : folded(bytes), matchCase ? needle : folded(needle), from,
                         to, options);
}

TextRange TextFinder::find(const QTextDocument &document, const QByteArray &text, int start, int end,
                           int options)
{
    const int n = int(text.size());
    if (n == 0 || start >= end || n > end - start)
        return {-1, 0};
    const int length = document.characterCount() - 1;
    int slice = firstSlice;
    for (int from = start; from <= end - n; from += slice, slice = qMin(slice * 2, largestSlice)) {
        // Matches starting in [from, from + slice): read n - 1 more so one may cross the slice's
        // end, and one character either side to tell whether it stands alone as a word.
        const int matchEnd = qMin(end, from + slice + n - 1);
        const int first = qMax(0, from - 1);
        const int last = qMin(length, matchEnd + 1);
        const QByteArray bytes = DocumentConverter::plainText(document, first, last);
        const qsizetype index = match(bytes, text, from - first, matchEnd - first, options);
        if (index >= 0)
            return {first + int(index), n};
    }
    return {-1, 0};
}

QList<TextRange> TextFinder::findAll(const QTextDocument &document, const QByteArray &text, int start,
                                     int end, int options)
{
    QList<TextRange> found;
    const int n = int(text.size());
    if (n == 0 || start >= end || n > end - start)
        return found;
    const int length = document.characterCount() - 1;
    const int first = qMax(0, start - 1);
    const QByteArray bytes = DocumentConverter::plainText(document, first, qMin(length, end + 1));
    const bool matchCase = options & MatchCase;
    const QByteArray haystack = matchCase ? bytes : folded(bytes);
    const QByteArray pattern = matchCase ? text : folded(text);
    for (qsizetype at = start - first;;) {
        const qsizetype index = matchPrepared(bytes, haystack, pattern, at, end - first, options);
        if (index < 0)
            return found;
        found.append({first + int(index), n});
        at = index + n;
    }
}
