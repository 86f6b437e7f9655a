#pragma once

#include "richtextcontrol.h"
#include "rtf/richdocument.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextImageFormat>

#include <memory>

class QTextCursor;
class QTextDocument;
class QTextFormat;

// The pictures and objects of a text, in text order, and the objects made from files.
class EmbeddedObjects
{
public:
    static int count(const QTextDocument &document);
    // Index from 0 in text order; an index out of range gives an empty picture description.
    static ObjectInfo at(const QTextDocument &document, int index);

    // An image file becomes its picture, with the file's own bytes kept when they are PNG or
    // JPEG. Any other file becomes a picture of a document icon labelled with the file name:
    // there is no object embedding here, so the file's content is not kept. Null when the
    // file cannot be read. An image wider than `maxWidthPx` (0: no limit) is decoded scaled
    // to that width and re-encoded: its raw bytes are never held. The object remembers the
    // file as its source and carries `className` (empty: none for an image, else "Package").
    static std::shared_ptr<const EmbeddedObject> fromFile(const QString &path, const QString &className = {},
                                                          int maxWidthPx = 0);
    // What `path` shows as an object's picture: the image (scaled as above) or the labelled
    // icon. Null when the file cannot be read.
    static QImage pictureOf(const QString &path, int maxWidthPx = 0);
    // The same object showing `picture`, kept as PNG.
    static std::shared_ptr<const EmbeddedObject> withPicture(const EmbeddedObject &object,
                                                             const QImage &picture);
    // Position of object `index` in the text, -1 when out of range.
    static int positionOf(const QTextDocument &document, int index);
    static QTextImageFormat objectFormat(std::shared_ptr<const EmbeddedObject> object,
                                         const QTextCharFormat &around);
    // The object behind an object position's format; pictures that came from elsewhere (a
    // paste of another program's HTML) are adopted as plain pictures.
    static std::shared_ptr<const EmbeddedObject> objectOf(const QTextFormat &format,
                                                          const QTextDocument &document);
    // One picture position at the cursor, replacing its selection; kept as PNG.
    static void insertPicture(QTextCursor &cursor, const QImage &image, const QTextCharFormat &around);

    // The class name an object made from a non-image file carries.
    static QString packageClassName();
};
