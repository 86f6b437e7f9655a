#pragma once

#include <QList>
#include <QString>

#include <optional>

class QWidget;

// One key press of a synthetic keystroke string. `text` is what the key types (empty for
// named keys and for Ctrl or Alt combinations, which must not insert anything).
struct KeyStroke
{
    int key = 0; // Qt::Key
    Qt::KeyboardModifiers modifiers;
    QString text;

    friend bool operator==(const KeyStroke &, const KeyStroke &) = default;
};

// Parses the classic notation: "+" Shift, "^" Ctrl, "%" Alt for the next key or for a
// parenthesised group ("+(ab)"); "~" Enter; "{NAME}" a named key, "{NAME n}" n times (n at most
// 255); "{+}", "{^}", "{%}", "{~}", "{(}", "{)}", "{{}", "{}}" the characters themselves.
// Names, case-insensitive: BACKSPACE BS BKSP BREAK CAPSLOCK DELETE DEL DOWN END ENTER ESC HELP
// HOME INSERT INS LEFT NUMLOCK PGDN PGUP PRTSC RIGHT SCROLLLOCK TAB UP F1..F16.
// Returns nothing for malformed input (unknown name, unbalanced brace or parenthesis, a
// modifier with no key after it).
std::optional<QList<KeyStroke>> parseKeystrokes(const QString &keys);

// Sends each stroke as a key press and release to `target`, synchronously. A null target
// receives nothing.
void deliverKeystrokes(QWidget *target, const QList<KeyStroke> &strokes);
