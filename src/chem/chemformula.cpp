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

// Roman numerals only: an oxidation state, as in Mn^{VII}.
bool isOxidationState(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c != u'I' && c != u'V' && c != u'X')
            return false;
    }
    return true;
}

// A radical's dot, typed '.', is the middle dot raised as an exponent: O2^{.-}.
QString radicalDots(QString charge)
{
    return charge.replace(u'.', ChemFormula::kMiddleDot);
}

// The Symbol font's letter for a Greek letter's name, a null character for any other name.
QChar greekLetter(QStringView name)
{
    static const std::pair<const char16_t *, char16_t> letters[] = {
        {u"alpha", u'a'},  {u"beta", u'b'},   {u"gamma", u'g'}, {u"delta", u'd'},   {u"epsilon", u'e'},
        {u"zeta", u'z'},   {u"eta", u'h'},    {u"theta", u'q'}, {u"iota", u'i'},    {u"kappa", u'k'},
        {u"lambda", u'l'}, {u"mu", u'm'},     {u"nu", u'n'},    {u"xi", u'x'},      {u"pi", u'p'},
        {u"rho", u'r'},    {u"sigma", u's'},  {u"tau", u't'},   {u"upsilon", u'u'}, {u"phi", u'f'},
        {u"chi", u'c'},    {u"psi", u'y'},    {u"omega", u'w'}, {u"Gamma", u'G'},   {u"Delta", u'D'},
        {u"Theta", u'Q'},  {u"Lambda", u'L'}, {u"Xi", u'X'},    {u"Pi", u'P'},      {u"Sigma", u'S'},
        {u"Phi", u'F'},    {u"Psi", u'Y'},    {u"Omega", u'W'},
    };
    for (const auto &[typed, letter] : letters) {
        if (name == QStringView(typed))
            return QChar(letter);
    }
    return QChar();
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

    // The length of the arrow at i, 0 when there is none; the longest arrow wins, so that
    // "<-->" is not read as "<-" followed by "->".
    int arrowLength(int i, int end) const
    {
        const QStringView rest = QStringView(s).mid(i, end - i);
        for (const char16_t *arrow : {u"<=>>", u"<<=>", u"<-->", u"<=>", u"<->", u"->", u"<-"}) {
            if (rest.startsWith(arrow))
                return int(std::char_traits<char16_t>::length(arrow));
        }
        return 0;
    }

    // A script after '^' or '_' at i: "{...}" without nested braces, or unbraced as typed
    // before. Its length with the mark, 0 when nothing readable follows.
    struct Script
    {
        int length = 0;
        QString text;
    };
    Script script(int i, int end) const
    {
        if (at(i + 1, end) == u'{') {
            for (int j = i + 2; j < end; ++j) {
                if (s.at(j) == u'{')
                    return {};
                if (s.at(j) == u'}')
                    return {j + 1 - i, s.mid(i + 2, j - i - 2)};
            }
            return {};
        }
        if (s.at(i) == u'^') {
            const int length = exponentLength(i, end);
            return {length, s.mid(i + 1, length - 1)};
        }
        int j = i + 1;
        if (const int state = stateLength(j, end))
            return {1 + state, s.mid(j, state)};
        if (j < end && s.at(j) == u'-')
            ++j;
        j = digitsEnd(j, end);
        return j > i + 1 && isDigit(s.at(j - 1)) ? Script{j - i, s.mid(i + 1, j - i - 1)} : Script{};
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
    bool chargeEndsAt(int i, int end) const
    {
        return i == end || stateLength(i, end) > 0 || s.at(i) == u'_' || s.at(i) == u'{';
    }

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
        // ⇌, its unbalanced forms and ⇄ have no character in the text's code page nor in the
        // Symbol font: they are drawn, as the reversible arrows of "Math II".
        if (typed.startsWith(u"<=") || typed.startsWith(u"<<") || typed == u"<-->") {
            add(ChemRun::ReversibleArrows, start, length, QString());
            return;
        }
        const unsigned char code = typed == u"->"   ? ChemFormula::kArrowRight
                                   : typed == u"<-" ? ChemFormula::kArrowLeft
                                                    : ChemFormula::kArrowBoth;
        add(ChemRun::SymbolCharacter, start, length, QString(QChar(code)));
    }

    // A nuclide at i, "^{238}_{92}U", "^235_92U", "^{13}C", "^{0}_{-1}e": adds its run and
    // returns its length, 0 when there is none.
    int nuclideLength(int i, int end)
    {
        const Script mass = script(i, end);
        if (mass.length == 0 || mass.text.isEmpty())
            return 0;
        for (const QChar d : mass.text) {
            if (!isDigit(d))
                return 0;
        }
        int j = i + mass.length;
        QString number;
        if (at(j, end) == u'_') {
            const Script atomic = script(j, end);
            if (atomic.length == 0)
                return 0;
            number = atomic.text;
            j += atomic.length;
        }
        int length = 0;
        if (isUpper(at(j, end)))
            length = isLower(at(j + 1, end)) && ChemFormula::isElement(s.mid(j, 2)) ? 2 : 1;
        else if (at(j, end) == u'e' || at(j, end) == u'n' || at(j, end) == u'p')
            length = 1; // the electron, the neutron, the proton
        if (length == 0 || (length == 1 && isLower(at(j + 1, end))))
            return 0;
        ChemRun nuclide;
        nuclide.kind = ChemRun::Nuclide;
        nuclide.start = i;
        nuclide.length = j + length - i;
        nuclide.text = s.mid(j, length);
        nuclide.upper = mass.text;
        nuclide.lower = number;
        runs.append(nuclide);
        return nuclide.length;
    }

    int scanChemical(int begin, int end);
    bool scanPowers(int begin, int end);
    bool readsAsFormula(int begin, int end);
    bool scanUnits(int begin, int end);
    int scanQuantity(int begin, int end);
    int scanAlone(int begin, int end);
    int labelledArrowEnd(int begin, int end) const;
};

