#pragma once

#include "richtext/richtextcontrol.h"

#include <QList>

// The selection's tab stops as a list, in the control's units, to set and compare in one line.
inline void setStops(RichTextControl &text, const QList<double> &stops)
{
    text.setSelTabCount(int(stops.size()));
    for (int i = 0; i < stops.size(); ++i)
        text.setSelTabs(i, stops.at(i));
}

inline QList<double> stopsOf(const RichTextControl &text)
{
    QList<double> stops;
    for (int i = 0; i < text.selTabCount().valueOr(0); ++i)
        stops << text.selTabs(i).valueOr(-1);
    return stops;
}
