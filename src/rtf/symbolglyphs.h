#pragma once

#include <QString>

// How to show one byte of a symbol-encoded font: its Unicode character, drawn in an installed
// font that really has that glyph. The font named in the document is no use for this on a
// Linux desktop: "Symbol" is either missing (fontconfig answers with a Unicode font that may
// lack the glyph) or answered by a symbol-encoded substitute such as URW's "Standard Symbols
// PS", which draws nothing for U+03BB; and a real Symbol font maps bytes, not Unicode. Where no
// installed font draws the character itself, a look-alike stands in for it on the screen. The
// editor's text, the symbol palettes and the special characters grid all draw through here, so
// that they agree.
struct SymbolGlyph
{
    // One UTF-16 unit: the Unicode character, a look-alike where nothing draws that, or
    // U+F000 + byte when the byte has neither.
    QString text;
    QString family; // a family that draws it; the symbol font itself when none does
};

namespace SymbolGlyphs {

SymbolGlyph glyph(const QString &fontName, uchar byte);
// An installed family, not symbol-encoded, that draws `c`; empty when there is none. The
// answer is remembered per character.
QString familyFor(char32_t c);
// Forgets the remembered answers: call after adding or removing application fonts.
void forgetFonts();

} // namespace SymbolGlyphs