bool isUnit(QStringView symbol)
{
    static const QSet<QString> units = {
        "m",  "g",  "s",  "A",  "K",   "mol", "cd",  "L", "l",  "J",      "W",       "N",      "Pa", "bar",
        "V",  "C",  "Hz", "h",  "min", "eV",  "atm", "M", "Da", "T",      "F",       "S",      "Wb", "H",
        "Gy", "Sv", "Bq", "lx", "lm",  "rad", "sr",  "t", "u",  "\u03A9", "\u00B0C", "\u00B0", "%"};
    if (units.contains(symbol.toString()))
        return true;
    // One SI prefix before a unit: km, cm3, mmol, \u00b5g, kJ, MPa.
    static const QString prefixes = QStringLiteral("kcmn\u00B5\u03BCupdhMGT");
    return symbol.size() > 1 && prefixes.contains(symbol.front()) && units.contains(symbol.mid(1).toString());
}

// Whether [begin, end) reads whole as a formula that writing would change (3 O2, not 25 K).
bool Scanner::readsAsFormula(int begin, int end)
{
    const qsizetype first = runs.size();
    const int stop = scanChemical(begin, end);
    bool changes = false;
    for (qsizetype r = first; r < runs.size(); ++r)
        changes = changes || runs.at(r).kind != ChemRun::Baseline || runs.at(r).raised;
    runs.resize(first);
    return stop == end && changes;
}

// Units and their powers: J.K-1.mol-1, J*K-1*mol-1, cm3, mol//L, m.s^-2. False, and nothing
// added, when the word is anything else.
bool Scanner::scanUnits(int begin, int end)
{
    const qsizetype first = runs.size();
    int i = begin;
    while (i < end) {
        int j = i;
        while (j < end && (s.at(j).isLetter() || s.at(j) == QChar(0xB0) || s.at(j) == u'%'))
            ++j;
        if (j == i || !isUnit(QStringView(s).mid(i, j - i)))
            break;
        verbatim(i, j - i);
        const int power = at(j, end) == u'^' ? j + 1 : j;
        const int digits = at(power, end) == u'-' ? power + 1 : power;
        const int powerEnd = digitsEnd(digits, end);
        if (powerEnd > digits)
            add(ChemRun::Exponent, j, powerEnd - j, s.mid(power, powerEnd - power));
        else if (power > j)
            break; // a '^' with no power after it
        i = powerEnd > digits ? powerEnd : j;
        if (i == end)
            return true;
        if (s.at(i) == u'.' || s.at(i) == u'*') {
            add(ChemRun::Baseline, i, 1, QString(ChemFormula::kMiddleDot));
            ++i;
        } else if (QStringView(s).mid(i, end - i).startsWith(u"//")) {
            add(ChemRun::Baseline, i, 2, QStringLiteral("/"));
            i += 2;
        } else if (s.at(i) == u'/') {
            verbatim(i, 1);
            ++i;
        } else {
            break;
        }
    }
    runs.resize(first);
    return false;
}

