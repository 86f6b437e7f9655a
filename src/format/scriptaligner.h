#pragma once

class RichTextControl;

// The loops of the bulk alignment commands. Both walk the text one character at a time, as the
// commands are defined, so their cost is linear: each step selects one character, reads its
// offset and sets at most two attributes. Both run as one undo step of the control they change.
namespace ScriptAligner {

enum Kind { Exponents = 1, Indices = 2 };

// Every exponent (kind 1, offset above 0) or index (kind 2, offset below 0) of the whole text
// of `buffer` gets `size` points and an offset of `step` x size twips, raised or lowered.
// Returns how many characters changed.
int alignScripts(RichTextControl &buffer, int kind, int size, int step);

// Every character (a picture counts as one) of the selection of `exo` that sits on the
// baseline is raised by 5 x its size twips, a quarter of its height. The selection ends on the
// last character of the former selection. Returns how many characters changed.
int raiseBaseline(RichTextControl &exo);

} // namespace ScriptAligner
