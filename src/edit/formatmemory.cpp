#include "formatmemory.h"

#include "richtext/richtextcontrol.h"

namespace {

// Copies the nine remembered attributes from one selection to another, in their fixed order;
// a mixed value is skipped and leaves the target as it was.
void copyFormat(const RichTextControl &from, RichTextControl &to)
{
    const auto copy = [](const auto &value, auto &&set) {
        if (value.hasValue())
            set(value.value());
    };
    copy(from.selAlignment(), [&](int v) { to.setSelAlignment(v); });
    copy(from.selBold(), [&](bool v) { to.setSelBold(v); });
    copy(from.selBullet(), [&](bool v) { to.setSelBullet(v); });
    copy(from.selCharOffset(), [&](int v) { to.setSelCharOffset(v); });
    copy(from.selColor(), [&](QRgb v) { to.setSelColor(v); });
    copy(from.selFontName(), [&](const QString &v) { to.setSelFontName(v); });
    copy(from.selFontSize(), [&](double v) { to.setSelFontSize(v); });
    copy(from.selItalic(), [&](bool v) { to.setSelItalic(v); });
    copy(from.selUnderline(), [&](bool v) { to.setSelUnderline(v); });
}

} // namespace

FormatMemory::FormatMemory(RichTextControl &exo, RichTextControl &tamponrtf)
    : m_exo(exo), m_tamponrtf(tamponrtf)
{}

void FormatMemory::memoriser()
{
    m_tamponrtf.setTextRtf(" ");
    m_tamponrtf.setSelection(TextRange{0, 1});
    copyFormat(m_exo, m_tamponrtf);
    m_tamponrtf.refresh();
}

void FormatMemory::restituer()
{
    // The format given back belongs to the paste that asked for it: one undo removes both.
    const EditBlock block(m_exo, EditBlock::JoinPrevious);
    copyFormat(m_tamponrtf, m_exo);
}
