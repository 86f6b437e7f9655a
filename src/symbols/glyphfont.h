#pragma once

#include <QChar>
#include <QFont>
#include <QString>

// The font a palette button or grid cell shows its character in. The character is the Unicode
// meaning of a symbol-font byte, so it must be drawn in a Unicode font that has it: never in a
// font called "Symbol" (on Linux fontconfig answers that name with a Unicode font, or with a
// Symbol-encoded substitute that draws nothing for Unicode code points) nor in any other
// font with a private encoding.
namespace GlyphFont {

// False for fonts whose characters sit at private code points: Symbol, Wingdings and their
// look-alikes (the URW substitutes among them).
bool isUsableForUnicode(const QString &family);
// A font of `pointSize` points that has `c`; the application's font when no installed font
// has it (the character then shows as the font's missing-glyph box, never as a wrong glyph).
QFont forCharacter(QChar c, double pointSize);

} // namespace GlyphFont
