#include "searchmodule.h"

#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "searchcommands.h"

SearchCommands *installSearch(ShellHost &host, EditorState &state, const Platform &platform)
{
    auto *commands = new SearchCommands(host.exo(), state, platform.messages, &host.exo());
    host.bindCommand(QStringLiteral("rechercher"), [commands] { commands->rechercher(); });
    host.bindCommand(QStringLiteral("Command13"), [commands] { commands->rechercher(); });
    host.bindCommand(QStringLiteral("contrech"), [commands] { commands->contrech(); });
    host.bindCommand(QStringLiteral("remplace"), [commands] { commands->remplace(); });
    return commands;
}
