#include "layoutdialogsmodule.h"

#include "marginsdialog.h"
#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "tabsdialog.h"

#include <QWidget>

void showTabsDialog(RichTextControl &exo, MessageBoxes &messages, const std::function<void()> &majregle,
                    QWidget *parent)
{
    Tabof dialog(exo, messages, majregle, parent);
    if (!dialog.load())
        return;
    dialog.exec();
}

void showMarginsDialog(RichTextControl &exo, QWidget *parent)
{
    {
        marges dialog(exo, parent);
        dialog.exec();
    }
    exo.refresh();
    exo.setFocus();
}

void installLayoutDialogs(ShellHost &host, const Platform &platform, std::function<void()> majregle)
{
    RichTextControl &exo = host.exo();
    MessageBoxes &messages = platform.messages;
    host.bindCommand(QStringLiteral("tabulo"), [&exo, &messages, majregle] {
        showTabsDialog(exo, messages, majregle, exo.widget() ? exo.widget()->window() : nullptr);
    });
    host.bindCommand(QStringLiteral("margo"),
                     [&exo] { showMarginsDialog(exo, exo.widget() ? exo.widget()->window() : nullptr); });
}
