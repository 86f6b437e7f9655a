#include "keystrokenotation.h"

#include <QCoreApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

constexpr int maxRepeat = 255;

int namedKey(const QString &name)
{
    static const QHash<QString, int> keys = {
        {QStringLiteral("BACKSPACE"), Qt::Key_Backspace},
        {QStringLiteral("BS"), Qt::Key_Backspace},
        {QStringLiteral("BKSP"), Qt::Key_Backspace},
        {QStringLiteral("BREAK"), Qt::Key_Pause},
        {QStringLiteral("CAPSLOCK"), Qt::Key_CapsLock},
        {QStringLiteral("DELETE"), Qt::Key_Delete},
        {QStringLiteral("DEL"), Qt::Key_Delete},
        {QStringLiteral("DOWN"), Qt::Key_Down},
        {QStringLiteral("END"), Qt::Key_End},
        {QStringLiteral("ENTER"), Qt::Key_Return},
        {QStringLiteral("ESC"), Qt::Key_Escape},
        {QStringLiteral("HELP"), Qt::Key_Help},
        {QStringLiteral("HOME"), Qt::Key_Home},
        {QStringLiteral("INSERT"), Qt::Key_Insert},
        {QStringLiteral("INS"), Qt::Key_Insert},
        {QStringLiteral("LEFT"), Qt::Key_Left},
        {QStringLiteral("NUMLOCK"), Qt::Key_NumLock},
        {QStringLiteral("PGDN"), Qt::Key_PageDown},
        {QStringLiteral("PGUP"), Qt::Key_PageUp},
        {QStringLiteral("PRTSC"), Qt::Key_Print},
        {QStringLiteral("RIGHT"), Qt::Key_Right},
        {QStringLiteral("SCROLLLOCK"), Qt::Key_ScrollLock},
        {QStringLiteral("TAB"), Qt::Key_Tab},
        {QStringLiteral("UP"), Qt::Key_Up},
    };
    const QString upper = name.toUpper();
    if (const auto it = keys.constFind(upper); it != keys.constEnd())
        return *it;
    if (upper.size() >= 2 && upper.front() == QLatin1Char('F')) {
        bool ok = false;
        const int number = QStringView(upper).mid(1).toInt(&ok);
        if (ok && number >= 1 && number <= 16 && upper.at(1).isDigit())
            return Qt::Key_F1 + number - 1;
    }
    return 0;
}

KeyStroke characterStroke(QChar c, Qt::KeyboardModifiers modifiers)
{
    KeyStroke stroke;
    stroke.modifiers = modifiers;
    if (c.isLetter() && c.unicode() < 128)
        stroke.key = Qt::Key_A + (c.toUpper().unicode() - 'A');
    else if (c == QLatin1Char('\t'))
        stroke.key = Qt::Key_Tab;
    else
        stroke.key = c.toUpper().unicode(); // Qt::Key values equal Latin-1 upper-case codes
    // A Ctrl or Alt chord is a command, never typing; Shift alone types the character as given.
    if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        stroke.text = c;
    return stroke;
}

Qt::KeyboardModifier modifierOf(QChar c)
{
    switch (c.unicode()) {
    case '+':
        return Qt::ShiftModifier;
    case '^':
        return Qt::ControlModifier;
    case '%':
        return Qt::AltModifier;
    default:
        return Qt::NoModifier;
    }
}

// Appends the strokes of one brace group "{…}" starting at `pos` (on the '{'); returns the
// position after it, or -1 when malformed.
qsizetype parseBraced(const QString &keys, qsizetype pos, Qt::KeyboardModifiers modifiers,
                      QList<KeyStroke> &out)
{
    // "{}}" names the closing brace itself, so the name may start with '}'.
    const qsizetype close = keys.indexOf(QLatin1Char('}'), pos + 2);
    if (close < 0)
        return -1;
    const QString body = keys.mid(pos + 1, close - pos - 1);
    QString name = body;
    int count = 1;
    if (const qsizetype space = body.lastIndexOf(QLatin1Char(' ')); space > 0) {
        bool ok = false;
        count = QStringView(body).mid(space + 1).toInt(&ok);
        if (!ok || count < 0 || count > maxRepeat)
            return -1;
        name = body.left(space);
    }
    KeyStroke stroke;
    if (name.size() == 1 && !name.front().isLetterOrNumber()) {
        stroke = characterStroke(name.front(), modifiers);
    } else if (const int key = namedKey(name)) {
        stroke.key = key;
        stroke.modifiers = modifiers;
    } else if (name.size() == 1) {
        stroke = characterStroke(name.front(), modifiers);
    } else {
        return -1;
    }
    for (int i = 0; i < count; ++i)
        out.append(stroke);
    return close + 1;
}

} // namespace

std::optional<QList<KeyStroke>> parseKeystrokes(const QString &keys)
{
    QList<KeyStroke> strokes;
    Qt::KeyboardModifiers pending;
    Qt::KeyboardModifiers group; // held by an open "(…)"
    bool inGroup = false;
    qsizetype pos = 0;
    while (pos < keys.size()) {
        const QChar c = keys.at(pos);
        const Qt::KeyboardModifiers modifiers = pending | group;
        if (const Qt::KeyboardModifier modifier = modifierOf(c); modifier != Qt::NoModifier) {
            pending |= modifier;
            ++pos;
            continue;
        }
        if (c == QLatin1Char('(')) {
            if (inGroup)
                return std::nullopt;
            inGroup = true;
            group = modifiers;
            pending = {};
            ++pos;
            continue;
        }
        if (c == QLatin1Char(')')) {
            if (!inGroup || pending)
                return std::nullopt;
            inGroup = false;
            group = {};
            ++pos;
            continue;
        }
        if (c == QLatin1Char('}') || c == QLatin1Char('[') || c == QLatin1Char(']'))
            return std::nullopt;
        if (c == QLatin1Char('{')) {
            pos = parseBraced(keys, pos, modifiers, strokes);
            if (pos < 0)
                return std::nullopt;
        } else if (c == QLatin1Char('~')) {
            strokes.append({Qt::Key_Return, modifiers, QString()});
            ++pos;
        } else {
            strokes.append(characterStroke(c, modifiers));
            ++pos;
        }
        pending = {};
    }
    if (pending || inGroup)
        return std::nullopt;
    return strokes;
}

void deliverKeystrokes(QWidget *target, const QList<KeyStroke> &strokes)
{
    // A key may close or delete its receiver (Escape in a dialog): stop when it is gone.
    const QPointer<QWidget> receiver(target);
    for (const KeyStroke &stroke : strokes) {
        if (!receiver)
            return;
        QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
        QCoreApplication::sendEvent(receiver, &press);
        if (!receiver)
            return;
        QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
        QCoreApplication::sendEvent(receiver, &release);
    }
}
