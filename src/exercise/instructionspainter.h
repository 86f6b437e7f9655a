#pragma once

#include <QCoreApplication>
#include <QPoint>
#include <QSize>

#include <array>

class QPainter;

// Where the guide puts the exercise panel's controls, in panel pixels.
struct InstructionsPlacement
{
    static constexpr int iconCount = 5;
    QPoint moduleList;                      // Combo2
    std::array<QPoint, iconCount> icons;    // Image2, Command14, command10, Image3, Image4
    std::array<QPoint, iconCount> captions; // Label7 0..4
    friend bool operator==(const InstructionsPlacement &, const InstructionsPlacement &) = default;
};

// The guide of the exercise panel: a tinted background, the text of the procedure, and the
// places of the module list and of the workflow icons, taken from the text just drawn so they
// follow the real font metrics rather than fixed offsets. Draws the same thing every time.
class InstructionsPainter
{
    Q_DECLARE_TR_FUNCTIONS(InstructionsPainter)
public:
    // `size` is the panel in pixels. Captions are placed from the width of the first icon
    // (`Image2`) for all of them, so each column's captions share one left edge whatever the
    // widths of the other icons.
    static InstructionsPlacement paint(QPainter &painter, QSize size, int image2Width);

    // Blue of the background line at `y`: white at the top fading to pale yellow.
    static int backgroundBlue(int y, int height);
};
