#pragma once

#include "rtf/richdocument.h"

#include <QHash>
#include <QList>
#include <QRgb>
#include <QString>

#include <optional>

class RtfEmitter;

// The font and colour tables of a document being written: entries in order of first use,
// numbered as RTF numbers them (colour 0 is "automatic").
class RtfOutputTables
{
public:
    int fontIndex(const QString &name, bool symbolEncoded);
    // The run's font; symbol-encoded when the run says so or the name is a known symbol font.
    int fontIndex(const CharStyle &style);
    bool isSymbolEncoded(int font) const { return m_fonts.at(font).symbolEncoded; }
    int colorIndex(const std::optional<QRgb> &color);

    // {\fonttbl …} and, when a colour is used, {\colortbl …}.
    void write(RtfEmitter &out) const;

private:
    struct Font
    {
        QString name;
        bool symbolEncoded = false;
    };

    QList<Font> m_fonts;
    QHash<QString, int> m_fontIndex;
    // A style's font, by name and symbol flag, without building the table's key.
    QHash<QString, int> m_styleFont[2];
    QString m_lastFontName;
    bool m_lastSymbolFlag = false;
    int m_lastFont = -1;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
};
