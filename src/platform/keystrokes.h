#pragma once

#include <QString>

// Synthetic keystrokes delivered to the focused control, in the classic notation: "+" Shift,
// "^" Ctrl, "%" Alt, "{NAME}" a named key: "+{INSERT}" pastes, "^z" undoes.
class Keystrokes
{
public:
    virtual ~Keystrokes() = default;
    virtual void send(const QString &keys) = 0;
};
