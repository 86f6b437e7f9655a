#include "chemformula.h"

#include <QSet>

#include <cmath>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isLower(QChar c)
{
    return c >= u'a' && c <= u'z';
}

bool isSign(QChar c)
{
    return c == u'+' || c == u'-';
}

// Everything a formula word may run into: what the scanner reads past it is left as typed.
struct Scanner
{
    explicit Scanner(const QString &text) : s(text) {}

    const QString &s;
    QList<ChemRun> runs;

    QChar at(int i, int end) const { return i >= 0 && i < end ? s.at(i) : QChar(); }

    void add(ChemRun::Kind kind, int start, int length, const QString &text)
    {
        ChemRun run;
        run.kind = kind;
        run.start = start;
        run.length = length;
        run.text = text;
        runs.append(run);
    }
    void verbatim(int start, int length) { add(ChemRun::Baseline, start, length, s.mid(start, length)); }

    int digitsEnd(int i, int end) const
    {
        while (i < end && isDigit(s.at(i)))
            ++i;
        return i;
    }

    // "->", "<-", "<->", "<=>": the length of the arrow at i, 0 when there is none.
    int arrowLength(int i, int end) const
    {
        const QStringView rest = QStringView(s).mid(i, end - i);
        if (rest.startsWith(u"<=>") || rest.startsWith(u"<->"))
            return 3;
        if (rest.startsWith(u"->") || rest.startsWith(u"<-"))
            return 2;
        return 0;
    }

    int stateLength(int i, int end) const
    {
        const QStringView rest = QStringView(s).mid(i, end - i);
        if (rest.startsWith(u"(aq)"))
            return 4;
        for (const char16_t *state : {u"(s)", u"(l)", u"(g)"}) {
            if (rest.startsWith(state))
                return 3;
        }
        return 0;
    }

    // A sign ending at i is a charge when the formula ends there or only a state follows.
    bool chargeEndsAt(int i, int end) const { return i == end || stateLength(i, end) > 0; }

    // The exponent after '^' at i: a sign, digits, or digits then a sign ("-2", "3+", "+").
    // Returns its length with the '^', 0 when nothing readable follows.
    int exponentLength(int i, int end) const
    {
        int j = i + 1;
        if (j < end && isSign(s.at(j))) {
            j = digitsEnd(j + 1, end);
        } else {
            j = digitsEnd(j, end);
            if (j < end && isSign(s.at(j)))
                ++j;
        }
        return j > i + 1 ? j - i : 0;
    }

    void arrow(int start, int length)
    {
        const QStringView typed = QStringView(s).mid(start, length);
        if (typed == u"<=>") {
            add(ChemRun::ReversibleArrows, start, length, QString());
            return;
        }
        const unsigned char code = typed == u"->"   ? ChemFormula::kArrowRight
                                   : typed == u"<-" ? ChemFormula::kArrowLeft
                                                    : ChemFormula::kArrowBoth;
        add(ChemRun::SymbolCharacter, start, length, QString(QChar(code)));
    }

    int scanChemical(int begin, int end);
    bool scanPowers(int begin, int end);
};

