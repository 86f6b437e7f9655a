#pragma once

#include <QChar>
#include <QString>

// Symbol-encoded fonts (Symbol, Wingdings …) give their own meaning to each byte: 0x61 in
// "Symbol" is alpha. The text keeps the byte; the display needs a Unicode character that any
// installed font can draw, because no Linux system has these fonts with their original
// encoding and fontconfig substitutes Unicode fonts for them.
//
// Bytes without a Unicode equivalent map to the private-use code point U+F000 + byte, the
// convention Windows uses for symbol fonts, so every byte survives toUnicode/fromUnicode.
namespace SymbolEncoding {

bool isSymbolFont(const QString &fontName);
QChar toUnicode(const QString &fontName, uchar byte);
// The byte of `fontName` that shows `c`, or -1 when the font has no such character.
int fromUnicode(const QString &fontName, QChar c);

} // namespace SymbolEncoding
