#pragma once

#include "ionformulapicture.h"

#include <QImage>

// A nuclide, ^{238}_{92}U: the mass number over the atomic number, both right-aligned against the
// symbol's left side. The picture is the polyatomic ion's turned around: the same canvas, fonts,
// script size (0.8 s) and heights, so that a nuclide and an ion on one line stand alike; only the
// column of scripts comes first.
class NuclidePicture
{
public:
    // formula.base is the symbol, formula.upper the mass number, formula.lower the atomic number.
    static QImage compose(const IonFormula &formula, const IonFormulaStyle &style,
                          qreal devicePixelRatio = 1);
};
