#pragma once

#include <QObject>

#include <array>

class MessageBoxes;
class RichTextControl;

// The ruler `regle` without its drawing: the ten tab markers `tiptab`, the grey bands `gauche`
// and `droite`, and what a click or a drag does to the selection's tab stops. Ruler positions
// are centimetres from the ruler's left edge; the control's tab stops are editor pixels, at a
// fixed 38.2 pixels to the centimetre. The view's zoom stretches the ruler on screen as it
// stretches the text, so a centimetre spans pixelsPerCm times the zoom there; the stops and the
// centimetres themselves do not change with it.
class Ruler : public QObject
{
    Q_OBJECT
public:
    static constexpr int markerCount = 10;
    static constexpr double pixelsPerCm = 38.2;
    static constexpr int maxTabStops = 32;        // what a paragraph holds
    static constexpr double markerOffsetPx = 16;  // a marker's middle sits on its stop
    static constexpr double hotSpotTwips = 225;   // where a dragged marker is held
    static constexpr double twipsPerCm = 573;     // 38.2 pixels of 15 twips
    static constexpr double minMarkerLeft = -0.4; // a dragged marker's left edge at 100 %, cm
    static constexpr double maxMarkerLeft = 8.1;

    Ruler(RichTextControl &exo, MessageBoxes &messages, QObject *parent = nullptr);

    // Places, shows and hides the markers from the selection's tab stops. Mixed stops leave
    // the markers as they are; stops past the tenth get no marker.
    void majregle();

    // A mouse button released on the ruler at `xCm`: a new stop there, kept in index order
    // (after an equal one); refused with "Tabulation refusée" when the stops are mixed.
    void click(double xCm);
    // The mouse moved over marker i with a button held, `xTwips` inside the marker.
    void drag(int marker, double xTwips);
    // The button was released over marker i: its stop moves where the marker stands.
    void drop(int marker);

    // Every marker out of sight, as at start-up.
    void hideMarkers();

    // The view's zoom as a factor: 2 at 200 %.
    double zoomFactor() const;
    // Screen pixels from the ruler's centimetre 0 to centimetre `cm`, and back, at the view's
    // zoom. A click on the screen place of a stop gives that stop.
    double screenPixelsPerCm() const;
    double toScreen(double cm) const { return cm * screenPixelsPerCm(); }
    double toCm(double screenPx) const { return screenPx / screenPixelsPerCm(); }

    // A marker's left edge, ruler centimetres. The marker keeps its size on screen whatever
    // the zoom, so its stop line stands markerOffsetPx screen pixels to the right of this.
    double markerLeft(int marker) const;
    bool markerVisible(int marker) const { return m_visible.at(marker); }

    // The grey bands, in ruler centimetres (single precision, as the mirror stores them).
    void setBands(float gaucheWidth, float droiteLeft, float droiteWidth);
    float gaucheWidth() const { return m_gaucheWidth; }
    float droiteLeft() const { return m_droiteLeft; }
    float droiteWidth() const { return m_droiteWidth; }

Q_SIGNALS:
    void changed(); // markers or bands moved: repaint

private:
    void refuse();
    // How far right of a marker's left edge a drop reads its stop, ruler centimetres: 0.4 cm
    // at 100 %, a little less than markerOffsetPx, as the stops have always moved.
    double dropHoldCm() const { return -minMarkerLeft / zoomFactor(); }

    RichTextControl &m_exo;
    MessageBoxes &m_messages;
    // Where each marker points, ruler centimetres: the stop it was placed on or where a drag
    // took it. Kept apart from the zoom, so a zoom moves no marker off its stop.
    std::array<double, markerCount> m_pointsAt{};
    std::array<bool, markerCount> m_visible{};
    float m_gaucheWidth = 0;
    float m_droiteLeft = 0;
    float m_droiteWidth = 0;
};
