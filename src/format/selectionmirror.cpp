#include "selectionmirror.h"

#include "characterformat.h"
#include "edit/formatmemory.h"
#include "formatcontrols.h"
#include "formattoolbar.h"
#include "layout/ruler.h"
#include "paragraphformat.h"
#include "platform/controlstate.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"
#include "scriptformat.h"
#include "updown.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace {

const QString symbolFont = QStringLiteral("Symbol");

// Pixels to ruler centimetres, as the ruler's bands have always been placed.
constexpr double pixelsToRuler = 9.3456 / 357;

} // namespace

SelectionMirror::SelectionMirror(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                                 CharacterFormat &characters, ParagraphFormat &paragraphs,
                                 ScriptFormat &scripts, Ruler &ruler, FormatMemory &memory, QObject *parent)
    : QObject(parent), m_state(state), m_exo(exo), m_controls(controls), m_characters(characters),
      m_paragraphs(paragraphs), m_scripts(scripts), m_ruler(ruler), m_memory(memory)
{}

void SelectionMirror::connectEditor()
{
    connect(&m_exo, &RichTextControl::clicked, this, &SelectionMirror::maj);
    connect(&m_exo, &RichTextControl::focusGained, this, &SelectionMirror::maj);
    connect(&m_exo, &RichTextControl::mouseDown, this, &SelectionMirror::onMouseDown);
    connect(&m_exo, &RichTextControl::selectionChanged, this, &SelectionMirror::onSelectionChanged);
    connect(&m_exo, &RichTextControl::keyDown, this, &SelectionMirror::onKeyDown);
    connect(&m_exo, &RichTextControl::keyPress, this, &SelectionMirror::onKeyPress);
    connect(&m_exo, &RichTextControl::formatChanged, this, &SelectionMirror::onFormatChanged);
}

void SelectionMirror::onFormatChanged()
{
    // A command that changed the format (by a click, a key or an accessibility action, focus
    // or none) leaves the tool bar showing the selection as it now is. A command calls several
    // setters: one refresh once it is done. The mirror's own settings call for none.
    if (m_inMaj || m_majPending)
        return;
    m_majPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_majPending = false;
            maj();
        },
        Qt::QueuedConnection);
}

void SelectionMirror::maj()
{
    const QScopedValueRollback inMaj(m_inMaj, true);
    m_characters.setFontBoxGuard(false);
    mirrorRuler();
    mirrorFontBox();
    m_state.mirrorPhase = 1;
    mirrorScripts();
    m_state.mirrorPhase = 2;
    mirrorToggles();
    m_state.mirrorPhase = 1;
    mirrorColour();
    mirrorAlignment();
    const Mixed<QRgb> colour = m_exo.selColor();
    if (colour.hasValue())
        m_controls.bar->cotext->setTextColor(colour.value());
    mirrorSize();
    m_state.mirrorPhase = 0;
}

void SelectionMirror::mirrorRuler()
{
    const Mixed<double> indent = m_exo.selIndent();
    const Mixed<double> rightIndent = m_exo.selRightIndent();
    // Each band moves on its own; a mixed indent leaves its band where it was.
    const float gauche = indent.hasValue() ? float(indent.value() * pixelsToRuler) : m_ruler.gaucheWidth();
    const float droiteLeft = rightIndent.hasValue()
                                 ? float(((m_exo.rightMargin() + 8) - rightIndent.value()) * pixelsToRuler)
                                 : m_ruler.droiteLeft();
    m_ruler.setBands(gauche, droiteLeft, 300);
    m_ruler.majregle();
}

void SelectionMirror::mirrorFontBox()
{
    QComboBox *box = m_controls.bar->Combo1;
    const Mixed<QString> font = m_exo.selFontName();
    // Leaving a symbol: what is typed after a Greek letter is in the text's font again.
    if (m_exo.selLength() == 0 && font == symbolFont)
        m_exo.setSelFontName(box->currentText());
    if (font.isMixed()) {
        m_characters.setFontBoxGuard(true);
        m_characters.showFontName(QStringLiteral(" "));
    } else if (font != symbolFont) {
        m_characters.showFontName(font.value());
    }
    m_characters.setFontBoxGuard(false);
}

