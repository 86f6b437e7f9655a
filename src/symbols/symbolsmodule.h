#pragma once

#include "ionformulacommand.h"
#include "reactionarrows.h"
#include "symbolhooks.h"
#include "symbolinserter.h"

#include <QObject>

class ShellHost;
class SymbolPalette;
struct EditorState;
struct Platform;

// The symbols subsystem in the main window: the palettes `SSTab1` left of the editor with the
// arrows button `des01`, the ion composer (`ionpoly`, `Command9`) and the special characters
// (`SPECIALCAr`). Lives as long as the palette that owns it.
class SymbolsModule : public QObject
{
    Q_OBJECT
public:
    SymbolsModule(ShellHost &host, EditorState &state, const Platform &platform, SymbolHooks hooks,
                  QObject *parent);

    SymbolHooks &hooks() { return m_hooks; }
    void insertSymbol(const SymbolButton &button) { m_inserter.insert(button); }
    IonFormulaCommand &ionFormula() { return m_ionFormula; }
    ReactionArrows &arrows() { return m_arrows; }

private:
    SymbolHooks m_hooks;
    SymbolInserter m_inserter;
    ReactionArrows m_arrows;
    IonFormulaCommand m_ionFormula;
};

// Builds the palettes into the window, binds the commands and registers the start-up step of
// the palette buttons. Empty hooks are filled where this module can do the step itself (the
// paste through Shift+Insert); `memoriser` stays empty until the format memory is wired.
SymbolsModule *installSymbols(ShellHost &host, EditorState &state, const Platform &platform,
                              SymbolHooks hooks = {});
