#pragma once

#include <QList>
#include <QString>

// A word of a paragraph to hand to the engine.
struct ScannedWord
{
    int start = 0; // offset in the paragraph's text
    int length = 0;
    QString word; // as the text writes it
    bool operator==(const ScannedWord &) const = default;
};

// Which words of a paragraph are checked. Science texts are full of things that are no words of
// the language, and underlining them would drown the real mistakes:
// - characters that are no ordinary writing (`plain` false: symbol fonts, exponents, indices,
//   objects): a word holding one is left alone whole, "x" + raised "ème" as "αβγ";
// - words holding a digit (H2O, 3e), words wholly in capitals (ADN), chemical formulas (NaCl,
//   Fe^3+, anything the formula notation writes differently), units (mol, m.s, g/L);
// - web and mail addresses.
// Apostrophes (' and ’) and hyphens inside a word keep it whole: "l'eau", "c'est-à-dire" are
// one word each, since the French dictionary knows elision and compounds.
namespace WordScanner {

// `plain` holds one flag a character of `text`; missing flags count as plain.
QList<ScannedWord> words(const QString &text, const QList<bool> &plain);

bool isAddress(const QString &chunk);
bool isUnitExpression(const QString &chunk);
bool isChemicalFormula(const QString &chunk);

// The word as the engine and the word lists see it: the typographic apostrophe as '.
QString normalized(const QString &word);

} // namespace WordScanner
