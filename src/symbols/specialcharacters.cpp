#include "specialcharacters.h"

#include "richtext/richtextcontrol.h"

namespace {

// Copies one attribute when exo's selection has a single value of it; a mixed one leaves the
// buffer's previous value.
template <typename T, typename Setter> void copy(const Mixed<T> &value, Setter set)
{
    if (value.hasValue())
        set(value.value());
}

} // namespace

SpecialCharacters::SpecialCharacters(RichTextControl &exo, RichTextControl &tampontext, FontBox fontBox)
    : m_exo(exo), m_buffer(tampontext), m_fontBox(std::move(fontBox))
{}

void SpecialCharacters::insert(const QString &gridFont, unsigned char code)
{
    const Mixed<QString> exoFont = m_exo.selFontName();
    QString toolBarFont = (m_fontBox.text ? m_fontBox.text() : exoFont.valueOr(QString())).trimmed();
    if (toolBarFont.isEmpty() && exoFont.isMixed() && m_exo.selLength() > 0) {
        // The box is blank over several fonts: typing goes on in the font of the selection's
        // first character, as after a palette symbol, never in the grid's font.
        const TextRange selection = m_exo.selection();
        m_exo.setSelection({selection.start, 1});
        toolBarFont = m_exo.selFontName().valueOr(QString());
        m_exo.setSelection(selection);
    }

    m_buffer.setText(QByteArray(1, char(code)));
    m_buffer.setSelection({0, 1});
    m_buffer.setSelFontName(gridFont);
    copy(m_exo.selFontSize(), [this](double v) { m_buffer.setSelFontSize(v); });
    copy(m_exo.selBold(), [this](bool v) { m_buffer.setSelBold(v); });
    copy(m_exo.selUnderline(), [this](bool v) { m_buffer.setSelUnderline(v); });
    copy(m_exo.selItalic(), [this](bool v) { m_buffer.setSelItalic(v); });
    copy(m_exo.selStrikethrough(), [this](bool v) { m_buffer.setSelStrikethrough(v); });
    copy(m_exo.selColor(), [this](QRgb v) { m_buffer.setSelColor(v); });
    copy(m_exo.selCharOffset(), [this](int v) { m_buffer.setSelCharOffset(v); });
    copy(m_exo.selAlignment(), [this](int v) { m_buffer.setSelAlignment(v); });
    copy(m_exo.selIndent(), [this](double v) { m_buffer.setSelIndent(v); });

    {
        const EditBlock block(m_exo); // the click is one undo step
        m_exo.setSelRtf(m_buffer.selRtf());
        m_exo.refresh();
        if (!toolBarFont.isEmpty())
            m_exo.setSelFontName(toolBarFont);
    }
    if (m_fontBox.setText && !toolBarFont.isEmpty())
        m_fontBox.setText(toolBarFont);
    m_exo.refresh();
}
