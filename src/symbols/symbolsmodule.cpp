#include "symbolsmodule.h"

#include "ionformuladialog.h"
#include "pasteroad.h"
#include "platform/editorstate.h"
#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "symbolpalette.h"

#include <QWidget>

SymbolsModule::SymbolsModule(ShellHost &host, EditorState &state, const Platform &platform, SymbolHooks hooks,
                             QObject *parent)
    : QObject(parent), m_hooks(std::move(hooks)), m_inserter(host.exo()),
      m_arrows(state, host.exo(), platform.clipboard, m_hooks),
      m_ionFormula(state, host.exo(), platform.clipboard, m_hooks, [&host](IonFormulaRequest &request) {
          QWidget *exo = host.exo().widget();
          IonFormulaDialog::run(request, exo ? exo->window() : nullptr);
      })
{
    if (!m_hooks.pasteClipboard)
        m_hooks.pasteClipboard = shiftInsertPaste(host.exo(), platform.keys);
}

SymbolsModule *installSymbols(ShellHost &host, EditorState &state, const Platform &platform,
                              SymbolHooks hooks)
{
    auto *palette = new SymbolPalette;
    host.placeWidget(WindowArea::SymbolPalettes, palette);
    auto *module = new SymbolsModule(host, state, platform, std::move(hooks), palette);
    palette->onSymbolClicked([module](const SymbolButton &button) { module->insertSymbol(button); });
    palette->onArrowsClicked([module] { module->arrows().insert(); });
    host.bindCommand(QStringLiteral("ionpoly"), [module] { module->ionFormula().run(); });
    host.bindCommand(QStringLiteral("Command9"), [module] { module->ionFormula().run(); });
    host.addStartupStep(StartupStep::PaletteButtons, [palette] { palette->prepareButtons(12); });
    return module;
}
