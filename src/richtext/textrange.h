#pragma once

// A span of positions of the control: start from 0, length 0 is a caret.
struct TextRange
{
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    friend bool operator==(const TextRange &, const TextRange &) = default;
};
