#include "sidescroller.h"

#include <QResizeEvent>
#include <QScrollBar>

namespace {

// Short enough for the smallest screen, tall enough to show what the panel is.
constexpr int kMinimumHeight = 120;

} // namespace

SideScroller::SideScroller(QWidget *panel, QWidget *parent) : QScrollArea(parent)
{
    setObjectName(panel->objectName() + QStringLiteral("_scroller"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // The panel paints its own background; the area around it is the window's.
    viewport()->setAutoFillBackground(false);
    setWidget(panel);
    panel->installEventFilter(this); // a panel that grows with its fonts widens its side
    fitWidth();
}

bool SideScroller::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget() && event->type() == QEvent::Resize) {
        fitWidth();
        updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
}

QSize SideScroller::sizeHint() const
{
    const QWidget *panel = widget();
    return panel ? QSize(minimumWidth(), panel->height()) : QScrollArea::sizeHint();
}

QSize SideScroller::minimumSizeHint() const
{
    return {minimumWidth(), kMinimumHeight};
}

void SideScroller::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fitWidth();
}

void SideScroller::fitWidth()
{
    const QWidget *panel = widget();
    if (!panel)
        return;
    const bool scrolls = height() < panel->height();
    const int width = panel->width() + (scrolls ? verticalScrollBar()->sizeHint().width() : 0);
    if (width != minimumWidth())
        setFixedWidth(width);
}
