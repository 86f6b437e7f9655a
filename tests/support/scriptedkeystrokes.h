#pragma once

#include "platform/keystrokes.h"

#include <QStringList>

#include <functional>

class QWidget;

// Records the key strings sent. By default nothing is delivered; a test that needs the keys to
// act sets a handler, or `deliverToFocusWidget()` to send them as the real service does.
class ScriptedKeystrokes : public Keystrokes
{
public:
    using Handler = std::function<void(const QString &keys)>;

    void send(const QString &keys) override;

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void deliverToFocusWidget();
    void deliverTo(QWidget *widget);
    const QStringList &sent() const { return m_sent; }
    void clear() { m_sent.clear(); }

private:
    QStringList m_sent;
    Handler m_handler;
};
