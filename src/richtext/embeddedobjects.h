#pragma once

#include "richdocument.h"
#include "richtextcontrol.h"

#include <QString>

#include <memory>

class QTextDocument;

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
    // file cannot be read.
    static std::shared_ptr<const EmbeddedObject> fromFile(const QString &path);
    // The class name an object made from a non-image file carries.
    static QString packageClassName();
};
