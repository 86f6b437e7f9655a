#pragma once

#include <QDialog>
#include <QRgb>

#include <array>

// What the palette `coul` gives back: a colour, or nothing when "Annuler" closed it.
struct PaletteChoice
{
    bool chosen = false;
    QRgb color = 0;
};

// The modal palette `coul` "Couleurs": 48 cells `Label1_0`..`Label1_47`, six columns of eight,
// cell i in column i / 8 and row i % 8, each a 255-twip square at a 360-twip pitch from
// (120, 120) twips; and `Command1` "Annuler".
class ColorPaletteDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int cellCount = 48;
    static QRgb cellColor(int index); // 0..47

    explicit ColorPaletteDialog(QWidget *parent = nullptr);
    PaletteChoice choice() const { return m_choice; }

    // Shows the palette modally and returns what was picked.
    static PaletteChoice ask(QWidget *parent);

private:
    PaletteChoice m_choice;
};
