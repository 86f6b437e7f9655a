#pragma once

#include "rtf/ommlelement.h"

#include <QString>

#include <optional>

// Equations of older word processors: the EQ field, whose instruction draws a formula with
// switches ("EQ \f(a,b)", "EQ \r(3,x)", "EQ x\s\up8(2)"). Those with an equation of their own
// (\f fraction, \r radical, \s\up and \s\do scripts, \b brackets, \o overstrike) become the same
// OMML tree an Office Math zone gives; any other switch leaves the field to its result text.
namespace RtfEqField {

// Nesting of switch arguments kept; deeper fields show their result instead.
constexpr int MaxDepth = 16;

// The zone (root "mmath" holding one "oMath"), or nothing when `instruction` is no EQ field this
// reader can draw.
std::optional<OmmlElement> parse(const QString &instruction);

} // namespace RtfEqField
