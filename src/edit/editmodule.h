#pragma once

#include "formatmemory.h"
#include "undocommand.h"

#include <QObject>

class ShellHost;
struct Platform;

// The undo command and the format memory of the main window, bound to `annuleur` and `annule`.
class EditModule : public QObject
{
    Q_OBJECT
public:
    EditModule(ShellHost &host, const Platform &platform, QObject *parent = nullptr);

    FormatMemory &memory() { return m_memory; }
    UndoCommand &undo() { return m_undo; }

private:
    FormatMemory m_memory;
    UndoCommand m_undo;
};

// Creates the module, owned by exo, and binds its commands.
EditModule *installEdit(ShellHost &host, const Platform &platform);
