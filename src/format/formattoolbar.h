#pragma once

#include <QLabel>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QToolButton;
class UpDown;

// The colour swatch `cotext`: the word "Couleur" written in the selection's colour; a click
// opens the palette.
class ColorSwatch : public QLabel
{
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);
    void setTextColor(QRgb color);
    QRgb textColor() const { return m_color; }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRgb m_color = 0xff000000;
};

// The second tool-bar row: the controls of the character and script formats that are no
// picture buttons. It holds no state of its own: the mirror writes it, the controllers read it.
class FormatToolBar : public QWidget
{
    Q_OBJECT
public:
    explicit FormatToolBar(QWidget *parent = nullptr);

    QComboBox *Combo1;
    QLineEdit *taille;
    UpDown *UpDown1;
    QToolButton *Command15;
    ColorSwatch *cotext;
    std::array<QRadioButton *, 3> Option2{};
    std::array<QCheckBox *, 2> Check3{};
    UpDown *udexp;
    QLabel *decexp;
    UpDown *udind;
    QLabel *decind;
};
