#pragma once

#include "textrange.h"

#include <QByteArray>
#include <QList>

class QTextDocument;

// Searches the control's own view of the text (Windows-1252, symbol characters as their
// bytes), which Qt's find cannot do; it also keeps the option values of the contract, whose
// whole-word and match-case flags are the reverse of Qt's.
//
// Matching is what a reader of the text expects: every letter and digit of Windows-1252 is a
// word character (é, ç, œ included), and ignoring case folds only case, never accents ("ÉCOLE"
// finds "école", "ECOLE" does not).
class TextFinder
{
public:
    enum Option {
        WholeWord = 2,
        MatchCase = 4,
    };
    // The first match inside [start, end), or {-1, 0}. The text is read in growing slices from
    // `start`, so the time taken follows the distance to the match, not the size of the text.
    static TextRange find(const QTextDocument &document, const QByteArray &text, int start, int end,
                          int options);
    // Every match inside [start, end), left to right, each starting after the one before ends.
    static QList<TextRange> findAll(const QTextDocument &document, const QByteArray &text, int start, int end,
                                    int options);

    // The first match of `needle` lying inside [from, to) of `bytes`; the bytes either side of
    // that range only tell word boundaries. -1 when none.
    static qsizetype match(const QByteArray &bytes, const QByteArray &needle, qsizetype from, qsizetype to,
                           int options);
    static bool isWordCharacter(unsigned char byte);
    // The lower-case byte of a Windows-1252 letter ('\xC9' É gives '\xE9' é, '\x8C' Œ gives œ).
    static unsigned char foldCase(unsigned char byte);
};
