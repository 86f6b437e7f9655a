#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The system clipboard, as the editor uses it: RTF text (with its plain-text form), pictures.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setRtf(const QByteArray &rtf, const QString &plainText) = 0;
    virtual void setImage(const QImage &image) = 0;
    virtual bool hasRtf() const = 0;
    virtual QByteArray rtf() const = 0;
    virtual bool hasImage() const = 0;
    virtual QImage image() const = 0;
    virtual QString text() const = 0;
};
