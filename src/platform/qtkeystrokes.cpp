#include "qtkeystrokes.h"

#include "keystrokenotation.h"
#include "platformlog.h"

#include <QWidget>

void QtKeystrokes::send(QWidget *receiver, const QString &keys)
{
    const std::optional<QList<KeyStroke>> strokes = parseKeystrokes(keys);
    if (!strokes) {
        qCWarning(lcPlatform) << "malformed keystrokes, nothing sent:" << keys;
        return;
    }
    if (!receiver) {
        qCWarning(lcPlatform) << "keystrokes with no receiver, nothing sent:" << keys;
        return;
    }
    while (receiver->focusProxy())
        receiver = receiver->focusProxy();
    deliverKeystrokes(receiver, *strokes);
}
