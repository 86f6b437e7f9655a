#include "palettebackground.h"

#include <QPainter>

#include <cmath>

PaletteBackground::PaletteBackground(int palette, QWidget *parent) : QWidget(parent), m_palette(palette)
{
    setObjectName(QStringLiteral("Picture%1").arg(palette + 1));
}

QColor PaletteBackground::bandColour(int palette, int y, int height)
{
    const double h = std::max(1, height);
    // Halves go to the even neighbour, so the bands fall where the original arithmetic put them.
    const int d = int(std::nearbyint((h - y) / h * 90.0 + 100.0));
    const int tint = std::clamp(d, 0, 255);
    switch (palette) {
    case 0:
        return QColor(193, tint, tint);
    case 1:
        return QColor(tint, 193, 193);
    default:
        return QColor(tint, tint, 193);
    }
}

void PaletteBackground::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int h = height();
    for (int y = 0; y <= h; ++y) {
        painter.setPen(bandColour(m_palette, y, h));
        painter.drawLine(0, y, width(), y);
    }
}
