#include "editmodule.h"

#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"

EditModule::EditModule(ShellHost &host, const Platform &platform, QObject *parent)
    : QObject(parent), m_memory(host.exo(), host.tamponrtf()), m_undo(host.exo(), platform.keys)
{}

EditModule *installEdit(ShellHost &host, const Platform &platform)
{
    auto *module = new EditModule(host, platform, &host.exo());
    UndoCommand *undo = &module->undo();
    host.bindCommand(QStringLiteral("annuleur"), [undo] { undo->annuleur(); });
    host.bindCommand(QStringLiteral("annule"), [undo] { undo->annuleur(); });
    return module;
}
