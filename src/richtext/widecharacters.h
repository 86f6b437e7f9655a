#pragma once

#include <QObject>
#include <QString>
#include <QTextCharFormat>
#include <QTextObjectInterface>

class QTextDocument;

// Characters beyond the 16-bit range (𝑥 from an equation editor, emoji) are one position of
// the control, but two UTF-16 units, and so two positions, in Qt's text engine. Each one is
// stored as a single U+FFFC whose format carries the code point, and is drawn by the handler
// below in the run's font; every contract-level view (text, RTF, positions) sees one
// character. The document model keeps them as surrogate pairs.
namespace WideCharacters {

constexpr int ObjectType = QTextFormat::UserObject + 1;

// `c` is one character: a surrogate pair or a BMP character.
bool isWide(QStringView c);
// The format of the U+FFFC that stands for `codePoint`, otherwise as `around`.
QTextCharFormat format(const QTextCharFormat &around, char32_t codePoint);
// The code point a U+FFFC of `format` stands for, 0 when it is not a wide character.
char32_t codePoint(const QTextFormat &format);
// The surrogate pair for a U+FFFC of `format`, empty when it is not a wide character.
QString text(const QTextFormat &format);
// Inserts `text`, pairs as wide characters, the rest as given, all in `format`.
void insertText(QTextCursor &cursor, QStringView text, const QTextCharFormat &format);
// Draws wide characters in `document`'s layout (and in copies made for printing).
void registerHandler(QTextDocument &document);

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

} // namespace WideCharacters
