#include "characterformat.h"

#include "formattoolbar.h"
#include "platform/controlstate.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"
#include "updown.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

QRgb CharacterFormat::penColor(int index)
{
    static constexpr std::array<QRgb, 4> pens = {0xff000a64, 0xff000000, 0xffc80000, 0xff00640a};
    return pens.at(index);
}

CharacterFormat::CharacterFormat(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                                 QObject *parent)
    : QObject(parent), m_state(state), m_exo(exo), m_controls(controls), m_askPalette([this] {
          return ColorPaletteDialog::ask(m_controls.bar ? m_controls.bar->window() : nullptr);
      })
{}

void CharacterFormat::fillFontList(const QStringList &screenFonts)
{
    QStringList names = screenFonts;
    names.append(QStringLiteral(" "));
    names.removeDuplicates();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    QComboBox *box = m_controls.bar->Combo1;
    box->clear();
    box->addItems(names);
    showFontName(QStringLiteral("Arial"));
}

void CharacterFormat::showFontName(const QString &name)
{
    QComboBox *box = m_controls.bar->Combo1;
    const int entry = box->findText(name);
    if (entry >= 0)
        box->setCurrentIndex(entry);
    box->setEditText(name);
}

void CharacterFormat::repaintAndFocus()
{
    m_exo.refresh();
    m_exo.setFocus();
}

void CharacterFormat::Check1_Click()
{
    if (m_state.mirrorPhase == 2)
        return;
    std::array<bool, 4> on{};
    for (int i = 1; i <= 3; ++i) {
        on[i] = m_controls.Check1[i]->isChecked();
        showChecked(m_controls.boldItalicUnderlineItems[i], on[i]);
    }
    if (m_state.mirrorPhase != 0)
        return;
    {
        // All three are written, whichever was clicked: one click, one undo step.
        const EditBlock block(m_exo);
        m_exo.setSelBold(on[1]);
        m_exo.setSelItalic(on[2]);
        m_exo.setSelUnderline(on[3]);
    }
    repaintAndFocus();
}

void CharacterFormat::flipCheck1(int index)
{
    setCheck1(index, !m_controls.Check1[index]->isChecked());
}

void CharacterFormat::Combo1_Click(int entry)
{
    QComboBox *box = m_controls.bar->Combo1;
    if (entry <= 0 || m_fontBoxGuard || entry >= box->count())
        return;
    const QString name = box->itemText(entry);
    m_exo.setSelFontName(name);
    m_exo.setFocus();
}

void CharacterFormat::UpDown1_Change()
{
    const int points = m_controls.bar->UpDown1->value();
    m_controls.bar->taille->setText(QString::number(points));
    if (m_state.mirrorPhase != 0)
        return;
    m_exo.setSelFontSize(points);
    repaintAndFocus();
}

void CharacterFormat::Command15_Click()
{
    {
        const EditBlock block(m_exo);
        m_exo.setSelFontName(QStringLiteral("Arial"));
        m_exo.setSelItalic(true);
    }
    m_exo.setFocus();
}

void CharacterFormat::optcoul_Click(int index)
{
    for (int i = 0; i < 4; ++i)
        showChecked(m_controls.optcoul[i], i == index);
    if (m_state.mirrorPhase != 0)
        return;
    m_exo.setSelColor(penColor(index));
    repaintAndFocus();
}

void CharacterFormat::showPalette()
{
    const PaletteChoice choice = m_askPalette();
    if (choice.chosen) {
        m_exo.setSelColor(choice.color);
        m_exo.refresh();
    }
    m_exo.setFocus();
}

void CharacterFormat::protection_Click()
{
    // The item's tick flips as it is chosen; what it showed before says which way to go.
    QAction *item = m_controls.protection;
    const bool wasChecked = !item->isChecked();
    m_exo.setSelProtected(!wasChecked);
    showChecked(item, !wasChecked);
}

void CharacterFormat::updateProtectionItem()
{
    showChecked(m_controls.protection, false);
    if (m_exo.selProtected() == true)
        showChecked(m_controls.protection, true);
}

void CharacterFormat::setCheck1(int index, bool on)
{
    QAction *toggle = m_controls.Check1[index];
    if (toggle->isChecked() == on)
        return;
    showChecked(toggle, on);
    Check1_Click();
}

void CharacterFormat::selectOptcoul(int index)
{
    if (index < 0) {
        for (QAction *button : m_controls.optcoul)
            showChecked(button, false);
        return;
    }
    if (m_controls.optcoul[index]->isChecked())
        return;
    optcoul_Click(index);
}

void CharacterFormat::setUpDown1(int points)
{
    m_controls.bar->UpDown1->setValue(points); // its change handler runs when the value moves
}
