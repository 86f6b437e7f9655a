#include "qtkeystrokes.h"

#include "keystrokenotation.h"
#include "platformlog.h"

#include <QApplication>

void QtKeystrokes::send(const QString &keys)
{
    const std::optional<QList<KeyStroke>> strokes = parseKeystrokes(keys);
    if (!strokes) {
        qCWarning(lcPlatform) << "malformed keystrokes, nothing sent:" << keys;
        return;
    }
    deliverKeystrokes(QApplication::focusWidget(), *strokes);
}
