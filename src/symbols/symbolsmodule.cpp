#include "symbolsmodule.h"

#include "ionformuladialog.h"
#include "pasteroad.h"
#include "platform/editorstate.h"
#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "specialcharacters.h"
#include "specialcharsdialog.h"
#include "symbolpalette.h"

#include <QAction>
#include <QWidget>

SymbolsModule::SymbolsModule(ShellHost &host, EditorState &state, const Platform &platform, SymbolHooks hooks,
                             ControlFactory createBuffer, QObject *parent)
    : QObject(parent), m_host(host), m_state(state), m_platform(platform),
      m_createBuffer(std::move(createBuffer)), m_hooks(std::move(hooks)), m_inserter(host.exo()),
      m_arrows(state, host.exo(), platform.clipboard, m_hooks),
      m_ionFormula(state, host.exo(), platform.clipboard, m_hooks,
                   [&host](IonFormulaRequest &request) {
                       QWidget *exo = host.exo().widget();
                       IonFormulaDialog::run(request, exo ? exo->window() : nullptr);
                   }),
      m_chemFormula(state, host.exo(), [this] {
          return m_hooks.scriptSettings ? m_hooks.scriptSettings() : ChemScriptSettings{};
      })
{
    if (!m_hooks.pasteClipboard)
        m_hooks.pasteClipboard = shiftInsertPaste(host.exo(), platform.keys);
    if (!m_hooks.scriptSettings) {
        QAction *check2 = host.command(QStringLiteral("check2"));
        m_hooks.scriptSettings = [check2] {
            ChemScriptSettings settings;
            settings.smallMode = check2 ? check2->isChecked() : settings.smallMode;
            return settings;
        };
    }
}

void SymbolsModule::showSpecialCharacters()
{
    if (!m_createBuffer)
        return;
    const std::unique_ptr<RichTextControl> tampontext = m_createBuffer();
    tampontext->setObjectName(QStringLiteral("tampontext"));
    SpecialCharacters characters(m_host.exo(), *tampontext, m_hooks.fontBox);
    QWidget *exo = m_host.exo().widget();
    SpecialCharsDialog dialog(
        m_state.specialCharsFont, m_platform.system.screenFonts(),
        [&characters](const QString &font, unsigned char code) { characters.insert(font, code); },
        exo ? exo->window() : nullptr);
    dialog.exec();
    m_state.specialCharsFont = dialog.gridFont();
}

SymbolsModule *installSymbols(ShellHost &host, EditorState &state, const Platform &platform,
                              SymbolsModule::ControlFactory createBuffer, SymbolHooks hooks)
{
    auto *palette = new SymbolPalette;
    host.placeWidget(WindowArea::SymbolPalettes, palette);
    auto *module =
        new SymbolsModule(host, state, platform, std::move(hooks), std::move(createBuffer), palette);
    palette->onSymbolClicked([module](const SymbolButton &button) { module->insertSymbol(button); });
    palette->onArrowsClicked([module] { module->arrows().insert(); });
    host.bindCommand(QStringLiteral("SPECIALCAr"), [module] { module->showSpecialCharacters(); });
    host.bindCommand(QStringLiteral("ionpoly"), [module] { module->ionFormula().run(); });
    host.bindCommand(QStringLiteral("Command9"), [module] { module->ionFormula().run(); });
    host.bindCommand(QStringLiteral("formchim"), [module] { module->chemFormula().run(); });
    host.bindCommand(QStringLiteral("boutonchim"), [module] { module->chemFormula().run(); });
    host.addStartupStep(StartupStep::PaletteButtons, [palette] { palette->prepareButtons(12); });
    return module;
}
