#pragma once

#include <QList>
#include <QRgb>

#include <optional>
#include <string_view>

// Reads \colortbl: entries end with ';', an entry without components is the automatic colour.
class RtfColorTable
{
public:
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    void text(const char *bytes, qsizetype length);

    // Out-of-range indexes give the automatic colour.
    std::optional<QRgb> color(int index) const;

private:
    QList<std::optional<QRgb>> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_hasComponent = false;
};
