#include "scriptedkeystrokes.h"

#include "platform/keystrokenotation.h"
#include "scriptfault.h"

namespace {

void deliverParsed(QWidget *target, const QString &keys)
{
    const std::optional<QList<KeyStroke>> strokes = parseKeystrokes(keys);
    if (!strokes)
        reportScriptFault(QStringLiteral("Malformed keystrokes \"%1\"").arg(keys));
    else
        deliverKeystrokes(target, *strokes);
}

} // namespace

void ScriptedKeystrokes::send(QWidget *receiver, const QString &keys)
{
    m_sent.append(keys);
    m_receivers.append(receiver);
    if (!receiver)
        reportScriptFault(QStringLiteral("Keystrokes \"%1\" sent to no receiver").arg(keys));
    if (m_handler)
        m_handler(receiver, keys);
}

void ScriptedKeystrokes::deliverToReceiver()
{
    m_handler = [](QWidget *receiver, const QString &keys) { deliverParsed(receiver, keys); };
}

void ScriptedKeystrokes::deliverTo(QWidget *widget)
{
    m_handler = [target = QPointer<QWidget>(widget)](QWidget *, const QString &keys) {
        deliverParsed(target, keys);
    };
}
