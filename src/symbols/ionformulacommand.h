#pragma once

#include "ionformuladialog.h"

#include <functional>

class Clipboard;
class RichTextControl;
struct EditorState;
struct SymbolHooks;

// `ionpoly` and `Command9`: the polyatomic ion composer. The dialog is shown through `showDialog`
// (the real `polyion` by default), so tests hand the request back themselves.
class IonFormulaCommand
{
public:
    using DialogRunner = std::function<void(IonFormulaRequest &)>;

    IonFormulaCommand(EditorState &state, RichTextControl &exo, Clipboard &clipboard,
                      const SymbolHooks &hooks, DialogRunner showDialog);

    void run();
    // The screen's device pixels per pixel; by default that of exo's widget.
    void setDevicePixelRatioSource(std::function<qreal()> source) { m_ratio = std::move(source); }

    // The request the dialog opens with: exo's selection, raised to 10 points first.
    IonFormulaRequest prepare();

private:
    EditorState &m_state;
    RichTextControl &m_exo;
    Clipboard &m_clipboard;
    const SymbolHooks &m_hooks;
    DialogRunner m_showDialog;
    std::function<qreal()> m_ratio;
};
