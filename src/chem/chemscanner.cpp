#include "chemscanner.h"

using namespace ChemText;

namespace {

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

} // namespace

bool ChemScanner::readsAsFormula(int begin, int end)
{
    const qsizetype first = runs.size();
    const int stop = scanChemical(begin, end);
    bool changes = false;
    for (qsizetype r = first; r < runs.size(); ++r)
        changes = changes || runs.at(r).kind != ChemRun::Baseline || runs.at(r).raised;
    runs.resize(first);
    return stop == end && changes;
}

int ChemScanner::scanAlone(int begin, int end)
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

int ChemScanner::labelledArrowEnd(int begin, int end) const
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

int ChemScanner::scanChemical(int begin, int end)
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
        if (baseStart >= runs.size()) {
            // Right after an oxidation state (Mn^{VII}4+) there is no base to stack on: the
            // count and the charge go side by side.
            add(ChemRun::Index, i, countEnd - i, s.mid(i, countEnd - i));
            add(ChemRun::Exponent, countEnd, chargeEnd - countEnd, upper);
            baseStart = runs.size();
            return;
        }
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
            const int arrowStart = i;
            i += length;
            // Labels: the first above, the second below, as typed between their brackets.
            QString labels[2];
            for (QString &label : labels) {
                if (at(i, end) != u'[')
                    break;
                const int close = int(s.indexOf(u']', i));
                if (close < 0 || close >= end)
                    return fault(i);
                label = s.mid(i + 1, close - i - 1);
                i = close + 1;
            }
            if (i > arrowStart + length) {
                ChemRun &labelled = runs.last();
                labelled.kind = ChemRun::LabelledArrow;
                labelled.length = i - arrowStart;
                labelled.text = s.mid(arrowStart, length);
                labelled.upper = labels[0];
                labelled.lower = labels[1];
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

bool ChemScanner::scanPowers(int begin, int end)
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
