#pragma once

#include "math/mathnode.h"

// Presentation MathML of an equation tree, as AsciiMath writes it: one <math> element, an <mrow>
// for each group, accents as <mover accent="true">, matrices as <mtable>.
class MathMlWriter
{
public:
    static QString write(const MathNode &root);

private:
    static void writeNode(const MathNode &node, QString &out);
    static void writeGroup(const MathNode &node, QString &out); // one element: a Row becomes an mrow
};
