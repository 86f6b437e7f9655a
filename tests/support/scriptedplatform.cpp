#include "scriptedplatform.h"

#include "scriptfault.h"

#include <QTest>

ScriptedPlatform::~ScriptedPlatform()
{
    const QString left = unconsumed();
    if (!left.isEmpty() && !(QTest::currentTestFunction() && QTest::currentTestFailed()))
        reportScriptFault(left);
}

QString ScriptedPlatform::unconsumed() const
{
    QStringList parts;
    const auto note = [&parts](int count, const char *what) {
        if (count > 0)
            parts.append(QStringLiteral("%1 %2").arg(count).arg(QLatin1String(what)));
    };
    note(messages.pendingAnswers(), "message box answer(s)");
    note(files.pendingAnswers(), "file dialog answer(s)");
    note(input.pendingAnswers(), "input box answer(s)");
    note(printer.pendingAnswers(), "printer dialog answer(s)");
    if (parts.isEmpty())
        return QString();
    return QStringLiteral("Queued but never asked: ") + parts.join(QStringLiteral(", "));
}

QStringList ScriptedPlatform::faults() const
{
    return messages.faults() + files.faults() + input.faults() + printer.faults();
}

void ScriptedPlatform::dropPendingAnswers()
{
    messages.dropPending();
    files.dropPending();
    input.dropPending();
    printer.dropPending();
}
