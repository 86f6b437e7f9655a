#pragma once

#include "math/mathnode.h"

// The linear text of an equation tree, normalised: one spelling per sign (-> for →, * for ⋅),
// single spaces, brackets only where they change the reading. Reading it back gives the same tree.
class LinearWriter
{
public:
    static QString write(const MathNode &root);

private:
    static QString node(const MathNode &node);
    static QString row(const QList<MathNode> &children);
    static QString paren(const MathNode &node);
    static QString operand(const MathNode &node); // of scripts
    static QString fractionOperand(const MathNode &node);
    static QString superscript(const MathNode &node);
    static QString base(const MathNode &node); // of scripts: its brackets stay
    static QString fenced(const MathNode &node);
};
