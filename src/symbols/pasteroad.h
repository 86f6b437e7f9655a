#pragma once

#include <functional>

class Keystrokes;
class RichTextControl;

// The last leg of the paste road for program-made material already on the clipboard: exo takes
// the focus and gets Shift+Insert, so the control inserts the clipboard's content at the caret
// as one object; then it is repainted and focused again.
std::function<void()> shiftInsertPaste(RichTextControl &exo, Keystrokes &keys);
