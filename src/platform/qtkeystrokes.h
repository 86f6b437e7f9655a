#pragma once

#include "keystrokes.h"

// Delivers the keys to the receiver (or to its focus proxy) synchronously, whether or not its
// window is active: when `send` returns, the receiver has handled them (a "+{INSERT}" paste
// has happened). Malformed notation or a null receiver sends nothing and logs a warning.
class QtKeystrokes : public Keystrokes
{
public:
    void send(QWidget *receiver, const QString &keys) override;
};