// A number, with a decimal point or comma and a power of ten (6,02e23, 1.6E-19), and the units
// that follow it after blanks. Returns where reading stopped, 0 when [begin, end) is no number
// or a plain number with nothing to change.
int Scanner::scanQuantity(int begin, int end)
{
    int i = digitsEnd(begin, end);
    if (i == begin)
        return 0;
    if ((at(i, end) == u'.' || at(i, end) == u',') && isDigit(at(i + 1, end)))
        i = digitsEnd(i + 1, end);
    const int mantissaEnd = i;
    int powerStart = i;
    if (at(i, end) == u'e' || at(i, end) == u'E') {
        powerStart = i + 1;
        if (at(powerStart, end) == u'+' || at(powerStart, end) == u'-')
            ++powerStart;
        i = digitsEnd(powerStart, end);
        if (i == powerStart)
            return 0;
    }
    if (i != end)
        return 0;
    int unitBegin = end;
    while (unitBegin < s.size() && s.at(unitBegin).isSpace() && s.at(unitBegin) != u'\n')
        ++unitBegin;
    int unitEnd = unitBegin;
    while (unitEnd < s.size() && !s.at(unitEnd).isSpace())
        ++unitEnd;
    const bool units = unitBegin > end && unitEnd > unitBegin && !readsAsFormula(unitBegin, unitEnd);
    if (!units && mantissaEnd == end)
        return 0;
    const qsizetype first = runs.size();
    verbatim(begin, mantissaEnd - begin);
    if (mantissaEnd < end) {
        // e as in the calculators: the middle dot; E, the times sign, as the French school writes
        // it on the board.
        const QChar times = s.at(mantissaEnd) == u'e' ? ChemFormula::kMiddleDot : QChar(0xD7);
        add(ChemRun::Baseline, mantissaEnd, 1, QString(times) + QStringLiteral("10"));
        QString power = s.mid(mantissaEnd + 1, end - mantissaEnd - 1);
        if (power.startsWith(u'+'))
            power.remove(0, 1);
        add(ChemRun::Exponent, mantissaEnd + 1, end - mantissaEnd - 1, power);
    }
    if (!units)
        return end;
    const qsizetype beforeUnits = runs.size();
    add(ChemRun::Baseline, end, unitBegin - end, QString(ChemFormula::kNumberUnitSpace));
    if (scanUnits(unitBegin, unitEnd))
        return unitEnd;
    runs.resize(beforeUnits);
    if (mantissaEnd == end)
        runs.resize(first);
    return mantissaEnd == end ? 0 : end;
}

// Words that mean something only between formulas: v and ^ after one (precipitate, gas), '*' or
// '.' between two (an addition compound), x or n before one (an unknown coefficient). Returns
// where reading goes on, 0 when the word is none of them.
int Scanner::scanAlone(int begin, int end)
{
    if (end != begin + 1)
        return 0;
    const QChar c = s.at(begin);
    const bool wordBefore = !QStringView(s).left(begin).trimmed().isEmpty();
    int next = end;
    while (next < s.size() && s.at(next).isSpace())
        ++next;
    const bool wordAfter = next > end && next < s.size();
    if ((c == u'v' || c == u'^') && wordBefore && (end == s.size() || s.at(end).isSpace())) {
        const uchar arrow = c == u'v' ? ChemFormula::kArrowDown : ChemFormula::kArrowUp;
        add(ChemRun::SymbolCharacter, begin, 1, QString(QChar(arrow)));
        return end;
    }
    if ((c == u'*' || c == u'.') && wordBefore && wordAfter && runs.last().text.trimmed().isEmpty()) {
        // CaCl2 * 6 H2O: one middle dot, the blanks around it taken with the star.
        const int start = runs.last().start;
        runs.removeLast();
        add(ChemRun::Baseline, start, next - start, QString(ChemFormula::kMiddleDot));
        return next;
    }
    if ((c == u'x' || c == u'n') && wordAfter && (isUpper(s.at(next)) || s.at(next) == u'\\')) {
        add(ChemRun::Italic, begin, 1, QString(c));
        return end;
    }
    return 0;
}

