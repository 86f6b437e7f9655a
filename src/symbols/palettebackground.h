#pragma once

#include <QColor>
#include <QWidget>

// A palette's picture box (`Picture1` to `Picture3`): one-pixel bands fading from a pale tint
// at the top to a deeper one at the bottom, under the buttons.
class PaletteBackground : public QWidget
{
    Q_OBJECT
public:
    PaletteBackground(int palette, QWidget *parent = nullptr);

    // Band colour of row y in a box `height` pixels high, for palette 0 "Grec", 1 "Math I",
    // 2 "Math II".
    static QColor bandColour(int palette, int y, int height);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_palette;
};
