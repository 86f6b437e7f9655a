#include "wordscanner.h"

#include "chem/chemformula.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

constexpr QChar kApostrophe = QChar(0x2019);
constexpr QChar kModifierApostrophe = QChar(0x02BC);
// Longer than any word of the language: a run of letters this long is no word to check, and
// Hunspell refuses such words anyway.
constexpr int kLongestWord = 100;

bool isJoiner(QChar c)
{
    return c == QLatin1Char('\'') || c == kApostrophe || c == kModifierApostrophe || c == QLatin1Char('-') ||
           c == QChar(0x2010) || c == QChar(0x2011);
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

bool isSeparator(QChar c)
{
    return c.isSpace() || c == QChar::ObjectReplacementCharacter || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

// Punctuation around a chunk that belongs to the sentence, not to an address or a unit.
bool isOuterPunctuation(QChar c)
{
    static const QString marks = QStringLiteral(".,;:!?()[]{}\"«»“”‘’'…");
    return marks.contains(c);
}

const QSet<QString> &unitSymbols()
{
    static const QSet<QString> units = {
        QStringLiteral("m"),   QStringLiteral("s"),   QStringLiteral("g"),    QStringLiteral("L"),
        QStringLiteral("l"),   QStringLiteral("K"),   QStringLiteral("A"),    QStringLiteral("N"),
        QStringLiteral("J"),   QStringLiteral("W"),   QStringLiteral("V"),    QStringLiteral("C"),
        QStringLiteral("F"),   QStringLiteral("H"),   QStringLiteral("T"),    QStringLiteral("h"),
        QStringLiteral("t"),   QStringLiteral("M"),   QStringLiteral("Ω"),    QStringLiteral("°C"),
        QStringLiteral("min"), QStringLiteral("mol"), QStringLiteral("mmol"), QStringLiteral("µmol"),
        QStringLiteral("kg"),  QStringLiteral("mg"),  QStringLiteral("µg"),   QStringLiteral("mL"),
        QStringLiteral("cL"),  QStringLiteral("dL"),  QStringLiteral("µL"),   QStringLiteral("cm"),
        QStringLiteral("mm"),  QStringLiteral("km"),  QStringLiteral("µm"),   QStringLiteral("nm"),
        QStringLiteral("pm"),  QStringLiteral("dm"),  QStringLiteral("Pa"),   QStringLiteral("hPa"),
        QStringLiteral("kPa"), QStringLiteral("MPa"), QStringLiteral("bar"),  QStringLiteral("atm"),
        QStringLiteral("Hz"),  QStringLiteral("kHz"), QStringLiteral("MHz"),  QStringLiteral("GHz"),
        QStringLiteral("kJ"),  QStringLiteral("MJ"),  QStringLiteral("kW"),   QStringLiteral("MW"),
        QStringLiteral("kWh"), QStringLiteral("mV"),  QStringLiteral("kV"),   QStringLiteral("mA"),
        QStringLiteral("µA"),  QStringLiteral("eV"),  QStringLiteral("keV"),  QStringLiteral("MeV"),
        QStringLiteral("Wb"),  QStringLiteral("lx"),  QStringLiteral("lm"),   QStringLiteral("cd"),
        QStringLiteral("Bq"),  QStringLiteral("Gy"),  QStringLiteral("Sv"),   QStringLiteral("mSv"),
        QStringLiteral("kΩ"),  QStringLiteral("MΩ"),  QStringLiteral("µF"),   QStringLiteral("nF"),
        QStringLiteral("pF"),  QStringLiteral("mH"),  QStringLiteral("ms"),   QStringLiteral("µs"),
        QStringLiteral("ns"),  QStringLiteral("cal"), QStringLiteral("kcal"), QStringLiteral("mmHg"),
        QStringLiteral("rad"), QStringLiteral("sr"),  QStringLiteral("ha"),   QStringLiteral("mM"),
    };
    return units;
}

QString trimmedOfPunctuation(const QString &chunk)
{
    int from = 0;
    int to = int(chunk.size());
    while (from < to && isOuterPunctuation(chunk.at(from)))
        ++from;
    while (to > from && isOuterPunctuation(chunk.at(to - 1)))
        --to;
    return chunk.mid(from, to - from);
}

bool skipsWord(const QString &text, const QList<bool> &plain, int start, int end)
{
    bool lower = false;
    for (int i = start; i < end; ++i) {
        const QChar c = text.at(i);
        if (i < plain.size() && !plain.at(i))
            return true;
        if (c.isDigit())
            return true;
        lower = lower || c.isLower();
    }
    return !lower || end - start > kLongestWord; // wholly in capitals, or no word at all
}

} // namespace

namespace WordScanner {

QString normalized(const QString &word)
{
    QString result = word;
    result.replace(kApostrophe, QLatin1Char('\'')).replace(kModifierApostrophe, QLatin1Char('\''));
    return result;
}

bool isAddress(const QString &chunk)
{
    static const QRegularExpression web(QStringLiteral(R"(^(?:(?:https?|ftp)://|www\.|mailto:)\S+$)"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression mail(QStringLiteral(R"(^[^@\s]+@[^@\s]+\.[^@\s]+$)"));
    static const QRegularExpression domain(
        QStringLiteral(R"(^[\w-]+(?:\.[\w-]+)*\.(?:fr|com|org|net|eu|be|ch|ca|lu|info|edu|gouv)(?:/\S*)?$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    // Most chunks are words: the expressions run only on what could be an address.
    if (!chunk.contains(QLatin1Char('.')) && !chunk.contains(QLatin1Char('@')) &&
        !chunk.contains(QLatin1Char(':')))
        return false;
    const QString core = trimmedOfPunctuation(chunk);
    return web.match(core).hasMatch() || mail.match(core).hasMatch() || domain.match(core).hasMatch();
}

bool isUnitExpression(const QString &chunk)
{
    static const QRegularExpression piece(QStringLiteral(R"(^(\D+?)(?:\^?[-+−]?[0-9]+|[⁻¹²³⁴]+)?$)"));
    static const QRegularExpression separators(QStringLiteral("[./·*×]"));
    const QString core = trimmedOfPunctuation(chunk);
    if (core.isEmpty() || core.size() > 40)
        return false;
    static const QString separatorCharacters = QStringLiteral("./·*×");
    const bool separated =
        std::any_of(core.cbegin(), core.cend(), [](QChar c) { return separatorCharacters.contains(c); });
    if (!separated && !unitSymbols().contains(core))
        return false;
    const QStringList pieces = core.split(separators);
    for (const QString &part : pieces) {
        const QRegularExpressionMatch match = piece.match(part);
        if (!match.hasMatch() || !unitSymbols().contains(match.captured(1)))
            return false;
    }
    // A lone symbol of one letter or a plain word ("min", "bar") is a word like any other.
    return pieces.size() > 1 || core.size() > 1;
}

bool isChemicalFormula(const QString &chunk)
{
    static const QRegularExpression symbols(QStringLiteral("^(?:[A-Z][a-z]?)+$"));
    static const QRegularExpression symbol(QStringLiteral("[A-Z][a-z]?"));
    const QString core = trimmedOfPunctuation(chunk);
    if (core.isEmpty() || core.size() > 200)
        return false;
    const bool digitOrSign = std::any_of(core.cbegin(), core.cend(), [](QChar c) {
        return c.isDigit() || c == QLatin1Char('^') || c == QLatin1Char('+');
    });
    if (!core.at(0).isUpper() && !digitOrSign && !core.endsWith(QLatin1Char('-')))
        return false;
    if (symbols.match(core).hasMatch()) {
        // NaCl, KMnO, a lone Fe: element symbols one after the other.
        for (auto it = symbol.globalMatch(core); it.hasNext();)
            if (!ChemFormula::isElement(it.next().captured()))
                return false;
        return core.size() > 1;
    }
    // Counts, charges, powers: the notation writes the chunk differently from how it is typed.
    static const QRegularExpression notation(QStringLiteral("[0-9^+]|-$|[A-Z].*[A-Z]"));
    return notation.match(core).hasMatch() && ChemFormula::changesText(core, ChemFormula::parse(core));
}

QList<ScannedWord> words(const QString &text, const QList<bool> &plain)
{
    QList<ScannedWord> found;
    const int n = int(text.size());
    int chunkStart = 0;
    while (chunkStart < n) {
        while (chunkStart < n && isSeparator(text.at(chunkStart)))
            ++chunkStart;
        int chunkEnd = chunkStart;
        while (chunkEnd < n && !isSeparator(text.at(chunkEnd)))
            ++chunkEnd;
        if (chunkEnd == chunkStart)
            break;
        const QString chunk = text.mid(chunkStart, chunkEnd - chunkStart);
        if (!isAddress(chunk) && !isUnitExpression(chunk) && !isChemicalFormula(chunk)) {
            for (int i = chunkStart; i < chunkEnd;) {
                if (!isWordCharacter(text.at(i))) {
                    ++i;
                    continue;
                }
                int end = i + 1;
                // A joiner stays inside the word when a letter follows it.
                while (end < chunkEnd &&
                       (isWordCharacter(text.at(end)) ||
                        (isJoiner(text.at(end)) && end + 1 < chunkEnd && isWordCharacter(text.at(end + 1)))))
                    ++end;
                if (!skipsWord(text, plain, i, end) && !unitSymbols().contains(text.mid(i, end - i)))
                    found.append({i, end - i, text.mid(i, end - i)});
                i = end;
            }
        }
        chunkStart = chunkEnd;
    }
    return found;
}

} // namespace WordScanner
