#pragma once

// TeX's styles for the outermost level of an equation. Display is for an equation on its own line
// or a preview: limits above and below ∑, full-size fractions. Text is for an equation inside a
// line of text: limits beside ∑ and ∫, fractions in script size, so the line spacing suffers less.
// Script sizes inside follow from these (TeX's script and scriptscript, cramped where due).
enum class MathStyle : unsigned char { Display, Text };
