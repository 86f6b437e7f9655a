#pragma once

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

// What the live tests do to the assembled window as a person or a screen reader would.
namespace LiveActions {

// The same act a screen reader or a test robot performs: the control's accessibility action.
inline bool doAccessibleAction(QWidget *control, const QString &action)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    if (!accessible || !accessible->actionInterface() ||
        !accessible->actionInterface()->actionNames().contains(action))
        return false;
    accessible->actionInterface()->doAction(action);
    return true;
}

inline void typeInto(QWidget *dialog, const char *name, const QString &text)
{
    auto *box = dialog->findChild<QLineEdit *>(QLatin1String(name));
    QVERIFY2(box, name);
    box->setFocus();
    QTest::keyClicks(box, text);
}

// With VELIGRAM_SHOTS naming a folder, a picture of the window as the test left it, to look at.
inline void shot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("VELIGRAM_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    const QString scale = qEnvironmentVariable("VELIGRAM_X_SCALE", QStringLiteral("1"));
    window->grab().save(QStringLiteral("%1/%2x-%3.png").arg(folder, scale, name));
}

} // namespace LiveActions
