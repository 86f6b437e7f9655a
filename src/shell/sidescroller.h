#pragma once

#include <QScrollArea>

// Holds a panel of fixed design size at a side of the window (the symbol palettes, the exercise
// panel). On a screen too short for the design (800 × 600 with a window manager's title bar)
// the panel scrolls instead of pushing the window, its status bar and the bottom of the text
// past the screen's edge; it widens by the scroll bar only while the bar shows.
class SideScroller : public QScrollArea
{
    Q_OBJECT
public:
    explicit SideScroller(QWidget *panel, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitWidth();
};
