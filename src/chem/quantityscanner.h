#pragma once

#include "chemscanner.h"

// Quantities: a number, with a decimal comma or point and a power of ten (6,02e23), then the
// units after blanks (8,314 J.K-1.mol-1, 25 cm3, 2 mol//L). Its runs go to the formula
// scanner's list, so that a quantity sits among formulas as one more word.
class QuantityScanner
{
public:
    explicit QuantityScanner(ChemScanner &scanner) : m_scanner(scanner), s(scanner.s) {}

    // Reads the number [begin, end) and the units after it. Returns where reading stopped, 0 when
    // it is no number or a plain number with nothing to change.
    int scanQuantity(int begin, int end);

    // Whether `symbol` is a unit, with or without one SI prefix: m, cm, mol, kJ, °C.
    static bool isUnit(QStringView symbol);

private:
    // Units and their powers; false, and nothing added, when the word is anything else.
    bool scanUnits(int begin, int end);

    void add(ChemRun::Kind kind, int start, int length, const QString &text)
    {
        m_scanner.add(kind, start, length, text);
    }
    void verbatim(int start, int length) { m_scanner.verbatim(start, length); }
    QChar at(int i, int end) const { return m_scanner.at(i, end); }
    int digitsEnd(int i, int end) const { return m_scanner.digitsEnd(i, end); }

    ChemScanner &m_scanner;
    const QString &s;
};
