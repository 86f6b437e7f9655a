#include "bulkscriptsmodule.h"

#include "platform/controlstate.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"

#include <QAction>
#include <QObject>
#include <QWidget>

#include <memory>

namespace {

// Owns the commands for the life of the window.
class BulkScriptsHolder : public QObject
{
public:
    BulkScriptsHolder(std::unique_ptr<BulkScripts> commands, QObject *parent)
        : QObject(parent), commands(std::move(commands))
    {}
    std::unique_ptr<BulkScripts> commands;
    ScriptSteps localSteps;
};

} // namespace

BulkScripts *installBulkScripts(ShellHost &host, EditorState &state, const Platform &platform,
                                BulkScripts::ControlFactory createBuffer, BulkScriptHooks hooks)
{
    QWidget *window = host.exo().widget() ? host.exo().widget()->window() : nullptr;
    auto holder = new BulkScriptsHolder(nullptr, window);
    QAction *check2 = host.command(QStringLiteral("check2"));
    if (!hooks.setSmallMode && check2)
        hooks.setSmallMode = [check2](bool on) { showChecked(check2, on); };
    if (!hooks.steps) {
        hooks.steps = [holder, check2] {
            ScriptSteps steps = holder->localSteps;
            steps.smallMode = check2 ? check2->isChecked() : steps.smallMode;
            return steps;
        };
    }
    if (!hooks.setExponentStep)
        hooks.setExponentStep = [holder](int step) { holder->localSteps.exponentStep = step; };
    if (!hooks.setIndexStep)
        hooks.setIndexStep = [holder](int step) { holder->localSteps.indexStep = step; };
    holder->commands = std::make_unique<BulkScripts>(
        state, platform, host.exo(), std::move(hooks), std::move(createBuffer),
        [window](const FormateurSettings &settings) { return Formateur::ask(settings, window); });
    BulkScripts *commands = holder->commands.get();
    host.bindCommand(QStringLiteral("toutexpo"), [commands] { commands->toutexpo(); });
    host.bindCommand(QStringLiteral("toutindi"), [commands] { commands->toutindi(); });
    host.bindCommand(QStringLiteral("decaexp"), [commands] { commands->decaexp(); });
    host.bindCommand(QStringLiteral("decaind"), [commands] { commands->decaind(); });
    host.bindCommand(QStringLiteral("decabiz"), [commands] { commands->decabiz(); });
    return commands;
}
