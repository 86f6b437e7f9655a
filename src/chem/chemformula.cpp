#include "chemformula.h"

#include "chemprose.h"
#include "chemscanner.h"
#include "quantityscanner.h"

#include <QSet>

#include <cmath>

namespace {

// Consecutive runs written as typed make one run, in place: a long text's runs are many, and
// copying them costs more than reading them.
QList<ChemRun> merged(const QString &text, QList<ChemRun> runs)
{
    qsizetype out = 0;
    bool lastAsTyped = false;
    // Text written as typed still points into `text` (ChemScanner::verbatim): copied here, once
    // for each merged run.
    const auto closeGroup = [&] {
        ChemRun &last = runs[out - 1];
        if (lastAsTyped)
            last.text = text.mid(last.start, last.length);
        else if (!last.text.isDetached()) // an ion's base taken from such text
            last.text = QString(last.text.constData(), last.text.size());
    };
    for (qsizetype r = 0; r < runs.size(); ++r) {
        ChemRun &run = runs[r];
        const bool asTyped =
            run.kind == ChemRun::Baseline && QStringView(text).mid(run.start, run.length) == run.text;
        if (asTyped && lastAsTyped && runs.at(out - 1).raised == run.raised) {
            runs[out - 1].length += run.length;
            continue;
        }
        if (out > 0)
            closeGroup();
        if (out != r)
            runs[out] = std::move(run);
        ++out;
        lastAsTyped = asTyped;
    }
    if (out > 0)
        closeGroup();
    runs.resize(out);
    return runs;
}

// A label's text as it reads: {chauffage} is the word chauffage.
QString withoutBraces(const QString &label)
{
    return label.startsWith(u'{') && label.endsWith(u'}') ? label.mid(1, label.size() - 2) : label;
}

// Reads the word [i, end) into the scanner's runs; returns where reading goes on: `end`, or
// further when a quantity took its units or a label its blanks.
int readWord(ChemScanner &scanner, QuantityScanner &quantities, int i, int end, bool prose)
{
    const QString &text = scanner.s;
    if (const int next = scanner.scanAlone(i, end))
        return next;
    if (const int next = quantities.scanQuantity(i, end))
        return next;
    end = scanner.labelledArrowEnd(i, end);
    const qsizetype first = scanner.runs.size();
    int stop = scanner.scanChemical(i, end);
    if (stop < end) {
        // Keep what was read before the fault, whole runs only.
        while (scanner.runs.size() > first && scanner.runs.last().start + scanner.runs.last().length > stop)
            scanner.runs.removeLast();
        if (scanner.runs.size() > first) {
            const ChemRun &last = scanner.runs.last();
            stop = last.start + last.length;
        } else {
            stop = i;
        }
        if (QStringView(text).mid(i, end - i).contains(u'^')) {
            const QList<ChemRun> chemical = scanner.runs.mid(first);
            scanner.runs.resize(first);
            if (scanner.scanPowers(i, end))
                return end;
            scanner.runs.resize(first);
            scanner.runs.append(chemical);
        }
    }
    // In a sentence a word is formatted only when it is clearly a formula, and not cut inside a
    // French word (Co2lle stays as typed, CO2-laser does not).
    if (prose && (!ChemProse::isClearlyFormula(text, i, stop, scanner.runs, first) ||
                  (stop < end && text.at(stop).isLetter()))) {
        scanner.runs.resize(first);
        stop = i;
    }
    if (stop < end)
        scanner.verbatim(stop, end - stop);
    return end;
}

} // namespace

QString ChemFormula::equationText(const QString &typedArrow)
{
    return QStringLiteral("\\ce{") + typedArrow + u'}';
}

bool ChemFormula::isElement(const QString &symbol)
{
    static const QSet<QString> elements = [] {
        const char *const table[] = {
            "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
            "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
            "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
            "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
            "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
            "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
            "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db",
            "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og",
        };
        QSet<QString> set;
        for (const char *element : table)
            set.insert(QString::fromLatin1(element));
        return set;
    }();
    return elements.contains(symbol);
}

