#pragma once

#include "rtf/richdocument.h"

#include <QObject>
#include <QString>
#include <QTextCharFormat>
#include <QTextObjectInterface>

#include <memory>
#include <optional>

class QTextDocument;

// An equation is one position of the text: a U+FFFC whose character format carries its linear
// text. It takes the size, colour and offset of that format like any character, and is drawn
// by the handler below from the math layout, as vectors on the screen, the printer and in PDF.
namespace EquationObjects {

constexpr int ObjectType = QTextFormat::UserObject + 2;

bool isEquation(const QTextFormat &format);
// The linear text of an equation's format; empty for any other format.
QString linear(const QTextFormat &format);
// The format of the U+FFFC that stands for `linear`, otherwise as `around`.
QTextCharFormat format(const QTextCharFormat &around, const QString &linear);
// The equation as other programs see it: its picture (PNG at twice the screen's resolution),
// size and descent for the format it stands in, and its linear text.
std::shared_ptr<const EmbeddedObject> objectOf(const QTextFormat &format, const QTextDocument &document);
// What an equation object read from a file stands for: its linear text, as typed here or
// rebuilt from its Office Math elements; nothing when those elements hold something no equation
// of ours draws and the object has its picture and group to show and keep instead.
std::optional<QString> linearOf(const EmbeddedObject &object);
// The object for the text: the equation itself, or the picture `linearOf` falls back to.
std::shared_ptr<const EmbeddedObject> shownAs(const std::shared_ptr<const EmbeddedObject> &object);
// Draws equations in `document`'s layout (and in copies made for printing).
void registerHandler(QTextDocument &document);

// Where an equation's baseline lies in the box Qt gives it. Qt's layouts place an inline object
// by its height alone, its bottom on the line's baseline, except for the middle alignment, which
// centres it on half the x-height of the run's font; the box is made tall enough on either side
// of that line for the equation's ascent and descent, and the equation drawn on its baseline.
struct Placement
{
    qreal height = 0;   // of the box
    qreal baseline = 0; // from the box's top
};
Placement placement(qreal ascent, qreal descent, qreal halfXHeight);

class Handler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;
    QSizeF intrinsicSize(QTextDocument *document, int position, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
                    const QTextFormat &format) override;
};

} // namespace EquationObjects
