#pragma once

#include "chemformulacommand.h"
#include "ionformulacommand.h"
#include "reactionarrows.h"
#include "symbolhooks.h"
#include "symbolinserter.h"

#include <QObject>

#include <functional>
#include <memory>

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
    using ControlFactory = std::function<std::unique_ptr<RichTextControl>()>;

    SymbolsModule(ShellHost &host, EditorState &state, const Platform &platform, SymbolHooks hooks,
                  ControlFactory createBuffer, QObject *parent);

    // `SPECIALCAr`: `echanti` modally, in `specialCharsFont`, which takes the grid's font back.
    void showSpecialCharacters();

    SymbolHooks &hooks() { return m_hooks; }
    void insertSymbol(const SymbolButton &button) { m_inserter.insert(button); }
    IonFormulaCommand &ionFormula() { return m_ionFormula; }
    ReactionArrows &arrows() { return m_arrows; }
    ChemFormulaCommand &chemFormula() { return m_chemFormula; }

private:
    ShellHost &m_host;
    EditorState &m_state;
    const Platform &m_platform;
    ControlFactory m_createBuffer;
    SymbolHooks m_hooks;
    SymbolInserter m_inserter;
    ReactionArrows m_arrows;
    IonFormulaCommand m_ionFormula;
    ChemFormulaCommand m_chemFormula;
};

// Builds the palettes into the window, binds the commands and registers the start-up step of
// the palette buttons, with the chemical formulas (`formchim`, `boutonchim`). Empty hooks are filled where
// this module can do the step itself (the paste through Shift+Insert); `memoriser` stays empty until the
// format memory is wired.
SymbolsModule *installSymbols(ShellHost &host, EditorState &state, const Platform &platform,
                              SymbolsModule::ControlFactory createBuffer, SymbolHooks hooks = {});
