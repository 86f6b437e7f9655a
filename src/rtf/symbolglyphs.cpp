#include "rtf/symbolglyphs.h"

#include "rtf/symbolencoding.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPainterPath>
#include <QRawFont>

#include <mutex>

namespace {

// Unicode families tried first, in order: wide coverage of Greek, mathematics and dingbats.
const QStringList &preferredFamilies()
{
    static const QStringList families = {
        QStringLiteral("DejaVu Sans"),
        QStringLiteral("Noto Sans Symbols"),
        QStringLiteral("Noto Sans Symbols2"),
        QStringLiteral("Noto Sans Math"),
        QStringLiteral("Noto Sans"),
        QStringLiteral("FreeSerif"),
        QStringLiteral("Symbola"),
        QStringLiteral("DejaVu Serif"),
        QStringLiteral("Liberation Sans"),
        QStringLiteral("Segoe UI Symbol"),
        QStringLiteral("Cambria Math"),
        QStringLiteral("Arial Unicode MS"),
    };
    return families;
}

// Fonts that give bytes their own meaning, and the substitutes systems install for them.
bool isSymbolEncoded(const QString &family)
{
    static const QStringList substitutes = {
        QStringLiteral("Standard Symbols PS"),
        QStringLiteral("Standard Symbols L"),
        QStringLiteral("D050000L"),
        QStringLiteral("Dingbats"),
    };
    return SymbolEncoding::isSymbolFont(family) || substitutes.contains(family, Qt::CaseInsensitive);
}

// The family itself, not what fontconfig substitutes for its name, has an outline for `c`.
bool draws(const QString &family, char32_t c)
{
    if (isSymbolEncoded(family))
        return false;
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) != 0)
        return false;
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || !raw.supportsCharacter(c))
        return false;
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&c, 1));
    return glyphs.size() == 1 && glyphs.first() != 0 && !raw.pathForGlyph(glyphs.first()).isEmpty();
}

std::mutex cacheMutex;
QHash<char32_t, QString> &cache()
{
    static QHash<char32_t, QString> families;
    return families;
}

} // namespace

namespace SymbolGlyphs {

SymbolGlyph glyph(const QString &fontName, uchar byte)
{
    const QChar c = SymbolEncoding::toUnicode(fontName, byte);
    SymbolGlyph result{QString(c), {}};
    // A space or a byte without a Unicode meaning: only the named font can show it, if any.
    const bool drawable = !c.isSpace() && (c.unicode() < 0xF000 || c.unicode() > 0xF0FF);
    if (drawable)
        result.family = familyFor(c.unicode());
    if (result.family.isEmpty())
        result.family = fontName;
    return result;
}

QString familyFor(char32_t c)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {}; // no font database without a GUI application: nothing is drawn either
    {
        const std::lock_guard lock(cacheMutex);
        const auto it = cache().constFind(c);
        if (it != cache().cend())
            return *it;
    }
    QString found;
    for (const QString &family : preferredFamilies()) {
        if (draws(family, c)) {
            found = family;
            break;
        }
    }
    if (found.isEmpty()) {
        for (const QString &family : QFontDatabase::families()) {
            if (draws(family, c)) {
                found = family;
                break;
            }
        }
    }
    const std::lock_guard lock(cacheMutex);
    cache().insert(c, found);
    return found;
}

void forgetFonts()
{
    const std::lock_guard lock(cacheMutex);
    cache().clear();
}

} // namespace SymbolGlyphs
