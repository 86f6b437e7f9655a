#pragma once

#include <QByteArray>
#include <QImage>

// Windows metafiles for readers that show no PNG: older word processors take a picture's
// \nonshppict form as a WMF (\wmetafile8). Ours holds one device-independent bitmap, stretched
// over the metafile's window, so it shows the same pixels as the PNG beside it.
namespace RtfMetafile {

// The metafile's bytes (no placeable header, as RTF stores them): the picture on white, since a
// 24-bit bitmap has no transparency. Empty for a null image or one beyond 16-bit coordinates.
QByteArray fromImage(const QImage &image);

} // namespace RtfMetafile
