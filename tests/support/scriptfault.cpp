#include "scriptfault.h"

#include <QTest>

void reportScriptFault(const QString &message)
{
    const QByteArray text = message.toUtf8();
    if (QTest::currentTestFunction())
        QTest::qFail(text.constData(), __FILE__, __LINE__);
    else
        qCritical("%s", text.constData());
}