void SelectionMirror::mirrorScripts()
{
    const Mixed<int> offset = m_exo.selCharOffset();
    if (offset.isMixed()) {
        m_scripts.selectOption2(ScriptFormat::NoChoice);
        m_scripts.setCheck3(0, false);
        m_scripts.setCheck3(1, false);
        return;
    }
    if (offset == 0)
        m_scripts.selectOption2(ScriptFormat::Normal);
    if (offset < 0)
        m_scripts.selectOption2(ScriptFormat::Index);
    m_scripts.setCheck3(1, offset < 0);
    if (offset > 0)
        m_scripts.selectOption2(ScriptFormat::Exponent);
    m_scripts.setCheck3(0, offset > 0);
}

void SelectionMirror::mirrorToggles()
{
    const bool bullet = m_exo.selBullet() == true;
    m_paragraphs.setBull(bullet);
    showChecked(m_controls.bull2, bullet);
    const std::array<Mixed<bool>, 4> styles = {false, m_exo.selBold(), m_exo.selItalic(),
                                               m_exo.selUnderline()};
    for (int i = 1; i <= 3; ++i) {
        const bool on = styles[i] == true;
        m_characters.setCheck1(i, on);
        showChecked(m_controls.boldItalicUnderlineItems[i], on);
    }
}

void SelectionMirror::mirrorColour()
{
    m_characters.selectOptcoul(-1);
    const Mixed<QRgb> colour = m_exo.selColor();
    for (int i = 0; i < 4; ++i) {
        if (colour.hasValue() && qRgb(qRed(colour.value()), qGreen(colour.value()), qBlue(colour.value())) ==
                                     CharacterFormat::penColor(i)) {
            m_characters.selectOptcoul(i);
        }
    }
}

void SelectionMirror::mirrorAlignment()
{
    const Mixed<int> alignment = m_exo.selAlignment();
    if (alignment.isMixed())
        return;
    const int button = ParagraphFormat::buttonOfAlignment(alignment.value());
    if (button < 0)
        return;
    m_paragraphs.selectOption3(button);
    for (int i = 0; i < 3; ++i)
        showChecked(m_controls.alignmentItems[i], i == button);
}

void SelectionMirror::mirrorSize()
{
    const Mixed<double> size = m_exo.selFontSize();
    if (size.isMixed()) {
        m_controls.bar->taille->setText(QString());
        return;
    }
    // Outside the up-down's range the box shows the value it keeps.
    // A half-point size shows rounded (11.5 as 12), as the up-down holds whole points.
    if (size >= 8.0 && size <= 72.0)
        m_characters.setUpDown1(qRound(size.value()));
    m_controls.bar->taille->setText(QString::number(m_controls.bar->UpDown1->value()));
}

void SelectionMirror::onSelectionChanged()
{
    maj();
    if (m_state.savingAs != 1 && m_state.formatRestorePending == 1) {
        m_memory.restituer();
        m_state.formatRestorePending = 0;
        maj();
    }
}

void SelectionMirror::onMouseDown(const MouseStroke &mouse)
{
    if (mouse.button == Qt::LeftButton)
        maj();
}

void SelectionMirror::onKeyDown(KeyStroke &key)
{
    // Shift+Tab arrives as Backtab; whatever the modifiers, the text gets a tab and the focus
    // stays in the editor.
    if (key.key != Qt::Key_Tab && key.key != Qt::Key_Backtab)
        return;
    key.consumed = true;
    // Protected text takes no typing, and a tab is typing.
    if (!(m_exo.selProtected() == false))
        return;
    m_exo.setSelRtf(QByteArrayLiteral("{\\tab }"));
    m_state.documentSaved = 0;
}

void SelectionMirror::onKeyPress(KeyStroke &key)
{
    Q_UNUSED(key);
    if (m_exo.selProtected() == false)
        m_state.documentSaved = 0;
}
