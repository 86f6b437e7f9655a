#include "rulerwidget.h"

#include "ruler.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace {

// The text engine keeps a margin of this many pixels between the viewport's edge and the text,
// at 100 %: the zoomed layout widens it with the text.
constexpr int textMarginPx = 4;
constexpr int rulerHeight = 26;
constexpr int markerHeight = 12;

} // namespace

RulerWidget::RulerWidget(Ruler &ruler, QWidget *editor, QWidget *parent)
    : QWidget(parent), m_ruler(ruler), m_editor(qobject_cast<QAbstractScrollArea *>(editor))
{
    setObjectName(QStringLiteral("regle"));
    setAccessibleName(tr("Règle"));
    setFixedHeight(rulerHeight);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    for (int i = 0; i < Ruler::markerCount; ++i) {
        m_markers[i] = new TabMarker(ruler, i, this);
        m_markers[i]->hide();
    }
    connect(&m_ruler, &Ruler::changed, this, [this] {
        placeMarkers();
        update();
    });
    if (m_editor) {
        connect(m_editor->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
            placeMarkers();
            update();
        });
        m_editor->installEventFilter(this);
        m_watchedEditor = editor;
    }
}

double RulerWidget::toCm(double px) const
{
    return m_ruler.toCm(px - originPx());
}

double RulerWidget::toPx(double cm) const
{
    return originPx() + m_ruler.toScreen(cm);
}

double RulerWidget::originPx() const
{
    if (!m_editor)
        return textMarginPx;
    // The layout rounds its margin to whole pixels at every zoom.
    const double margin = std::round(textMarginPx * m_ruler.zoomFactor());
    const QWidget *viewport = m_editor->viewport();
    const int left = viewport->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    return left + margin - m_editor->horizontalScrollBar()->value();
}

QSize RulerWidget::sizeHint() const
{
    return {int(12 * Ruler::pixelsPerCm), rulerHeight};
}

void RulerWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const double cmHeight = height() / 0.65; // the graduations fill the top of the ruler
    const auto y = [&](double cm) { return cm * cmHeight; };
    painter.fillRect(QRectF(toPx(0), 0, m_ruler.toScreen(m_ruler.gaucheWidth()), height()), Qt::lightGray);
    painter.fillRect(QRectF(toPx(m_ruler.droiteLeft()), 0, m_ruler.toScreen(m_ruler.droiteWidth()), height()),
                     Qt::lightGray);
    painter.setPen(Qt::black);
    for (int b = 0; b <= 11; ++b)
        painter.drawLine(QPointF(toPx(b + 0.5), y(0.1)), QPointF(toPx(b + 0.5), y(0.25)));
    for (double x = 0.25; x <= 11.75; x += 0.5)
        painter.drawLine(QPointF(toPx(x), y(0.15)), QPointF(toPx(x), y(0.2)));
    QFont small = font();
    small.setPixelSize(10);
    painter.setFont(small);
    const QFontMetricsF metrics(small);
    for (int i = 1; i <= 11; ++i) {
        const QString label = QStringLiteral(" ") + QString::number(i);
        const double x =
            toPx(i) - metrics.horizontalAdvance(label) / 2 - metrics.horizontalAdvance(QLatin1Char(' ')) / 2;
        painter.drawText(QPointF(x, metrics.ascent()), label);
    }
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

void RulerWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_ruler.click(toCm(event->position().x()));
}

bool RulerWidget::eventFilter(QObject *watched, QEvent *event)
{
    // Compared as a plain object: the editor also sends events while it is destroyed, when it is
    // no longer a scroll area, and the guarded pointer would cast it to one.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && watched == m_watchedEditor) {
        placeMarkers();
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void RulerWidget::placeMarkers()
{
    for (int i = 0; i < Ruler::markerCount; ++i) {
        TabMarker *marker = m_markers[i];
        marker->setGeometry(qRound(toPx(m_ruler.markerLeft(i))), height() - markerHeight, 32, markerHeight);
        marker->setVisible(m_ruler.markerVisible(i));
    }
}

TabMarker::TabMarker(Ruler &ruler, int index, QWidget *parent)
    : QWidget(parent), m_ruler(ruler), m_index(index)
{
    setObjectName(QStringLiteral("tiptab_%1").arg(index));
    setAccessibleName(tr("Taquet de tabulation %1").arg(index + 1));
    setCursor(Qt::SizeHorCursor);
}

void TabMarker::paintEvent(QPaintEvent *)
{
    // A left tab stop's sign, its corner on the stop (16 pixels in).
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(16, 1, 16, height() - 2);
    painter.drawLine(16, height() - 2, 24, height() - 2);
}

void TabMarker::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton)
        return;
    m_ruler.drag(m_index, event->position().x() * 15);
}

void TabMarker::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    m_ruler.drop(m_index);
}
