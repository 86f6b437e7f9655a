#pragma once

#include "math/mathnode.h"
#include "rtf/ommlelement.h"

// Reads an Office Math zone (OMML elements, as other word processors write them) into an
// equation tree, so that an equation made elsewhere is edited here as linear text. Every
// element of the Office Math model that has an equation of ours reads as it: fractions,
// radicals, scripts, n-ary operators and their limits, delimiters, accents, bars, group
// characters, lower and upper limits, functions, matrices, equation arrays, boxes.
class OmmlReader
{
public:
    struct Result
    {
        MathNode tree; // a Row
        // False when an element had no equation of ours: the tree then holds its text only.
        bool complete = true;
    };
    // `zone` is the root the RTF reader gives ("mmath"), an oMathPara or an oMath.
    static Result read(const OmmlElement &zone);
    // The tree written as linear text.
    static QString linear(const OmmlElement &zone);
};
