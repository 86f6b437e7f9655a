#pragma once

class QWidget;

// A window manager draws a window's title in its title bar, beside the window's icon and its
// buttons, and elides a title longer than the room left. The room a title needs is measured in
// the window's own font made bold, which is no smaller than what the common desktop themes use.
namespace TitleBar {

// The width, in the window's pixels, at which its whole title shows.
int widthFor(const QWidget &window);
// Opens a window that sizes itself from its layout at its size hint, widened to that width.
// Call it once the contents are in place, before the window is shown.
void openWide(QWidget &window);

} // namespace TitleBar
