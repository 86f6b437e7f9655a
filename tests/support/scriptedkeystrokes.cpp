#include "scriptedkeystrokes.h"

#include "platform/keystrokenotation.h"
#include "scriptfault.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

void ScriptedKeystrokes::send(const QString &keys)
{
    m_sent.append(keys);
    if (m_handler)
        m_handler(keys);
}

void ScriptedKeystrokes::deliverToFocusWidget()
{
    m_handler = [](const QString &keys) {
        const std::optional<QList<KeyStroke>> strokes = parseKeystrokes(keys);
        if (!strokes)
            reportScriptFault(QStringLiteral("Malformed keystrokes \"%1\"").arg(keys));
        else
            deliverKeystrokes(QApplication::focusWidget(), *strokes);
    };
}

void ScriptedKeystrokes::deliverTo(QWidget *widget)
{
    m_handler = [target = QPointer<QWidget>(widget)](const QString &keys) {
        const std::optional<QList<KeyStroke>> strokes = parseKeystrokes(keys);
        if (!strokes)
            reportScriptFault(QStringLiteral("Malformed keystrokes \"%1\"").arg(keys));
        else
            deliverKeystrokes(target, *strokes);
    };
}
