#pragma once

#include "math/mathnode.h"

// Chemistry inside an equation: E = \ce{^{238}_{92}U -> ^{234}_{90}Th + ^{4}_{2}He}. The text
// between the braces is read by the chemistry reader (src/chem), whose runs become math nodes:
// element symbols and words upright, counts and charges as scripts, ions with both scripts
// stacked, nuclides with their numbers as prescripts, arrows as operators, an arrow with labels
// as an arrow stretched under and over them.
namespace ChemMath {

// The chemistry as a Row whose text is `chemistry` as typed (so the linear writer gives it back
// as \ce{...}) and whose children are what it draws. Never fails; bounded by the text's length.
MathNode toMath(const QString &chemistry);

} // namespace ChemMath
