#include "colorpalettedialog.h"

#include "platform/titlebar.h"

#include <QPushButton>

namespace {

// Rows top to bottom, columns left to right: greys, then reds, oranges, yellows, greens,
// cyans, blues and magentas, each from light to dark.
constexpr std::array<std::array<QRgb, 6>, 8> paletteRows = {{
    {0xffffff, 0xe0e0e0, 0xc0c0c0, 0x808080, 0x404040, 0x000000},
    {0xffc0c0, 0xff8080, 0xff0000, 0xc00000, 0x800000, 0x400000},
    {0xffe0c0, 0xffc080, 0xff8000, 0xc04000, 0x804000, 0x804040},
    {0xffffc0, 0xffff80, 0xffff00, 0xc0c000, 0x808000, 0x404000},
    {0xc0ffc0, 0x80ff80, 0x00ff00, 0x00c000, 0x008000, 0x004000},
    {0xc0ffff, 0x80ffff, 0x00ffff, 0x00c0c0, 0x008080, 0x004040},
    {0xc0c0ff, 0x8080ff, 0x0000ff, 0x0000c0, 0x000080, 0x000040},
    {0xffc0ff, 0xff80ff, 0xff00ff, 0xc000c0, 0x800080, 0x400040},
}};

constexpr int twipsPerPixel = 15;
constexpr int cellTwips = 255;
constexpr int pitchTwips = 360;
constexpr int originTwips = 120;

} // namespace

QRgb ColorPaletteDialog::cellColor(int index)
{
    Q_ASSERT(index >= 0 && index < cellCount);
    return 0xff000000 | paletteRows[index % 8][index / 8];
}

ColorPaletteDialog::ColorPaletteDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("coul"));
    setWindowTitle(tr("Couleurs"));
    setModal(true);
    const int cell = cellTwips / twipsPerPixel;
    for (int i = 0; i < cellCount; ++i) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("Label1_%1").arg(i));
        const QColor color(cellColor(i));
        button->setAccessibleName(
            tr("Couleur %1, %2, %3").arg(color.red()).arg(color.green()).arg(color.blue()));
        button->setToolTip(button->accessibleName());
        button->setGeometry((originTwips + pitchTwips * (i / 8)) / twipsPerPixel,
                            (originTwips + pitchTwips * (i % 8)) / twipsPerPixel, cell, cell);
        button->setFlat(true);
        button->setAutoFillBackground(true);
        button->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; border: 1px solid #606060; }")
                .arg(color.name()));
        connect(button, &QPushButton::clicked, this, [this, i] {
            m_choice = PaletteChoice{true, cellColor(i)};
            accept();
        });
    }
    const int gridRight = (originTwips + pitchTwips * 5 + cellTwips) / twipsPerPixel;
    const int gridBottom = (originTwips + pitchTwips * 7 + cellTwips) / twipsPerPixel;
    auto *cancel = new QPushButton(tr("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command1"));
    cancel->setAccessibleName(tr("Annuler"));
    cancel->adjustSize();
    cancel->move(gridRight - cancel->width(), gridBottom + 10);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // The grid keeps its place; a title wider than the grid widens the window on the right.
    setFixedSize(std::max(gridRight + originTwips / twipsPerPixel, TitleBar::widthFor(*this)),
                 cancel->geometry().bottom() + 10);
}

PaletteChoice ColorPaletteDialog::ask(QWidget *parent)
{
    ColorPaletteDialog dialog(parent);
    dialog.exec();
    return dialog.choice();
}
