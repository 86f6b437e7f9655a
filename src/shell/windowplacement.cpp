#include "windowplacement.h"

WindowPlacement placeWindow(const QRect &screen)
{
    WindowPlacement placement;
    const QSize size = WindowPlacement::normalSize;
    const QRect centred(screen.x() + (screen.width() - size.width()) / 2,
                        screen.y() + (screen.height() - size.height()) / 2, size.width(), size.height());
    placement.maximised = screen.width() <= WindowPlacement::wideScreenLimit;
    // A small screen keeps the restored window on the screen, whatever the designed size.
    placement.geometry = placement.maximised ? centred.intersected(screen) : centred;
    return placement;
}
