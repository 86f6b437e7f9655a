#pragma once

#include <QString>

class QWidget;

// Synthetic keystrokes in the classic notation: "+" Shift, "^" Ctrl, "%" Alt, "{NAME}" a named
// key: "+{INSERT}" pastes, "^z" undoes.
//
// The keys go to the named receiver, never to "whatever has the focus now": right after a
// modal dialog closes, or after a tool-bar click, the window system has not given the main
// window back its activation yet, so the application's focus widget is empty or still the
// dialog, and a keystroke sent there would be lost.
class Keystrokes
{
public:
    virtual ~Keystrokes() = default;
    virtual void send(QWidget *receiver, const QString &keys) = 0;
};
