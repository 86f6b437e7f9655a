#include "ruler.h"

#include "platform/messageboxes.h"
#include "richtext/richtextcontrol.h"

#include <QCoreApplication>

#include <cmath>

Ruler::Ruler(RichTextControl &exo, MessageBoxes &messages, QObject *parent)
    : QObject(parent), m_exo(exo), m_messages(messages)
{
    connect(&m_exo, &RichTextControl::zoomChanged, this, &Ruler::changed);
}

double Ruler::zoomFactor() const
{
    return m_exo.zoom() / 100.0;
}

double Ruler::screenPixelsPerCm() const
{
    return pixelsPerCm * zoomFactor();
}

double Ruler::markerLeft(int marker) const
{
    return m_pointsAt.at(marker) - markerOffsetPx / screenPixelsPerCm();
}

void Ruler::majregle()
{
    const Mixed<int> count = m_exo.selTabCount();
    if (count.isMixed())
        return;
    for (int i = 0; i < markerCount; ++i) {
        const Mixed<double> position = i < count.value() ? m_exo.selTabs(i) : Mixed<double>::mixed();
        if (i < count.value() && position.hasValue()) {
            m_pointsAt[i] = position.value() / pixelsPerCm;
            m_visible[i] = true;
        } else if (i >= count.value()) {
            m_visible[i] = false;
        }
    }
    Q_EMIT changed();
}

void Ruler::click(double xCm)
{
    const Mixed<int> before = m_exo.selTabCount();
    // A paragraph holds at most 32 stops: a 33rd would silently push the last one out.
    if (before.isMixed() || before.value() >= maxTabStops) {
        refuse();
        return;
    }
    QList<double> old;
    for (int j = 0; j < before.value(); ++j) {
        const Mixed<double> position = m_exo.selTabs(j);
        if (position.isMixed()) {
            refuse();
            return;
        }
        old.append(position.value());
    }
    // Round half to even, as the 16-bit conversion does: 2.5 cm (95.5 px) gives 96, 1.5 px 2.
    const double p = std::nearbyint(xCm * pixelsPerCm);
    int k = 0;
    for (int j = 0; j < old.size(); ++j) {
        if (p >= old.at(j))
            k = j + 1;
    }
    {
        const EditBlock block(m_exo); // the click is one undo step
        m_exo.setSelTabCount(before.value() + 1);
        for (int l = before.value(); l > k; --l)
            m_exo.setSelTabs(l, old.at(l - 1));
        m_exo.setSelTabs(k, p);
    }
    majregle();
    m_exo.setFocus();
}

void Ruler::drag(int marker, double xTwips)
{
    if (marker < 0 || marker >= markerCount)
        return;
    // The mouse moves in screen twips; the marker's reach is the stops' reach at 100 %, 0 to
    // 8.5 cm, whatever the zoom.
    const double hold = dropHoldCm();
    const double left = markerLeft(marker) + (xTwips - hotSpotTwips) / (twipsPerCm * zoomFactor());
    const double bounded = qBound(-hold, left, maxMarkerLeft - minMarkerLeft - hold);
    m_pointsAt[marker] = bounded + markerOffsetPx / screenPixelsPerCm();
    Q_EMIT changed();
}

void Ruler::drop(int marker)
{
    if (marker < 0 || marker >= markerCount)
        return;
    m_exo.setSelTabs(marker, (markerLeft(marker) + dropHoldCm()) * pixelsPerCm);
    majregle();
}

void Ruler::hideMarkers()
{
    m_visible.fill(false);
    Q_EMIT changed();
}

void Ruler::setBands(float gaucheWidth, float droiteLeft, float droiteWidth)
{
    m_gaucheWidth = gaucheWidth;
    m_droiteLeft = droiteLeft;
    m_droiteWidth = droiteWidth;
    Q_EMIT changed();
}

void Ruler::refuse()
{
    m_messages.show(QCoreApplication::translate("Ruler", "Ne sélectionner qu'une partie du texte avec des "
                                                         "tabulations identiques"),
                    QCoreApplication::translate("Ruler", "Tabulation refusée"), MessageIcon::Stop,
                    MessageButtons::Ok);
    m_exo.setFocus();
}
