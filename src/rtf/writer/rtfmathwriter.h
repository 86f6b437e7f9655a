#pragma once

#include "rtf/ommlelement.h"

class RtfEmitter;

// Writes an Office Math zone's elements as Word writes them: each element a group opened by its
// "\m…" word ("{\mf{\mnum …}{\mden …}}"), a property's value as the text of its group, the
// zone's "\moMathPara" and "\moMath" as ignorable destinations.
namespace RtfMathWriter {

// The content of a "\mmath" group for `zone` (a root whose children are oMath or oMathPara):
// one "\moMath", inside a "\moMathPara" when `display` (an equation alone on its paragraph).
void writeZone(RtfEmitter &out, const OmmlElement &zone, bool display);

} // namespace RtfMathWriter
