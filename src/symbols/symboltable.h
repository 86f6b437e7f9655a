#pragma once

#include <QChar>
#include <QList>
#include <QString>

// One button of the symbol palettes: the byte it types and the font it types it in.
struct SymbolButton
{
    int index = 0;  // in the `Command1` array
    int tab = 0;    // 0 "Grec", 1 "Math I", 2 "Math II"
    int row = 0;    // 0 to 8, top to bottom
    int column = 0; // 0 to 2, left to right
    unsigned char code = 0;
    QString fontName; // "Symbol" or "Arial"

    // What the byte means in its font: the Symbol font's own encoding, Windows-1252 for Arial.
    // The buttons show this character in an ordinary Unicode font, so that they read right
    // whether or not the machine has a font called Symbol and whatever it encodes.
    QChar glyph() const;
    // What the button shows: glyph(), or where no installed font draws that, the look-alike
    // the text shows for the byte (the arrow extenders); the control byte 127, which has no
    // glyph, as the house sign old code pages drew for it.
    QChar shown() const;
    QString objectName() const; // "Command1(i)"
};

class SymbolTable
{
public:
    static const QList<SymbolButton> &buttons();
    static const SymbolButton *find(int index);
    static QStringList tabCaptions();
};
