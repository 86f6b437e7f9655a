#include "imagestore.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>
#include <QPainter>

namespace {

const QString kScheme = QStringLiteral("veligram-object:");

QImage decode(const EmbeddedObject &object)
{
    if (!object.image.isNull())
        return object.image;
    if (object.imageData.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(object.imageData);
    QImageReader reader(&buffer, object.imageFormat.isEmpty() ? QByteArray() : object.imageFormat);
    return reader.read();
}

QImage placeholder(const EmbeddedObject &object)
{
    const int width = qBound(8, object.widthTwips / 15, 4000);
    const int height = qBound(8, object.heightTwips / 15, 4000);
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(0xe0, 0xe0, 0xe0));
    QPainter painter(&image);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, width - 1, height - 1);
    return image;
}

} // namespace

ImageStore &ImageStore::instance()
{
    static ImageStore store;
    return store;
}

QString ImageStore::add(std::shared_ptr<const EmbeddedObject> object)
{
    if (!object)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(int(object->kind)));
    hash.addData(object->imageFormat);
    hash.addData(object->imageData);
    hash.addData(object->verbatimRtf);
    hash.addData(object->className.toUtf8());
    hash.addData(object->sourcePath.toUtf8());
    hash.addData(
        QByteArray(QByteArray::number(object->widthTwips) + 'x' + QByteArray::number(object->heightTwips)));
    if (object->imageData.isEmpty() && !object->image.isNull()) {
        const QImage &image = object->image;
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
        hash.addData(
            QByteArray(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height())));
    }
    const QString key = kScheme + QString::fromLatin1(hash.result().toHex());
    if (!m_entries.contains(key)) {
        QImage image = decode(*object);
        if (image.isNull())
            image = placeholder(*object);
        m_entries.insert(key, Entry{std::move(object), image});
    }
    return key;
}

std::shared_ptr<const EmbeddedObject> ImageStore::object(const QString &key) const
{
    return m_entries.value(key).object;
}

QImage ImageStore::image(const QString &key) const
{
    return m_entries.value(key).image;
}

bool ImageStore::isKey(const QString &name)
{
    return name.startsWith(kScheme);
}
