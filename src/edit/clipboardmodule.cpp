#include "clipboardmodule.h"

#include "clipboardcommands.h"
#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"

ClipboardCommands *installClipboardCommands(ShellHost &host, const Platform &platform)
{
    RichTextControl &exo = host.exo();
    auto *commands = new ClipboardCommands(exo, platform.clipboard, &exo);
    // The commands leave the focus in exo, as the keys they stand for would.
    auto bind = [&host, commands, &exo](const char *name, void (ClipboardCommands::*command)()) {
        host.bindCommand(QLatin1String(name), [commands, command, control = &exo] {
            (commands->*command)();
            control->setFocus();
        });
    };
    bind("coupe", &ClipboardCommands::coupe);
    bind("Command7", &ClipboardCommands::coupe);
    bind("copie", &ClipboardCommands::copie);
    bind("Command6", &ClipboardCommands::copie);
    bind("colle", &ClipboardCommands::colle);
    bind("Command8", &ClipboardCommands::colle);
    bind("supprime", &ClipboardCommands::supprime);
    bind("toutsel", &ClipboardCommands::toutsel);
    return commands;
}
