#include "ionformulacommand.h"

#include "platform/clipboard.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"
#include "symbolhooks.h"

#include <QGuiApplication>
#include <QWidget>

IonFormulaCommand::IonFormulaCommand(EditorState &state, RichTextControl &exo, Clipboard &clipboard,
                                     const SymbolHooks &hooks, DialogRunner showDialog)
    : m_state(state), m_exo(exo), m_clipboard(clipboard), m_hooks(hooks), m_showDialog(std::move(showDialog))
{
    m_ratio = [this] {
        const QWidget *widget = m_exo.widget();
        return widget ? widget->devicePixelRatioF() : qGuiApp->devicePixelRatio();
    };
}

IonFormulaRequest IonFormulaCommand::prepare()
{
    // The 10-point minimum changes the document, also when the dialog is cancelled; the format
    // memory gives the smaller size back at the next selection change.
    if (m_exo.selFontSize() < 10.0)
        m_exo.setSelFontSize(10);
    IonFormulaRequest request;
    // A mixed attribute leaves the boxes at their design value.
    request.style.fontName = m_exo.selFontName().valueOr(QGuiApplication::font().family());
    request.style.size = m_exo.selFontSize().valueOr(10);
    request.style.bold = m_exo.selBold().valueOr(false);
    request.style.italic = m_exo.selItalic().valueOr(false);
    request.style.colour = m_exo.selColor().valueOr(qRgb(0, 0, 0));
    return request;
}

void IonFormulaCommand::run()
{
    m_state.formatRestorePending = 1;
    if (m_hooks.memoriser)
        m_hooks.memoriser();
    m_state.ionFormulaReady = 0;
    IonFormulaRequest request = prepare();
    if (m_showDialog)
        m_showDialog(request);
    if (request.accepted) {
        const QImage picture =
            IonFormulaPicture::compose(request.formula, request.style, m_ratio ? m_ratio() : 1);
        m_clipboard.clear();
        m_clipboard.setImage(picture);
        m_state.ionFormulaReady = 1;
    }
    if (m_state.ionFormulaReady != 0 && m_hooks.pasteClipboard)
        m_hooks.pasteClipboard();
}
