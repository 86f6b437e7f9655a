#pragma once

#include "colorpalettedialog.h"
#include "formatcontrols.h"

#include <QObject>
#include <QRgb>

#include <functional>

class RichTextControl;
struct EditorState;

// The character commands: bold, italic and underline (`Check1`, `q21`..`q23`), the font box
// `Combo1`, the size `UpDown1`, "I" (`Command15`), the pen colours `optcoul`, the palette
// (`cotext`, `Command12`, dialog `coul`) and write protection.
//
// Handlers follow the mirror's phase: while `maj` writes a control (mirrorPhase 1 or 2) its
// handler updates the controls that follow it and leaves the document, its undo stack and the
// focus alone. The `set…` functions are how code writes a control: like a click, they run the
// control's handler when the value changes.
class CharacterFormat : public QObject
{
    Q_OBJECT
public:
    static QRgb penColor(int index); // optcoul(0..3): blue, black, red, green
    using PaletteAsk = std::function<PaletteChoice()>;

    CharacterFormat(EditorState &state, RichTextControl &exo, const FormatControls &controls,
                    QObject *parent = nullptr);

    // The palette dialog; tests put a scripted answer here.
    void setPaletteAsk(PaletteAsk ask) { m_askPalette = std::move(ask); }
    // True while the mirror writes the blank into the font box: its handler then does nothing.
    void setFontBoxGuard(bool on) { m_fontBoxGuard = on; }
    bool fontBoxGuard() const { return m_fontBoxGuard; }

    void fillFontList(const QStringList &screenFonts); // sorted, with " " first; shows "Arial"
    // Shows a name in the font box without choosing it: the box would otherwise take a name
    // that differs from its current entry as a choice when it loses the focus.
    void showFontName(const QString &name);

    // Handlers.
    void Check1_Click();
    void flipCheck1(int index); // q21, q22, q23
    void Combo1_Click(int entry);
    void UpDown1_Change();
    void Command15_Click();
    void optcoul_Click(int index);
    void showPalette(); // cotext, Command12
    void protection_Click();
    void updateProtectionItem(); // the Format menu opens

    // Writes from code.
    void setCheck1(int index, bool on);
    void selectOptcoul(int index); // -1: none selected
    void setUpDown1(int points);

private:
    void repaintAndFocus();

    EditorState &m_state;
    RichTextControl &m_exo;
    FormatControls m_controls;
    PaletteAsk m_askPalette;
    bool m_fontBoxGuard = false;
};
