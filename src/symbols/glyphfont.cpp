#include "glyphfont.h"

#include "rtf/symbolencoding.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QRawFont>

namespace {

bool hasCharacter(const QString &family, QChar c)
{
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(font);
    return raw.isValid() && raw.familyName().compare(family, Qt::CaseInsensitive) == 0 &&
           raw.supportsCharacter(c);
}

QString familyFor(QChar c)
{
    static QHash<char16_t, QString> cache;
    const auto cached = cache.constFind(c.unicode());
    if (cached != cache.constEnd())
        return *cached;

    QStringList candidates{QGuiApplication::font().family(),    QStringLiteral("DejaVu Sans"),
                           QStringLiteral("Liberation Sans"),   QStringLiteral("Noto Sans"),
                           QStringLiteral("Noto Sans Symbols"), QStringLiteral("Noto Sans Symbols2"),
                           QStringLiteral("Noto Sans Math"),    QStringLiteral("FreeSerif"),
                           QStringLiteral("Segoe UI Symbol"),   QStringLiteral("Arial Unicode MS")};
    candidates += QFontDatabase::families();
    QString found = QGuiApplication::font().family();
    for (const QString &family : std::as_const(candidates)) {
        if (GlyphFont::isUsableForUnicode(family) && hasCharacter(family, c)) {
            found = family;
            break;
        }
    }
    cache.insert(c.unicode(), found);
    return found;
}

} // namespace

bool GlyphFont::isUsableForUnicode(const QString &family)
{
    if (SymbolEncoding::isSymbolFont(family))
        return false;
    // The URW replacements of Symbol and Zapf Dingbats keep the original private encodings.
    static const QStringList privateEncodings{QStringLiteral("Standard Symbols"), QStringLiteral("Dingbats"),
                                              QStringLiteral("D050000L"),         QStringLiteral("Webdings"),
                                              QStringLiteral("Marlett"),          QStringLiteral("MT Extra")};
    for (const QString &name : privateEncodings) {
        if (family.contains(name, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

QFont GlyphFont::forCharacter(QChar c, double pointSize)
{
    QFont font(familyFor(c));
    font.setPointSizeF(pointSize);
    return font;
}
