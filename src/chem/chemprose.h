#pragma once

#include "chemformula.h"

#include <QList>
#include <QString>

// Formulas inside French sentences: "L'eau H2O et le dioxyde de carbone CO2 se forment." The
// reader goes word by word; in a sentence it keeps to the words that are clearly formulas and
// leaves the French around them as typed.
namespace ChemProse {

// Whether `text` holds a French word: letters only, at least two of them lower case, and no unit
// symbol (mol, min) nor state (aq). Formulas, quantities and reactions alone are no sentence.
bool isProse(const QString &text);

// The part of the word [begin, end) a formula may take in a sentence: without an elided article
// before it (l'O2, d'H2) nor the punctuation after it (CO2, Fe3+. Cu!), nor an unmatched bracket
// around it ((voir H2O) -> H2O). Returns {begin, end} of that part, never empty unless the word is.
std::pair<int, int> formulaPart(const QString &text, int begin, int end);

// Whether the runs read from [begin, stop) are clearly a formula and not a French word, an
// abbreviation or a reference (A4, CE2, S1): every capital is an element, and no count is 1,
// unless the notation's marks (^ _ { } \ < > [) say it is chemistry.
// `runs` from index `first` are those read from the word.
bool isClearlyFormula(const QString &text, int begin, int stop, const QList<ChemRun> &runs, qsizetype first);

} // namespace ChemProse
