#include "math/mathpainter.h"

#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace {

class RawFonts
{
public:
    explicit RawFonts(const MathFont &font) : m_font(font) {}
    const QRawFont &at(float size)
    {
        auto found = m_fonts.find(size);
        if (found == m_fonts.end())
            found = m_fonts.insert(size, m_font.rawFont(size));
        return found.value();
    }

private:
    const MathFont &m_font;
    QHash<float, QRawFont> m_fonts;
};

QString number(qreal value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

void MathPainter::paint(QPainter &painter, const MathBox &box, const MathFont &font, QPointF origin,
                        const QColor &color)
{
    painter.save();
    painter.setPen(color);
    RawFonts fonts(font);
    // Consecutive glyphs of one size go out as one run.
    qsizetype start = 0;
    while (start < box.glyphs.size()) {
        qsizetype end = start + 1;
        while (end < box.glyphs.size() && box.glyphs.at(end).size == box.glyphs.at(start).size)
            ++end;
        QList<quint32> ids;
        QList<QPointF> positions;
        for (qsizetype i = start; i < end; ++i) {
            ids.append(box.glyphs.at(i).id);
            positions.append(origin + QPointF(box.glyphs.at(i).x, box.glyphs.at(i).y));
        }
        QGlyphRun run;
        run.setRawFont(fonts.at(box.glyphs.at(start).size));
        run.setGlyphIndexes(ids);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(), run);
        start = end;
    }
    for (const QRectF &rule : box.rules)
        painter.fillRect(rule.translated(origin), color);
    painter.restore();
}

QByteArray MathPainter::svg(const MathBox &box, const MathFont &font, const QColor &color)
{
    const qreal width = box.width;
    const qreal height = box.ascent + box.descent;
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                                 "viewBox=\"0 %3 %1 %2\">\n<g fill=\"%4\">\n")
                      .arg(number(width), number(height), number(-box.ascent), color.name());
    RawFonts fonts(font);
    for (const MathGlyph &g : box.glyphs) {
        const QPainterPath path = fonts.at(g.size).pathForGlyph(g.id).translated(g.x, g.y);
        if (path.isEmpty())
            continue;
        QString d;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                if (!d.isEmpty())
                    d += u'Z';
                d += u'M' + number(e.x) + u' ' + number(e.y);
            } else if (e.isLineTo()) {
                d += u'L' + number(e.x) + u' ' + number(e.y);
            } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
                const QPainterPath::Element c2 = path.elementAt(i + 1);
                const QPainterPath::Element to = path.elementAt(i + 2);
                d += u'C' + number(e.x) + u' ' + number(e.y) + u' ' + number(c2.x) + u' ' + number(c2.y) +
                     u' ' + number(to.x) + u' ' + number(to.y);
                i += 2;
            }
        }
        const bool evenOdd = path.fillRule() == Qt::OddEvenFill;
        out += QStringLiteral("<path d=\"") + d + QStringLiteral("Z\"") +
               (evenOdd ? QStringLiteral(" fill-rule=\"evenodd\"") : QString()) + QStringLiteral("/>\n");
    }
    for (const QRectF &rule : box.rules) {
        out += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>\n")
                   .arg(number(rule.x()), number(rule.y()), number(rule.width()), number(rule.height()));
    }
    out += QStringLiteral("</g>\n</svg>\n");
    return out.toUtf8();
}