// A label may hold blanks (<=>[+ H2O]): the word then runs to the bracket that closes it.
int Scanner::labelledArrowEnd(int begin, int end) const
{
    int p = begin;
    while (p < end) {
        if (s.at(p) == u'[' && p > begin && (s.at(p - 1) == u'>' || s.at(p - 1) == u']')) {
            const int close = int(s.indexOf(u']', p));
            if (close < 0)
                return end; // read as a fault, and left as typed
            while (end <= close || (end < s.size() && !s.at(end).isSpace()))
                ++end;
            p = close + 1;
            continue;
        }
        ++p;
    }
    return end;
}

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
            i += length;
            // Labels: the first above, the second below; a label is text, its braces dropped.
            for (ChemRun::Kind kind : {ChemRun::Exponent, ChemRun::Index}) {
                if (at(i, end) != u'[')
                    break;
                const int close = int(s.indexOf(u']', i));
                if (close < 0 || close >= end)
                    return fault(i);
                QString label = s.mid(i + 1, close - i - 1);
                if (label.startsWith(u'{') && label.endsWith(u'}'))
                    label = label.mid(1, label.size() - 2);
                add(kind, i, close + 1 - i, label);
                i = close + 1;
            }
            segmentStart = baseStart = runs.size();
            continue;
        }
        if (c == u'{' && at(i + 1, end) == u'}') { // {} only separates
            add(ChemRun::Baseline, i, 2, QString());
            i += 2;
            continue;
        }
        if (c == u'^' && (previous == None || previous == Coefficient)) {
            if (const int length = nuclideLength(i, end)) {
                formulaStart = false;
                previous = Element;
                ++atoms;
                i += length;
                continue;
            }
            return fault(i);
        }
        if (formulaStart && isDigit(c)) {
            const int j = digitsEnd(i, end);
            if (at(j, end) == u'^' || at(j, end) == u'.')
                return fault(i); // a number with a power or a decimal: not chemistry
            const int denominator = at(j, end) == u'/' ? digitsEnd(j + 1, end) : j;
            if (denominator > j + 1) { // 3/2 O2: a small fraction
                add(ChemRun::Exponent, i, j - i, s.mid(i, j - i));
                add(ChemRun::SymbolCharacter, j, 1, QString(QChar(ChemFormula::kFractionSlash)));
                add(ChemRun::Index, j + 1, denominator - j - 1, s.mid(j + 1, denominator - j - 1));
                baseStart = runs.size();
                previous = Coefficient;
                formulaStart = false;
                i = denominator;
                continue;
            }
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
            else if (ChemFormula::isElement(QString(c)) || !isLower(at(i + 1, end)))
                length = 1; // an element, or a capital standing for any species (X, M)
            if (length == 0)
                return fault(i);
            verbatim(i, length);
            previous = Element;
            ++atoms;
            i += length;
            continue;
        }
        if (c == u'\\' && previous != Charge && previous != State) {
            int j = i + 1;
            while (j < end && (isLower(s.at(j)) || isUpper(s.at(j))))
                ++j;
            const QChar letter = greekLetter(QStringView(s).mid(i + 1, j - i - 1));
            if (letter.isNull())
                return fault(i);
            add(ChemRun::SymbolCharacter, i, j - i, QString(letter));
            previous = Element;
            ++atoms;
            i = j;
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
                const Script charge = script(j, end);
                if (charge.length > 0 && !isOxidationState(charge.text)) { // SO4^2-, SO4^{2-}
                    stackIon(i, j, radicalDots(charge.text), j + charge.length);
                    previous = Charge;
                    i = j + charge.length;
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
        if (c == u'^' && (afterSpecies || previous == Count)) {
            const Script charge = script(i, end);
            if (charge.length == 0)
                return fault(i);
            add(ChemRun::Exponent, i, charge.length, radicalDots(charge.text));
            baseStart = runs.size();
            // Mn^{VII}O4-: the oxidation state belongs to the atom, the formula goes on.
            previous = isOxidationState(charge.text) ? Element : Charge;
            i += charge.length;
            continue;
        }
        if (c == u'_' && (afterSpecies || previous == Charge || previous == Count)) {
            const Script index = script(i, end);
            if (index.length == 0)
                return fault(i);
            add(ChemRun::Index, i, index.length, index.text);
            baseStart = runs.size();
            const bool state = QStringList{"(aq)", "(s)", "(l)", "(g)"}.contains(index.text);
            previous = state ? State : previous == Charge ? Charge : Count;
            compound = true;
            i += index.length;
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
        if (const int next = scanner.scanAlone(i, end)) {
            i = next;
            continue;
        }
        if (const int next = scanner.scanQuantity(i, end)) {
            i = next;
            continue;
        }
        end = scanner.labelledArrowEnd(i, end);
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
        }
        result.append(out);
    }
    return result;
}
