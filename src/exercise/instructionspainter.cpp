#include "instructionspainter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

// A text cursor in the manner of a picture box: text is drawn with the top-left corner of its
// line at the current position; ending a line goes back to the left edge, one line lower.
class TextCursor
{
public:
    explicit TextCursor(QPainter &painter) : m_painter(painter) {}

    double x = 0;
    double y = 0;

    void setFont(bool bold, int points)
    {
        QFont font(QStringLiteral("Verdana"));
        font.setPointSize(points);
        font.setBold(bold);
        m_painter.setFont(font);
    }
    void setBold(bool bold)
    {
        QFont font = m_painter.font();
        font.setBold(bold);
        m_painter.setFont(font);
    }
    double width(const QString &text) const { return metrics().horizontalAdvance(text); }
    void print(const QString &text)
    {
        const QFontMetricsF fm = metrics();
        m_painter.drawText(QPointF(x, y + fm.ascent()), text);
        x += fm.horizontalAdvance(text);
    }
    void printLine(const QString &text = QString())
    {
        print(text);
        endLine();
    }
    void endLine()
    {
        x = 0;
        y += metrics().height();
    }
    void emptyLines(int count)
    {
        for (int i = 0; i < count; ++i)
            endLine();
    }

private:
    QFontMetricsF metrics() const { return QFontMetricsF(m_painter.font(), m_painter.device()); }

    QPainter &m_painter;
};

void paintBackground(QPainter &painter, QSize size)
{
    // A panel of no height has nothing to tint (and the fade would divide by zero).
    if (size.height() <= 0)
        return;
    for (int y = 0; y <= size.height(); ++y) {
        painter.setPen(QColor(255, 255, InstructionsPainter::backgroundBlue(y, size.height())));
        painter.drawLine(0, y, size.width(), y);
    }
}

} // namespace

int InstructionsPainter::backgroundBlue(int y, int height)
{
    return int(std::nearbyint(255.0 - double(y) / height * 40.0));
}

InstructionsPlacement InstructionsPainter::paint(QPainter &painter, QSize size, int image2Width)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(painter, size);
    painter.setPen(QColor(0, 0, 128));

    TextCursor cursor(painter);
    cursor.setFont(true, 12);
    cursor.y = 10;
    for (const QString &line : {tr("L'éditeur d'exercices"), tr("pour les simulateurs")}) {
        cursor.x = (size.width() - cursor.width(line)) / 2;
        cursor.printLine(line);
    }

    cursor.setFont(false, 8);
    cursor.y += 8;
    for (const QString &line :
         {tr("Veligram permet de créer un fichier"), tr("Récapitulatif qui recense toutes les"),
          tr("caractéristiques de votre exercice.")}) {
        cursor.x = 12;
        cursor.printLine(line);
    }
    cursor.y += 4;
    cursor.x = 12;
    cursor.printLine(tr("Procédure :"));

    struct Item
    {
        QString number;
        QStringList lines;
    };
    const Item items[] = {
        {tr("1. "), {tr("Sélectionner le simulateur.")}},
        {tr("2. "), {tr("Saisir le texte de l'énoncé et"), tr("l'enregistrer.")}},
        {tr("3."),
         {tr("Depuis le simulateur concerné,"), tr("enregistrer la configuration initiale"),
          tr("(exemple : la planète pour Cadrillon).")}},
        {tr("4."), {tr("Saisir le texte de la correction et"), tr("l'enregistrer.")}},
        {tr("5."), {tr("Depuis le simulateur, enregistrer"), tr("la configuration pour la correction.")}},
        {tr("6."), {tr("Cliquer sur Paramètres pour créer"), tr("le fichier Récapitulatif.")}},
    };
    // Item texts from item 2 on share the left edge found just after the bold "2. ": numbers
    // "3." to "6." carry no trailing space, and would otherwise shift their texts.
    int x2 = 0;
    for (int i = 0; i < int(std::size(items)); ++i) {
        cursor.y += 4;
        cursor.x = 12;
        cursor.setBold(true);
        cursor.print(items[i].number);
        cursor.setBold(false);
        if (i == 1)
            x2 = int(std::lround(cursor.x));
        for (int line = 0; line < items[i].lines.size(); ++line) {
            if (i >= 2 || line > 0)
                cursor.x = x2;
            cursor.printLine(items[i].lines[line]);
        }
    }

    InstructionsPlacement placement;
    cursor.emptyLines(2);
    cursor.x = 12;
    cursor.setBold(true);
    cursor.print(tr("Simulateur : "));
    cursor.setBold(false);
    placement.moduleList = QPoint(int(std::lround(cursor.x + 4)), int(std::lround(cursor.y - 4)));
    cursor.emptyLines(3);

    const int y1 = int(std::lround(cursor.y));
    for (int row = 0; row < 3; ++row) {
        if (row > 0)
            cursor.emptyLines(2);
        const int top = int(std::lround(cursor.y));
        placement.icons[row] = QPoint(20, top);
        placement.captions[row] = QPoint(image2Width + 30, top);
    }
    cursor.y = y1;
    for (int row = 0; row < 2; ++row) {
        if (row > 0)
            cursor.emptyLines(2);
        const int top = int(std::lround(cursor.y));
        placement.icons[3 + row] = QPoint(150, top);
        placement.captions[3 + row] = QPoint(image2Width + 160, top);
    }
    painter.restore();
    return placement;
}
