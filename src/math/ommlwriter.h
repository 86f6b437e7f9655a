#pragma once

#include "math/mathnode.h"
#include "rtf/ommlelement.h"

// Writes an equation tree as Office Math elements, the form other word processors open as an
// equation: a fraction is an "f", a script an "sSup", a sum with its limits an "nary" over the
// operand that follows it, an accent an "acc", brackets a "d", a function its "func".
class OmmlWriter
{
public:
    // The zone: a root named "mmath" holding one "oMath".
    static OmmlElement write(const MathNode &root);
};
