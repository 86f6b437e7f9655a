#pragma once

#include <QList>
#include <QString>

// Chemical formulas as a chemist types them on a keyboard, read into the runs the editor writes
// them as. No widget and no control here: the command, the tool and the tests share it.
//
// The notation, word by word (words are separated by blanks), after the LaTeX package mhchem:
// - element symbols and brackets followed by a count: H2O, Ca(OH)2, [Fe(CN)6] -> indices; a
//   capital that is no element (A, X, M) stands for any species;
// - a leading number is a stoichiometric coefficient and stays on the baseline (2H2O, 3 O2); a
//   fraction 3/2 is a small fraction, a lone x or n before a formula an italic letter;
// - charges: Fe^3+, Cl-, e-, H3O+ -> exponents; after a lone element, digits followed by a sign
//   are its charge (Fe3+, O2-); in a formula of several atoms a count stays a count, and a
//   charge right after a final count (NH4+, SO4^2-) makes a stacked polyatomic ion;
// - braced scripts: Ca^{2+}, X_{ox}, Mn^{VII}O4- (an oxidation state lets the formula go on),
//   radical dots NO2^{.}, O2^{.-}; an empty {} only separates;
// - Greek letters by name: \alpha, \beta^-, \nu;
// - nuclides ^{238}_{92}U, ^235_92U, ^{13}C -> one stacked picture;
// - '.' or '*' between formulas, alone or not -> the middle dot (CuSO4.5H2O, CaCl2 * 6 H2O);
// - arrows -> (Symbol 174), <- (172), <-> (171); <=>, <=>>, <<=> and <--> are drawn as the
//   reversible arrows; labels ->[above][below] stand above and below the arrow, which grows to
//   the longer one: ->[{chauffage}][{Pt}] (braced: text as typed), <=>[+ H2O] (read as chemistry);
// - v and ^ alone after a formula: precipitate and gas arrows;
// - states (aq), (s), (l), (g) stay on the baseline, or go down when written _{(aq)};
// - a number followed by units: 8,314 J.K-1.mol-1, 25 cm3, 2 mol//L, 6,02e23 mol-1 -> unit
//   powers as exponents, '.' and '*' as middle dots, "//" as '/', a thin no-break space after
//   the number, e23 as a power of ten;
// - a word that is no formula but holds '^' is read as powers of units and numbers:
//   m.s^-2, 10^-14.
// In a sentence (a selection holding French words), only the words that are clearly formulas
// change: punctuation after a word and an elided article before it (l'O2) stay as typed, and a
// word whose capitals are not all elements (A4, CE2) or with a count of 1 (S1) is left alone
// unless it uses the notation's marks (^, _, braces, arrows).
// A word that is neither is left as typed; a formula with a fault (an unknown symbol, an
// unbalanced bracket or brace) is read up to the fault and the rest of the word is left as typed.
// Reading is one pass over the text with no recursion, whatever the nesting.
struct ChemRun
{
    enum Kind {
        Baseline,         // text on the baseline
        Index,            // a count, written as "&Indice" writes it
        Exponent,         // a charge or a power, written as "E&xposant" writes it
        Ion,              // a stacked polyatomic ion: the composer's picture of base/lower/upper
        SymbolCharacter,  // one character of the Symbol font (an arrow); `text` holds its code
        ReversibleArrows, // the drawn arrows of the "Math II" palette
        Italic,           // baseline text in italics: a coefficient written as a letter
        Nuclide,          // mass number over atomic number before the symbol, as one picture
        LabelledArrow,    // an arrow with its labels over and under it, as one equation object
    };

    Kind kind = Baseline;
    int start = 0;  // the span of the typed text the run replaces
    int length = 0; //
    QString text;   // what is written; for Ion, the base; for Nuclide, the symbol; for
                    // LabelledArrow, the arrow as typed ("->", "<=>")
    QString upper;  // Ion: the charge; Nuclide: the mass number; LabelledArrow: the label above,
                    // as typed between its brackets (braces kept)
    QString lower;  // Ion: the count; Nuclide: the atomic number, may be empty; LabelledArrow: the
                    // label below, may be empty
    // Baseline text of a formula that holds an Ion: raised by 5 x its size, as "Aligner sur ion
    // pol&yatomique" raises it, so that the formula reads on one line with the picture.
    bool raised = false;

    bool operator==(const ChemRun &) const = default;
};

// The script state the runs are written with: the steps `udexp` and `udind` and the small mode
// `check2`, as "&Indice" and "E&xposant" read them.
struct ChemScriptSettings
{
    int exponentStep = 8;
    int indexStep = 5;
    bool smallMode = true;
};

// A run as it is written into a text of `size` points: what the tool prints.
struct ChemWrittenRun
{
    QString text;     // the characters; for a picture, the typed text it stands for
    int offset = 0;   // twips, positive raises
    double size = 0;  // points
    QString font;     // empty: the text's own font
    QString picture;  // empty, "ion", "nuclide", "arrows" or "equation"
    QString upper;    // ion: the charge; nuclide: the mass number; equation: the label above
    QString lower;    // ion: the count; nuclide: the atomic number; equation: the label below
    QString equation; // equation: its linear text, \ce{...}
    bool italic = false;
};

namespace ChemFormula {

inline constexpr unsigned char kArrowRight = 174;
inline constexpr unsigned char kArrowLeft = 172;
inline constexpr unsigned char kArrowBoth = 171;
inline constexpr unsigned char kArrowUp = 173;
inline constexpr unsigned char kArrowDown = 175;
inline constexpr unsigned char kFractionSlash = 164;
inline constexpr QChar kMiddleDot = QChar(0xB7);
// Between a number and its unit. The editor's texts are Windows-1252, which has no thin space:
// the command writes the no-break space there instead.
inline constexpr QChar kNumberUnitSpace = QChar(0x202F);

// The character the Symbol font draws for `code`: its arrows, fraction slash and Greek letters.
QChar symbolCharacter(unsigned char code);

// The runs of `text`, in order, covering it without gap: run i starts where run i-1 ends.
QList<ChemRun> parse(const QString &text);

// Whether writing the runs changes anything: false for plain words and lone numbers.
bool changesText(const QString &text, const QList<ChemRun> &runs);

// The size the small mode gives indices and exponents, in points.
inline constexpr double kSmallScriptSize = 8;
// The offset in twips "&Indice" (Index) or "E&xposant" (Exponent) gives text of `size` points: in
// small mode +10 x exponentStep or -10 x indexStep, else +exponentStep x size or -indexStep x size,
// rounded; 0 for any other kind. The format library's ScriptFormat::scriptOffset, which the
// editor's buttons use, sits above this library and must give the same numbers.
int scriptOffset(ChemRun::Kind kind, double size, const ChemScriptSettings &settings);

// The runs with the offsets and sizes "&Indice" and "E&xposant" would give them in a text of
// `size` points; baseline text of a formula holding an ion is raised by 5 x size twips.
QList<ChemWrittenRun> written(const QString &text, const QList<ChemRun> &runs, double size,
                              const ChemScriptSettings &settings);

// The linear text of the equation object a labelled arrow is written as: the typed arrow and
// labels inside \ce{}, which the equation reader turns back into the arrow.
QString equationText(const QString &typedArrow);

// Whether `symbol` is the symbol of a chemical element ("Fe", "O"; not "Bo").
bool isElement(const QString &symbol);

} // namespace ChemFormula
