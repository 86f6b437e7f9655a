#include "qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

// Windows programs exchange RTF under the registered "Rich Text Format" name, which Qt
// reaches through this MIME convention; X11 and Wayland programs use the other two.
const QString windowsRtf = QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"");
// LibreOffice offers RTF under "text/richtext" too, though that name belongs to another
// format: accepted only when the bytes start like RTF.
const QString richText = QStringLiteral("text/richtext");

bool looksLikeRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

QClipboard *systemClipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                         : nullptr;
}

} // namespace

QStringList QtClipboard::rtfFormats()
{
    return {windowsRtf, QStringLiteral("text/rtf"), QStringLiteral("application/rtf"), richText};
}

void QtClipboard::clear()
{
    if (QClipboard *clipboard = systemClipboard())
        clipboard->clear();
}

void QtClipboard::setRtf(const QByteArray &rtf, const QString &plainText)
{
    QClipboard *clipboard = systemClipboard();
    if (!clipboard)
        return;
    auto data = std::make_unique<QMimeData>();
    for (const QString &format : rtfFormats()) {
        if (format != richText)
            data->setData(format, rtf);
    }
    data->setText(plainText);
    clipboard->setMimeData(data.release()); // the clipboard takes ownership
}

void QtClipboard::setImage(const QImage &image)
{
    if (QClipboard *clipboard = systemClipboard())
        clipboard->setImage(image);
}

bool QtClipboard::hasRtf() const
{
    return !rtf().isEmpty();
}

QByteArray QtClipboard::rtf() const
{
    const QClipboard *clipboard = systemClipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data)
        return QByteArray();
    for (const QString &format : rtfFormats()) {
        if (!data->hasFormat(format))
            continue;
        const QByteArray bytes = data->data(format);
        if (looksLikeRtf(bytes))
            return bytes;
    }
    return QByteArray();
}

bool QtClipboard::hasImage() const
{
    const QClipboard *clipboard = systemClipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasImage();
}

QImage QtClipboard::image() const
{
    const QClipboard *clipboard = systemClipboard();
    return clipboard ? clipboard->image() : QImage();
}

QString QtClipboard::text() const
{
    const QClipboard *clipboard = systemClipboard();
    return clipboard ? clipboard->text() : QString();
}
