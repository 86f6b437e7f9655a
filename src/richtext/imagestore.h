#pragma once

#include "rtf/richdocument.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <memory>

// Pictures and objects of every control of the process, by key. Qt keeps a document's images
// as resources of that document only; a fragment copied into another document (a hidden
// buffer, a selection being printed) carries the image's name alone, so every
// RichTextDocument looks names up here. Keys derive from the content: loading the same file
// twice reuses the entries.
class ImageStore
{
public:
    static ImageStore &instance();

    // The key under which `object` is kept; the store keeps it for the life of the process.
    QString add(std::shared_ptr<const EmbeddedObject> object);
    std::shared_ptr<const EmbeddedObject> object(const QString &key) const;
    // What the object shows: its picture, or a placeholder box when it cannot be decoded.
    QImage image(const QString &key) const;

    static bool isKey(const QString &name);

private:
    ImageStore() = default;
    struct Entry
    {
        std::shared_ptr<const EmbeddedObject> object;
        QImage image;
    };
    QHash<QString, Entry> m_entries;
};
