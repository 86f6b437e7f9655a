#pragma once

#include <QRect>

// Where the main window opens. Screens wider than 850 pixels get a normal window of 800 x 600
// pixels centred on the screen; narrower screens (a netbook, a projector at 800 x 600) cannot
// show that size with its frame, so the window opens maximised there, from the same designed
// size, cut to the screen, for when the user restores it.
struct WindowPlacement
{
    static constexpr int wideScreenLimit = 850;
    static constexpr QSize normalSize{800, 600};

    bool maximised = false;
    QRect geometry; // pixels, the client area, on the screen

    friend bool operator==(const WindowPlacement &, const WindowPlacement &) = default;
};

WindowPlacement placeWindow(const QRect &screen);