// Reads one word as chemistry; returns where it stopped: `end`, or the first fault.
int Scanner::scanChemical(int begin, int end)
{
    enum Previous { None, Coefficient, Element, Count, Open, Close, Charge, State };
    Previous previous = None;
    bool formulaStart = true;
    qsizetype segmentStart = runs.size(); // first run of the formula being read
    qsizetype baseStart = runs.size();    // first run an ion's base may take
    int atoms = 0;
    bool compound = false; // a bracket or a count already seen in this formula
    QList<int> open;       // positions of the brackets not closed yet

    const auto closeFormula = [&] {
        bool holdsIon = false;
        for (qsizetype r = segmentStart; r < runs.size(); ++r)
            holdsIon = holdsIon || runs.at(r).kind == ChemRun::Ion;
        for (qsizetype r = segmentStart; holdsIon && r < runs.size(); ++r) {
            if (runs.at(r).kind == ChemRun::Baseline)
                runs[r].raised = true;
        }
        segmentStart = baseStart = runs.size();
        atoms = 0;
        compound = false;
        previous = None;
        formulaStart = true;
    };
    // A fault ends the formula where it is: what was read stays, raised if it holds an ion.
    const auto fault = [&](int position) {
        closeFormula();
        return position;
    };
    // The count at [i, countEnd) with the charge `upper` up to chargeEnd, stacked: the base is
    // the baseline text written since the coefficient or the last script.
    const auto stackIon = [&](int i, int countEnd, const QString &upper, int chargeEnd) {
        ChemRun ion;
        ion.kind = ChemRun::Ion;
        ion.start = runs.at(baseStart).start;
        ion.length = chargeEnd - ion.start;
        for (qsizetype r = baseStart; r < runs.size(); ++r)
            ion.text += runs.at(r).text;
        ion.lower = s.mid(i, countEnd - i);
        ion.upper = upper;
        runs.resize(baseStart);
        runs.append(ion);
        baseStart = runs.size();
    };

    int i = begin;
    while (i < end) {
        const QChar c = s.at(i);
        if (const int length = arrowLength(i, end)) {
            if (!open.isEmpty())
                return fault(open.first());
            closeFormula();
            arrow(i, length);
            segmentStart = baseStart = runs.size();
            i += length;
            continue;
        }
        if (formulaStart && isDigit(c)) {
            const int j = digitsEnd(i, end);
            if (at(j, end) == u'^' || at(j, end) == u'.')
                return fault(i); // a number with a power or a decimal: not chemistry
            verbatim(i, j - i);
            baseStart = runs.size();
            previous = Coefficient;
            formulaStart = false;
            i = j;
            continue;
        }
        formulaStart = false;
        const bool afterSpecies = previous == Element || previous == Close;
        if (c == u'(' && previous != None && previous != Coefficient && previous != Open) {
            if (const int length = stateLength(i, end)) {
                verbatim(i, length);
                baseStart = runs.size();
                previous = State;
                i += length;
                continue;
            }
        }
        if (c == u'(' || c == u'[') {
            if (previous == State || previous == Charge)
                return fault(i);
            open.append(i);
            verbatim(i, 1);
            previous = Open;
            compound = true;
            ++i;
            continue;
        }
        if (c == u')' || c == u']') {
            const QChar opening = c == u')' ? u'(' : u'[';
            if (open.isEmpty() || s.at(open.last()) != opening || previous == Open)
                return fault(open.isEmpty() ? i : open.first());
            open.removeLast();
            verbatim(i, 1);
            previous = Close;
            ++i;
            continue;
        }
        if (isUpper(c) && previous != Charge && previous != State) {
            int length = 0;
            if (isLower(at(i + 1, end)) && ChemFormula::isElement(s.mid(i, 2)))
                length = 2;
            else if (ChemFormula::isElement(QString(c)))
                length = 1;
            if (length == 0)
                return fault(i);
            verbatim(i, length);
            previous = Element;
            ++atoms;
            i += length;
            continue;
        }
        if (c == u'e' && (previous == None || previous == Coefficient) &&
            (isSign(at(i + 1, end)) || at(i + 1, end) == u'^')) {
            verbatim(i, 1); // the electron
            previous = Element;
            ++atoms;
            ++i;
            continue;
        }
        if (isDigit(c) && afterSpecies) {
            const int j = digitsEnd(i, end);
            const bool lone = atoms == 1 && !compound && previous == Element;
            if (isSign(at(j, end)) && chargeEndsAt(j + 1, end)) {
                if (lone) // Fe3+, O2-: the digits belong to the charge
                    add(ChemRun::Exponent, i, j + 1 - i, s.mid(i, j + 1 - i));
                else // NH4+
                    stackIon(i, j, s.mid(j, 1), j + 1);
                if (lone)
                    baseStart = runs.size();
                previous = Charge;
                i = j + 1;
                continue;
            }
            if (at(j, end) == u'^') {
                if (const int length = exponentLength(j, end)) { // SO4^2-
                    stackIon(i, j, s.mid(j + 1, length - 1), j + length);
                    previous = Charge;
                    i = j + length;
                    continue;
                }
            }
            add(ChemRun::Index, i, j - i, s.mid(i, j - i));
            baseStart = runs.size();
            compound = true;
            previous = Count;
            i = j;
            continue;
        }
        if (c == u'^' && afterSpecies) {
            const int length = exponentLength(i, end);
            if (length == 0)
                return fault(i);
            add(ChemRun::Exponent, i, length, s.mid(i + 1, length - 1));
            baseStart = runs.size();
            previous = Charge;
            i += length;
            continue;
        }
        if (isSign(c) && afterSpecies && chargeEndsAt(i + 1, end)) {
            add(ChemRun::Exponent, i, 1, QString(c));
            baseStart = runs.size();
            previous = Charge;
            ++i;
            continue;
        }
        const bool formulaDone = previous != None && previous != Coefficient && previous != Open;
        if (c == u'+' && formulaDone && open.isEmpty() && i + 1 < end) {
            closeFormula();
            verbatim(i, 1);
            segmentStart = baseStart = runs.size();
            ++i;
            continue;
        }
        if ((c == u'.' || c == u'*') && formulaDone && open.isEmpty()) {
            const QChar next = at(i + 1, end);
            if (isDigit(next) || isUpper(next) || next == u'(' || next == u'[') {
                closeFormula();
                add(ChemRun::Baseline, i, 1, QString(ChemFormula::kMiddleDot));
                segmentStart = baseStart = runs.size();
                ++i;
                continue;
            }
        }
        return fault(i);
    }
    if (!open.isEmpty())
        return fault(open.first());
    closeFormula();
    return end;
}

