#include "quantityscanner.h"

#include <QSet>

using namespace ChemText;

bool QuantityScanner::isUnit(QStringView symbol)
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

// Units and their powers: J.K-1.mol-1, J*K-1*mol-1, cm3, mol//L, m.s^-2. False, and nothing
// added, when the word is anything else.
bool QuantityScanner::scanUnits(int begin, int end)
{
    const qsizetype first = m_scanner.runs.size();
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
    m_scanner.runs.resize(first);
    return false;
}

// A number, with a decimal point or comma and a power of ten (6,02e23, 1.6E-19), and the units
// that follow it after blanks. Returns where reading stopped, 0 when [begin, end) is no number
// or a plain number with nothing to change.
int QuantityScanner::scanQuantity(int begin, int end)
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
    const bool units =
        unitBegin > end && unitEnd > unitBegin && !m_scanner.readsAsFormula(unitBegin, unitEnd);
    if (!units && mantissaEnd == end)
        return 0;
    const qsizetype first = m_scanner.runs.size();
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
    const qsizetype beforeUnits = m_scanner.runs.size();
    add(ChemRun::Baseline, end, unitBegin - end, QString(ChemFormula::kNumberUnitSpace));
    if (scanUnits(unitBegin, unitEnd))
        return unitEnd;
    m_scanner.runs.resize(beforeUnits);
    if (mantissaEnd == end)
        m_scanner.runs.resize(first);
    return mantissaEnd == end ? 0 : end;
}
