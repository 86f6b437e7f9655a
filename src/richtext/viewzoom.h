#pragma once

// The magnification of a text view, in percent, on a scale of 10 % steps. It changes what the
// view shows only: the text, its sizes and indents, and what is saved stay as they are.
namespace ViewZoom {
constexpr int minimum = 50;
constexpr int maximum = 400;
constexpr int step = 10;
constexpr int normal = 100;
// A wheel turns 120 units a notch; touchpads send fractions of it.
constexpr int wheelNotch = 120;

// `percent` moved to the nearest step, within the limits.
constexpr int bounded(int percent)
{
    const int rounded = (percent + step / 2) / step * step;
    return rounded < minimum ? minimum : rounded > maximum ? maximum : rounded;
}

// `steps` steps away from `percent` (negative: smaller), within the limits.
constexpr int stepped(int percent, int steps)
{
    return bounded(bounded(percent) + steps * step);
}
} // namespace ViewZoom
