#pragma once

#include "keystrokes.h"

// Delivers the keys to the widget that has the keyboard focus, synchronously: when `send`
// returns, the focused control has handled them (a "+{INSERT}" paste has happened).
// Malformed notation sends nothing and logs a warning.
class QtKeystrokes : public Keystrokes
{
public:
    void send(const QString &keys) override;
};
