#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// Windows-1252, the 8-bit character set of every text in the editor. Qt has no built-in codec
// for it on every build, so the 32 characters of 0x80-0x9F come from our own table; the five
// bytes that Windows-1252 leaves undefined map to the C1 code points of the same value, so
// that every byte survives a decode/encode round trip.
namespace Cp1252 {

QChar toUnicode(unsigned char byte);
// The byte for a character, or -1 when Windows-1252 cannot hold it.
int fromUnicode(QChar c);
bool canEncode(QChar c);
QString decode(const QByteArray &bytes);
// Characters that Windows-1252 cannot hold become `replacement`.
QByteArray encode(const QString &text, char replacement = '?');
bool canEncode(const QString &text);

} // namespace Cp1252
