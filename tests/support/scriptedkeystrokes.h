#pragma once

#include "platform/keystrokes.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

// Records the key strings sent and their receivers. By default nothing is delivered; a test
// that needs the keys to act sets a handler, `deliverToReceiver()` to send them as the real
// service does, or `deliverTo()` to send them elsewhere.
class ScriptedKeystrokes : public Keystrokes
{
public:
    using Handler = std::function<void(QWidget *receiver, const QString &keys)>;

    void send(QWidget *receiver, const QString &keys) override;

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void deliverToReceiver();
    void deliverTo(QWidget *widget);
    const QStringList &sent() const { return m_sent; }
    // The receiver named by each send, in order; null once that widget is gone.
    const QList<QPointer<QWidget>> &receivers() const { return m_receivers; }
    void clear()
    {
        m_sent.clear();
        m_receivers.clear();
    }

private:
    QStringList m_sent;
    QList<QPointer<QWidget>> m_receivers;
    Handler m_handler;
};
