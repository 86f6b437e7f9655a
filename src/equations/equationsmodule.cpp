#include "equationsmodule.h"

#include "equationcommands.h"
#include "equationdialog.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"

#include <QAction>
#include <QMenu>

namespace {

class EquationsOwner : public QObject
{
public:
    EquationsOwner(RichTextControl &exo, EquationCommands::Ask ask)
        : QObject(&exo), commands(exo, std::move(ask))
    {}
    EquationCommands commands;
};

} // namespace

EquationCommands &installEquations(ShellHost &host)
{
    RichTextControl &exo = host.exo();
    QWidget *window = exo.widget() ? exo.widget()->window() : nullptr;
    auto *owner = new EquationsOwner(
        exo, [window](const EquationRequest &request) { return EquationDialog::ask(request, window); });
    EquationCommands *commands = &owner->commands;
    host.bindCommand(QStringLiteral("equation"), [commands] { commands->equation(); });
    QObject::connect(&exo, &RichTextControl::equationActivated, owner, [commands] { commands->edit(); });
    QObject::connect(&exo, &RichTextControl::keyDown, owner,
                     [commands](KeyStroke &key) { commands->onKeyDown(key); });
    // Before the spelling's menu, which is for words: on an equation the menu offers to edit it.
    QObject::connect(&exo, &RichTextControl::contextMenuRequested, owner,
                     [&exo, &host, commands](ContextMenuRequest &request) {
                         if (request.consumed)
                             return;
                         int at = -1;
                         if (exo.selEquation().isEmpty()) {
                             for (const int position : {request.position, request.position - 1}) {
                                 if (!exo.equationAt(position).isEmpty()) {
                                     at = position;
                                     break;
                                 }
                             }
                             if (at < 0)
                                 return;
                             exo.setSelection({at, 1});
                         }
                         request.consumed = true;
                         QMenu menu;
                         menu.setObjectName(QStringLiteral("equationContextMenu"));
                         QAction *edit = menu.addAction(QObject::tr("Modifier l'équation"));
                         edit->setObjectName(QStringLiteral("modifequation"));
                         menu.addSeparator();
                         for (const char *name : {"coupe", "copie", "colle"}) {
                             if (QAction *command = host.command(QLatin1String(name)))
                                 menu.addAction(command);
                         }
                         // The dialog opens once the menu has closed.
                         if (menu.exec(request.globalPos) == edit)
                             commands->edit();
                     });
    return *commands;
}
