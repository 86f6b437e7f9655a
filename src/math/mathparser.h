#pragma once

#include "math/mathnode.h"
#include "math/mathtokenizer.h"

// Reads the linear syntax teachers type (AsciiMath, the common LaTeX names, French decimal commas
// and units) into an equation tree. Never fails: what does not parse is shown as typed.
//
// Letter rules, chosen for physics:
// - a run of letters reads as AsciiMath reads it: known names first, else one italic letter each,
//   so "mgh" and "mc^2" are products and "dt" is d, t;
// - a unit symbol after a number and a space is one upright word ("9,81 m.s^-2", "3 kg"), a "." or
//   "*" between units being a middle dot; a lone one-letter unit followed by more letters is a
//   product instead ("2 g h");
// - a subscript or superscript that is a word of two letters or more, unknown, is one upright
//   label ("v_moy", "E_pp"), except words of the index letters i, j, k, l, m, n ("a_ij").
class MathParser
{
public:
    // Nesting of brackets, scripts, fractions and arguments that still builds structure; deeper
    // signs are shown flat, so that 10 000 open brackets cost neither stack nor time.
    static constexpr int MaxDepth = 32;

    static MathNode parse(const QString &text);

private:
    explicit MathParser(const QString &text);

    QList<MathNode> parseRow(bool stopAtBar, bool &closedByBar, bool &closedByBracket);
    MathNode parseElement();
    MathNode parseIntermediate();
    MathNode parseScript(bool superscript);
    MathNode parseSimple(bool script);
    MathNode parseSymbol(const MathToken &token);
    MathNode parseBracket(const MathToken &open);
    MathNode parseBar(const MathToken &bar);
    MathNode parseUnary(const MathToken &token);
    MathNode parseRawText();

    const MathToken *peek(qsizetype ahead = 0) const;
    MathToken take();
    bool atRowEnd() const;
    bool startsArgument(const MathToken *token) const;
    bool isUnitWord(qsizetype ahead) const;

    QString m_input;
    QList<MathToken> m_tokens;
    qsizetype m_next = 0;
    QList<MathToken> m_pending; // the rest of a run of letters already split
    int m_depth = 0;
    int m_brackets = 0;
    bool m_stopAtBar = false;
    bool m_unitNext = false;
    bool m_flatten = false; // the element just parsed is an unclosed bracket, to splice in its row
};
