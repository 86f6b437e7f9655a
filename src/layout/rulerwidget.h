#pragma once

#include <QPointer>
#include <QWidget>

#include <array>

class QAbstractScrollArea;
class Ruler;
class TabMarker;

// The ruler `regle` on screen: centimetre graduations, the grey bands and the ten markers
// `tiptab_0`..`tiptab_9`. Its centimetre 0 stands on the left edge of the text, and follows the
// editor when it scrolls sideways. It draws what Ruler holds, at the scale Ruler gives for the
// view's zoom, and turns mouse gestures into Ruler calls.
class RulerWidget : public QWidget
{
    Q_OBJECT
public:
    RulerWidget(Ruler &ruler, QWidget *editor, QWidget *parent = nullptr);

    // Where ruler centimetre 0 lies, in this widget's pixels.
    double originPx() const;
    double toCm(double px) const;
    double toPx(double cm) const;
    TabMarker *marker(int index) const { return m_markers.at(index); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeMarkers();

    Ruler &m_ruler;
    QPointer<QAbstractScrollArea> m_editor;
    const QObject *m_watchedEditor = nullptr; // for identity only, never dereferenced
    std::array<TabMarker *, 10> m_markers{};
};

// One marker `tiptab(i)`: a drag moves it, the release sets its stop.
class TabMarker : public QWidget
{
    Q_OBJECT
public:
    TabMarker(Ruler &ruler, int index, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Ruler &m_ruler;
    int m_index;
};