QList<ChemRun> ChemFormula::parse(const QString &text)
{
    ChemScanner scanner(text);
    // Runs never outnumber the characters: reserved once, the list never moves while it grows
    // (only the pages it fills are touched).
    scanner.runs.reserve(text.size());
    QuantityScanner quantities(scanner);
    const bool prose = ChemProse::isProse(text);
    const int length = int(text.size());
    int i = 0;
    while (i < length) {
        int end = i;
        while (end < length && text.at(end).isSpace())
            ++end;
        if (end > i) {
            scanner.verbatim(i, end - i);
            i = end;
            continue;
        }
        while (end < length && !text.at(end).isSpace())
            ++end;
        // In a sentence the punctuation and an elided article around a word stay as typed.
        const int wordEnd = end;
        if (prose) {
            const auto [begin, stop] = ChemProse::formulaPart(text, i, end);
            if (begin > i)
                scanner.verbatim(i, begin - i);
            i = begin;
            end = stop;
        }
        const int next = readWord(scanner, quantities, i, end, prose);
        if (next == end && wordEnd > end)
            scanner.verbatim(end, wordEnd - end);
        i = next == end ? wordEnd : next;
    }
    return merged(text, std::move(scanner.runs));
}

bool ChemFormula::changesText(const QString &text, const QList<ChemRun> &runs)
{
    for (const ChemRun &run : runs) {
        if (run.kind != ChemRun::Baseline || run.raised || run.text != text.mid(run.start, run.length))
            return true;
    }
    return false;
}

QChar ChemFormula::symbolCharacter(unsigned char code)
{
    switch (code) {
    case kArrowRight:
        return QChar(0x2192);
    case kArrowLeft:
        return QChar(0x2190);
    case kArrowBoth:
        return QChar(0x2194);
    case kArrowUp:
        return QChar(0x2191);
    case kArrowDown:
        return QChar(0x2193);
    case kFractionSlash:
        return QChar(0x2044);
    default:
        break;
    }
    // The Symbol font puts the Greek alphabet on the Latin letters, in its own order.
    static const char16_t lower[] = u"\u03B1\u03B2\u03C7\u03B4\u03B5\u03C6\u03B3\u03B7\u03B9\u03D5\u03BA"
                                    u"\u03BB\u03BC\u03BD\u03BF\u03C0\u03B8\u03C1\u03C3\u03C4\u03C5\u03D6"
                                    u"\u03C9\u03BE\u03C8\u03B6";
    if (code >= 'a' && code <= 'z')
        return QChar(lower[code - 'a']);
    if (code >= 'A' && code <= 'Z')
        return QChar(lower[code - 'A']).toUpper();
    return QChar(code);
}

int ChemFormula::scriptOffset(ChemRun::Kind kind, double size, const ChemScriptSettings &settings)
{
    if (kind != ChemRun::Index && kind != ChemRun::Exponent)
        return 0;
    const int step = kind == ChemRun::Index ? -settings.indexStep : settings.exponentStep;
    return settings.smallMode ? 10 * step : int(std::lround(step * size));
}

QList<ChemWrittenRun> ChemFormula::written(const QString &text, const QList<ChemRun> &runs, double size,
                                           const ChemScriptSettings &settings)
{
    QList<ChemWrittenRun> result;
    for (const ChemRun &run : runs) {
        ChemWrittenRun out;
        out.text = run.text;
        out.size = size;
        switch (run.kind) {
        case ChemRun::Baseline:
            out.offset = run.raised ? int(std::lround(5 * size)) : 0;
            break;
        case ChemRun::Index:
        case ChemRun::Exponent:
            out.offset = scriptOffset(run.kind, size, settings);
            if (settings.smallMode)
                out.size = kSmallScriptSize;
            break;
        case ChemRun::SymbolCharacter:
            // The Symbol font's characters, shown as the characters they draw.
            out.text =
                run.text.isEmpty() ? QString() : QString(symbolCharacter(uchar(run.text.at(0).unicode())));
            out.font = QStringLiteral("Symbol");
            break;
        case ChemRun::Italic:
            out.italic = true;
            break;
        case ChemRun::Nuclide:
            out.picture = QStringLiteral("nuclide");
            out.upper = run.upper;
            out.lower = run.lower;
            break;
        case ChemRun::Ion:
            out.picture = QStringLiteral("ion");
            out.upper = run.upper;
            out.lower = run.lower;
            break;
        case ChemRun::ReversibleArrows:
            out.text = text.mid(run.start, run.length);
            out.picture = QStringLiteral("arrows");
            break;
        case ChemRun::LabelledArrow:
            out.text = text.mid(run.start, run.length);
            out.picture = QStringLiteral("equation");
            out.equation = equationText(out.text);
            out.upper = withoutBraces(run.upper);
            out.lower = withoutBraces(run.lower);
            break;
        }
        result.append(out);
    }
    return result;
}