// Reads one word as powers of units and numbers (m.s^-2, 10^-14); false when it is not one.
bool Scanner::scanPowers(int begin, int end)
{
    bool piece = false;    // a base is being read
    bool exponent = false; // the piece just got its exponent
    bool powered = false;
    int i = begin;
    while (i < end) {
        const QChar c = s.at(i);
        if (c == u'^') {
            const int length = piece && !exponent ? exponentLength(i, end) : 0;
            if (length == 0)
                return false;
            add(ChemRun::Exponent, i, length, s.mid(i + 1, length - 1));
            exponent = powered = true;
            i += length;
            continue;
        }
        const bool decimal = c == u'.' && isDigit(at(i - 1, end)) && isDigit(at(i + 1, end)) && !exponent;
        if ((c == u'.' || c == u'*') && !decimal) {
            const QChar next = at(i + 1, end);
            if (!piece || next.isNull() || next == u'.' || next == u'*' || next == u'^')
                return false;
            add(ChemRun::Baseline, i, 1, QString(ChemFormula::kMiddleDot));
            piece = exponent = false;
            ++i;
            continue;
        }
        if (exponent)
            return false; // m^2s: nothing may follow an exponent but a dot
        verbatim(i, 1);
        piece = true;
        ++i;
    }
    return powered;
}

// Consecutive runs written as typed make one run. Linear: only the new run is compared.
QList<ChemRun> merged(const QString &text, const QList<ChemRun> &runs)
{
    QList<ChemRun> result;
    bool lastAsTyped = false;
    for (const ChemRun &run : runs) {
        const bool asTyped =
            run.kind == ChemRun::Baseline && QStringView(text).mid(run.start, run.length) == run.text;
        if (asTyped && lastAsTyped && result.last().raised == run.raised) {
            ChemRun &last = result.last();
            last.length += run.length;
            last.text += run.text;
            continue;
        }
        result.append(run);
        lastAsTyped = asTyped;
    }
    return result;
}

} // namespace

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
    Scanner scanner(text);
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
        const qsizetype first = scanner.runs.size();
        int stop = scanner.scanChemical(i, end);
        if (stop < end) {
            // Keep what was read before the fault, whole runs only.
            while (scanner.runs.size() > first &&
                   scanner.runs.last().start + scanner.runs.last().length > stop)
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
                if (scanner.scanPowers(i, end)) {
                    i = end;
                    continue;
                }
                scanner.runs.resize(first);
                scanner.runs.append(chemical);
            }
            scanner.verbatim(stop, end - stop);
        }
        i = end;
    }
    return merged(text, scanner.runs);
}

bool ChemFormula::changesText(const QString &text, const QList<ChemRun> &runs)
{
    for (const ChemRun &run : runs) {
        if (run.kind != ChemRun::Baseline || run.raised || run.text != text.mid(run.start, run.length))
            return true;
    }
    return false;
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
        case ChemRun::SymbolCharacter: {
            // The Symbol font's arrows, shown as the characters they draw.
            const ushort code = run.text.isEmpty() ? 0 : run.text.at(0).unicode();
            out.text = QString(QChar(code == kArrowRight ? 0x2192 : code == kArrowLeft ? 0x2190 : 0x2194));
            out.font = QStringLiteral("Symbol");
            break;
        }
        case ChemRun::Ion:
            out.picture = QStringLiteral("ion");
            out.upper = run.upper;
            out.lower = run.lower;
            break;
        case ChemRun::ReversibleArrows:
            out.text = text.mid(run.start, run.length);
            out.picture = QStringLiteral("arrows");
            break;
        }
        result.append(out);
    }
    return result;
}
