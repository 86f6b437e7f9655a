#include "symbolinserter.h"

#include "richtext/richtextcontrol.h"
#include "symboltable.h"

void SymbolInserter::insert(const SymbolButton &button)
{
    const EditBlock block(m_exo); // the click is one undo step
    Mixed<QString> previousFont = m_exo.selFontName();
    if (previousFont.isMixed() && m_exo.selLength() > 0) {
        // Several fonts under the selection: typing goes on in the font of its first
        // character, which is where the user started the selection.
        const TextRange selection = m_exo.selection();
        m_exo.setSelection({selection.start, 1});
        previousFont = m_exo.selFontName();
        m_exo.setSelection(selection);
    }
    m_exo.setSelFontName(button.fontName);
    m_exo.setSelText(QByteArray(1, char(button.code)));
    m_exo.refresh();
    if (previousFont.hasValue())
        m_exo.setSelFontName(previousFont.value());
    m_exo.refresh();
    m_exo.setFocus();
}
