#include "chemprose.h"

#include "chemscanner.h"
#include "quantityscanner.h"

using namespace ChemText;

namespace {

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == QChar(0x2019);
}

bool isClosingPunctuation(QChar c)
{
    return QStringView(u".,;:!?\u2026\u00BB").contains(c);
}

} // namespace

bool ChemProse::isProse(const QString &text)
{
    const int length = int(text.size());
    int i = 0;
    while (i < length) {
        while (i < length && text.at(i).isSpace())
            ++i;
        int end = i;
        while (end < length && !text.at(end).isSpace())
            ++end;
        const auto [begin, stop] = formulaPart(text, i, end);
        const QStringView word = QStringView(text).mid(begin, stop - begin);
        int lower = 0;
        bool letters = true;
        for (const QChar c : word) {
            letters = letters && c.isLetter();
            lower += c.isLower() ? 1 : 0;
        }
        if (letters && lower >= 2 && word != u"aq" && !QuantityScanner::isUnit(word))
            return true;
        i = end;
    }
    return false;
}

std::pair<int, int> ChemProse::formulaPart(const QString &text, int begin, int end)
{
    // l'O2, d'H2, qu'H2O: one to three letters and an apostrophe.
    for (int p = begin + 1; p <= begin + 3 && p + 1 < end; ++p) {
        if (isApostrophe(text.at(p))) {
            begin = p + 1;
            break;
        }
        if (!text.at(p - 1).isLetter())
            break;
    }
    const auto count = [&](QChar c) { return int(QStringView(text).mid(begin, end - begin).count(c)); };
    while (end - begin > 1) {
        const QChar last = text.at(end - 1);
        if (isClosingPunctuation(last) || (last == u')' && count(u')') > count(u'(')))
            --end;
        else
            break;
    }
    while (end - begin > 1) {
        const QChar first = text.at(begin);
        if (first == QChar(0xAB) || (first == u'(' && count(u'(') > count(u')')))
            ++begin;
        else
            break;
    }
    return {begin, end};
}

bool ChemProse::isClearlyFormula(const QString &text, int begin, int stop, const QList<ChemRun> &runs,
                                 qsizetype first)
{
    const QStringView read = QStringView(text).mid(begin, stop - begin);
    for (const char16_t mark : u"^_{}\\<>[") {
        if (mark && read.contains(QChar(mark)))
            return true;
    }
    for (qsizetype r = first; r < runs.size(); ++r) {
        if (runs.at(r).kind == ChemRun::Index && runs.at(r).text == u"1")
            return false;
    }
    for (int p = 0; p < read.size(); ++p) {
        if (!isUpper(read.at(p)))
            continue;
        const bool two = p + 1 < read.size() && isLower(read.at(p + 1)) &&
                         ChemFormula::isElement(read.mid(p, 2).toString());
        if (!two && !ChemFormula::isElement(QString(read.at(p))))
            return false;
    }
    return true;
}
