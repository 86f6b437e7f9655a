#pragma once

#include "textrange.h"

#include <QByteArray>

class QTextDocument;

// Searches the control's own view of the text (Windows-1252, symbol characters as their
// bytes), which Qt's find cannot do; it also keeps the option values of the contract, whose
// whole-word and match-case flags are the reverse of Qt's.
class TextFinder
{
public:
    enum Option {
        WholeWord = 2,
        MatchCase = 4,
    };
    // The first match inside [start, end), or {-1, 0}.
    static TextRange find(const QTextDocument &document, const QByteArray &text, int start, int end,
                          int options);
};
