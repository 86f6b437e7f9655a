#include "titlebar.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

int TitleBar::widthFor(const QWidget &window)
{
    QFont bold = window.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // The icon and the minimize, maximize and close buttons are each about a line high and
    // stand a few pixels apart, with a margin at each end of the bar; a centred title keeps
    // as much room on its left as the three buttons take on its right.
    const int frameButtons = 6 * (metrics.height() + 6) + 16;
    return metrics.horizontalAdvance(window.windowTitle()) + frameButtons;
}

void TitleBar::openWide(QWidget &window)
{
    const QSize hint = window.sizeHint();
    if (window.windowTitle().isEmpty() || hint.width() >= widthFor(window))
        return;
    window.resize(widthFor(window), hint.height());
}
