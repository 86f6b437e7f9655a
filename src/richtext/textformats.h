#pragma once

#include "rtf/richdocument.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFormat>

class QTextDocument;

// How the model's attributes live in Qt's text formats. Qt lacks several of them (protection,
// exact offsets in twips, tab stops measured from the text area's edge, symbol-font bytes), so
// those are user properties that are the source of truth; the Qt properties that draw them
// (baseline offset, Qt tab positions, first-line indent) are derived from them here, and
// nowhere else, whenever something they depend on changes.
namespace TextFormats {

enum Property {
    OffsetTwips = QTextFormat::UserProperty + 1, // int, signed twips
    Protected,                                   // bool
    SymbolFont,                                  // bool: the run's characters are font bytes
    SymbolByte,                                  // int 0-255, on each symbol-font character
    SymbolFontName, // string, beside SymbolByte: the document's font; the family draws the glyph
    TabStops,       // block: QList<double>, position px and kind pairs
    FirstLineTwips, // block: first-line indent, also for bullets
    ObjectKey,      // image format: key of the ImageStore entry
    WideCharacter,  // uint: code point beyond 16 bits of a U+FFFC
    EquationText,   // string: the linear text of an equation's U+FFFC
};

constexpr double kTwipsPerPixel = 15.0;
constexpr double kDefaultTabDistancePx = 48.0; // half an inch, the classic word-processor default

// Fonts that documents from Windows name, mapped to metric-compatible free fonts when the
// system lacks them. Call once before text is laid out; later calls do nothing.
void installFontSubstitutions();

// The document defaults every control starts with: Arial 10 pt, 48 px tab distance.
void prepareDocument(QTextDocument &document);

// Character formats.
QTextCharFormat charFormat(const CharStyle &style);
CharStyle charStyle(const QTextCharFormat &format, const QTextDocument &document);
// Re-derives the displayed baseline shift from OffsetTwips and the run's font.
void deriveDisplay(QTextCharFormat &format, const QTextDocument &document);
QString fontFamily(const QTextCharFormat &format, const QTextDocument &document);
double pointSize(const QTextCharFormat &format, const QTextDocument &document);
// Half-point rounding, so that the value in memory is what a save and load gives back.
double roundToHalfPoint(double points);
QRgb colorOf(const QTextCharFormat &format);
bool isProtected(const QTextCharFormat &format);
int offsetTwips(const QTextCharFormat &format);
bool isSymbolFont(const QTextCharFormat &format);

// The contract's character (Windows-1252 byte or symbol byte) for the displayed `c`.
QChar modelChar(QChar c, const QTextCharFormat &format);
// The displayed character and per-character format for a model character of `format`'s run.
QChar displayChar(QChar c, const QTextCharFormat &format);
// The format of one symbol-font character: it keeps the byte and the font's name, and is
// drawn in a family that has the byte's Unicode glyph (SymbolGlyphs).
QTextCharFormat symbolCharFormat(const QTextCharFormat &format, uchar byte);
// `format` without what symbolCharFormat added: for text typed next to a symbol character.
QTextCharFormat withoutSymbolByte(QTextCharFormat format);

// Paragraph formats. Indents and tabs: pixels in Qt, twips in the model.
QTextBlockFormat blockFormat(const ParagraphStyle &style);
ParagraphStyle paragraphStyle(const QTextBlockFormat &format);
QList<TabStop> tabStops(const QTextBlockFormat &format);
void setTabStops(QTextBlockFormat &format, const QList<TabStop> &tabs);
// The control's own view: pixels as set, in the order set (not sorted: a ruler marker dragged
// past its neighbour leaves them out of order until they are rewritten).
struct TabPx
{
    double position = 0;
    TabKind kind = TabKind::Left;
};
QList<TabPx> tabStopsPx(const QTextBlockFormat &format);
void setTabStopsPx(QTextBlockFormat &format, const QList<TabPx> &tabs);
// Qt measures tab positions from the line's start, which includes the left indent (and the
// first-line indent on a paragraph's first line); ours are from the text area's edge.
void deriveDisplay(QTextBlockFormat &format, bool bullet);
// Room above and below a paragraph for its most raised and most lowered characters: Qt does
// not grow a line for shifted text, which would otherwise draw into the neighbouring lines.
void setLineBoxPadding(QTextBlockFormat &format, int raiseTwips, int lowerTwips);
int alignmentCode(Qt::Alignment alignment);
Qt::Alignment qtAlignment(ParagraphAlignment alignment);

} // namespace TextFormats
