#pragma once

#include <QList>
#include <QString>

// One node of an equation tree: a plain value. Children live in an implicitly shared list, so
// copying a subtree costs a reference count; an Equation shares the whole tree between copies.
//
// Shapes by kind (children in order):
//   Row          any number of nodes set side by side; text: empty, or for chemistry typed as
//                \ce{...}, the text between the braces (ChemMath), which the linear writer
//                gives back
//   Identifier   text: the letters (one identifier may be a word: "sin", "kg")
//   Number       text: the digits as typed, decimal comma kept ("9,81")
//   Operator     text: the character shown ("−", "⋅", "→", "∑")
//   Text         text: quoted words, shown upright with their spaces
//   Space        text: the width in em ("0.167", "1", "2")
//   Fraction     numerator, denominator
//   Sub, Sup     base, script
//   SubSup       base, subscript, superscript
//   Under, Over  base, script (an accent or a limit; flag Accent for accents)
//   UnderOver    base, under, over
//   Sqrt         radicand
//   Root         radicand, index
//   Fenced       content; text holds the opening and the closing character, QChar(0) for none
//   Table        rows, each a Row of cells, each cell a Row
class MathNode
{
public:
    enum class Kind : quint8 {
        Row,
        Identifier,
        Number,
        Operator,
        Text,
        Space,
        Fraction,
        Sub,
        Sup,
        SubSup,
        Under,
        Over,
        UnderOver,
        Sqrt,
        Root,
        Fenced,
        Table,
    };
    enum Flag : quint8 {
        NoFlag = 0,
        Upright = 1,       // a single letter shown upright: a unit, a capital Greek letter
        Function = 2,      // a function name such as sin: spaced as an operator name
        LargeOperator = 4, // ∑, ∫: bigger in display style
        Limits = 8,        // scripts go below and above in display style, beside in text style
        Accent = 16,       // the over or under script is an accent, set close to its base
        Unit = 32,         // part of a unit after a number: "m", "s", the middle dot between them
        Stretchy = 64,     // a fence or an arrow that grows with what it spans
        Unclosed = 128,    // a Row from a bracket never closed, holding all the text that followed it
    };

    MathNode() = default;
    explicit MathNode(Kind kind, const QString &text = QString(), quint8 flags = NoFlag)
        : m_kind(kind), m_flags(flags), m_text(text)
    {}
    MathNode(Kind kind, QList<MathNode> children, quint8 flags = NoFlag)
        : m_kind(kind), m_flags(flags), m_children(std::move(children))
    {}

    static MathNode fenced(QChar open, QChar close, MathNode content);

    Kind kind() const { return m_kind; }
    quint8 flags() const { return m_flags; }
    bool hasFlag(Flag flag) const { return (m_flags & flag) != 0; }
    void setFlags(quint8 flags) { m_flags = flags; }
    const QString &text() const { return m_text; }
    const QList<MathNode> &children() const { return m_children; }
    QList<MathNode> &children() { return m_children; }
    const MathNode &child(qsizetype i) const { return m_children.at(i); }
    QChar open() const { return m_text.size() == 2 ? m_text.at(0) : QChar(); }
    QChar close() const { return m_text.size() == 2 ? m_text.at(1) : QChar(); }
    bool isEmptyRow() const { return m_kind == Kind::Row && m_children.isEmpty(); }

    // A compact S-expression for tests and debugging: (frac (mi a) (mn 2)).
    QString dump() const;
    // Bytes this node and its subtree hold on the heap and in place, shared data counted once per
    // node that holds it.
    qsizetype memoryUsage() const;

    friend bool operator==(const MathNode &a, const MathNode &b)
    {
        return a.m_kind == b.m_kind && a.m_flags == b.m_flags && a.m_text == b.m_text &&
               a.m_children == b.m_children;
    }

private:
    Kind m_kind = Kind::Row;
    quint8 m_flags = NoFlag;
    QString m_text;
    QList<MathNode> m_children;
};
