#pragma once

#include <QPaintDevice>

#include <climits>

// A device that is never painted on: a screen of another resolution, given to the view's
// layout so that it typesets the text as large as the zoom asks. Fonts, tab stops, indents and
// pictures are measured at that resolution, so the caret, the selection and hit tests are all
// computed on the magnified text, and the text itself keeps its sizes.
class ZoomedScreen : public QPaintDevice
{
public:
    explicit ZoomedScreen(int dpi) : m_dpi(dpi) {}

    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmWidth:
        case PdmHeight:
            return 1 << 20;
        case PdmWidthMM:
        case PdmHeightMM:
            return int(qint64(1 << 20) * 254 / (10 * m_dpi));
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    int m_dpi;
};
