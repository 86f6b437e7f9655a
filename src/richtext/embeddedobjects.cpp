#include "embeddedobjects.h"

#include "documentconverter.h"
#include "imagestore.h"
#include "textformats.h"

#include <QBuffer>
#include <QCache>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <cmath>

namespace {

constexpr char16_t kObject = 0xFFFC;

template <typename Visit> void forEachObject(const QTextDocument &document, Visit visit)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            const QString text = fragment.text();
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text.at(i).unicode() == kObject &&
                    !visit(fragment.charFormat(), fragment.position() + int(i)))
                    return;
            }
        }
    }
}

struct DecodedImage
{
    QImage image;
    QByteArray bytes;  // the file's own bytes, kept when the picture was not scaled
    QByteArray format; // "png" or "jpeg" for kept bytes
};

// Reads the picture at the size it will show: QImageReader scales while decoding, so a
// 40-megapixel photograph never exists in memory at full size.
DecodedImage decodeImage(const QByteArray &bytes, int maxWidthPx)
{
    DecodedImage decoded;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format().toLower();
    const QSize size = reader.size();
    const bool scaled = maxWidthPx > 0 && size.isValid() && size.width() > maxWidthPx;
    if (scaled)
        reader.setScaledSize(
            QSize(maxWidthPx, qMax(1, int(qint64(size.height()) * maxWidthPx / size.width()))));
    decoded.image = reader.read();
    if (decoded.image.isNull())
        return decoded;
    if (!scaled && (format == "png" || format == "jpeg" || format == "jpg")) {
        decoded.bytes = bytes;
        decoded.format = format == "png" ? QByteArray("png") : QByteArray("jpeg");
    } else if (scaled && (format == "jpeg" || format == "jpg")) {
        QBuffer jpeg(&decoded.bytes);
        jpeg.open(QIODevice::WriteOnly);
        if (decoded.image.save(&jpeg, "JPEG", 90))
            decoded.format = "jpeg";
        else
            decoded.bytes.clear();
    }
    return decoded;
}

QImage labelledIcon(const QString &label)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    const QFontMetrics metrics(font);
    const QString text = metrics.elidedText(label, Qt::ElideMiddle, 200);
    const int width = qMax(48, metrics.horizontalAdvance(text) + 8);
    QImage image(width, 56 + metrics.height(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int left = (width - 32) / 2;
    // A sheet with a folded corner.
    const QPolygon sheet({QPoint(left, 4), QPoint(left + 22, 4), QPoint(left + 32, 14), QPoint(left + 32, 44),
                          QPoint(left, 44)});
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(QColor(0xf4, 0xf4, 0xf4));
    painter.drawPolygon(sheet);
    painter.drawPolyline(QPolygon({QPoint(left + 22, 4), QPoint(left + 22, 14), QPoint(left + 32, 14)}));
    painter.setFont(font);
    painter.drawText(QRect(0, 50, width, metrics.height() + 4), Qt::AlignHCenter | Qt::AlignTop, text);
    return image;
}

} // namespace

int EmbeddedObjects::count(const QTextDocument &document)
{
    int count = 0;
    forEachObject(document, [&](const QTextCharFormat &, int) {
        ++count;
        return true;
    });
    return count;
}

ObjectInfo EmbeddedObjects::at(const QTextDocument &document, int index)
{
    ObjectInfo info;
    int current = 0;
    forEachObject(document, [&](const QTextCharFormat &format, int) {
        if (current++ < index)
            return true;
        const QTextImageFormat image = format.toImageFormat();
        const auto object = objectOf(format, document);
        info.className = object ? object->className : QString();
        info.sourcePath = object ? object->sourcePath : QString();
        info.isPicture = info.className.isEmpty();
        info.sizePx = QSize(qRound(image.width()), qRound(image.height()));
        return false;
    });
    return info;
}

int EmbeddedObjects::positionOf(const QTextDocument &document, int index)
{
    int position = -1;
    int current = 0;
    forEachObject(document, [&](const QTextCharFormat &, int at) {
        if (current++ < index)
            return true;
        position = at;
        return false;
    });
    return index < 0 ? -1 : position;
}

QImage EmbeddedObjects::pictureOf(const QString &path, int maxWidthPx)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QImage image = decodeImage(file.readAll(), maxWidthPx).image;
    return image.isNull() ? labelledIcon(QFileInfo(path).fileName()) : image;
}

std::shared_ptr<const EmbeddedObject> EmbeddedObjects::withPicture(const EmbeddedObject &object,
                                                                   const QImage &picture)
{
    auto changed = std::make_shared<EmbeddedObject>();
    changed->className = object.className;
    changed->sourcePath = object.sourcePath;
    changed->image = picture;
    QBuffer png(&changed->imageData);
    png.open(QIODevice::WriteOnly);
    picture.save(&png, "PNG");
    changed->imageFormat = "png";
    changed->widthTwips = int(picture.width() * TextFormats::kTwipsPerPixel);
    changed->heightTwips = int(picture.height() * TextFormats::kTwipsPerPixel);
    return changed;
}

std::shared_ptr<const EmbeddedObject> EmbeddedObjects::fromFile(const QString &path, const QString &className,
                                                                int maxWidthPx)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    auto object = std::make_shared<EmbeddedObject>();
    {
        DecodedImage decoded = decodeImage(file.readAll(), maxWidthPx);
        object->image = std::move(decoded.image);
        object->imageData = std::move(decoded.bytes);
        object->imageFormat = std::move(decoded.format);
    }
    object->sourcePath = QFileInfo(path).absoluteFilePath();
    object->className = className;
    if (object->image.isNull()) {
        object->image = labelledIcon(QFileInfo(path).fileName());
        if (object->className.isEmpty())
            object->className = packageClassName();
    }
    if (object->imageData.isEmpty()) {
        QBuffer png(&object->imageData);
        png.open(QIODevice::WriteOnly);
        object->image.save(&png, "PNG");
        object->imageFormat = "png";
    }
    object->widthTwips = int(object->image.width() * TextFormats::kTwipsPerPixel);
    object->heightTwips = int(object->image.height() * TextFormats::kTwipsPerPixel);
    return object;
}

QTextImageFormat EmbeddedObjects::objectFormat(std::shared_ptr<const EmbeddedObject> object,
                                               const QTextCharFormat &around)
{
    QTextImageFormat format;
    format.merge(DocumentConverter::insertionFormat(around));
    format.setObjectType(QTextFormat::ImageObject);
    const QImage image = object->image;
    const QString key = ImageStore::instance().add(object);
    const QImage shown = ImageStore::instance().image(key);
    format.setName(key);
    format.setProperty(TextFormats::ObjectKey, key);
    format.setWidth(object->widthTwips > 0 ? object->widthTwips / TextFormats::kTwipsPerPixel
                                           : shown.width());
    format.setHeight(object->heightTwips > 0 ? object->heightTwips / TextFormats::kTwipsPerPixel
                                             : shown.height());
    return format;
}

std::shared_ptr<const EmbeddedObject> EmbeddedObjects::objectOf(const QTextFormat &format,
                                                                const QTextDocument &document)
{
    if (!format.isImageFormat())
        return {};
    const QTextImageFormat image = format.toImageFormat();
    if (auto object = ImageStore::instance().object(image.name()))
        return object;
    auto adopted = std::make_shared<EmbeddedObject>();
    adopted->image = document.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    if (!adopted->image.isNull()) {
        QBuffer buffer(&adopted->imageData);
        buffer.open(QIODevice::WriteOnly);
        adopted->image.save(&buffer, "PNG");
        adopted->imageFormat = "png";
    }
    adopted->widthTwips = int(image.width() * TextFormats::kTwipsPerPixel);
    adopted->heightTwips = int(image.height() * TextFormats::kTwipsPerPixel);
    return adopted;
}

void EmbeddedObjects::insertPicture(QTextCursor &cursor, const QImage &image, const QTextCharFormat &around)
{
    if (image.isNull())
        return;
    auto object = std::make_shared<EmbeddedObject>();
    object->image = image;
    // The same picture inserted again (a formula command writing one ion many times) shares
    // the bytes written the last time instead of encoding them again.
    static QCache<qint64, QByteArray> encoded(64);
    if (const QByteArray *bytes = encoded.object(image.cacheKey())) {
        object->imageData = *bytes;
    } else {
        QBuffer buffer(&object->imageData);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        encoded.insert(image.cacheKey(), new QByteArray(object->imageData));
    }
    object->imageFormat = "png";
    // Pixels of the control are 96-dpi pixels; a picture shows at its pixel size. A picture
    // drawn for a high-density screen carries its device pixel ratio: it keeps its size in
    // points and shows sharper, instead of growing by that ratio.
    const QSizeF size = image.deviceIndependentSize();
    object->widthTwips = int(std::lround(size.width() * TextFormats::kTwipsPerPixel));
    object->heightTwips = int(std::lround(size.height() * TextFormats::kTwipsPerPixel));
    cursor.insertText(QString(QChar(kObject)), objectFormat(object, around));
}

QString EmbeddedObjects::packageClassName()
{
    return QStringLiteral("Package");
}

QImage objectPictureOf(const QString &path, int maxWidthPx)
{
    return EmbeddedObjects::pictureOf(path, maxWidthPx);
}
