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

// Bytes whose own character no font of a stock desktop draws (DejaVu, Liberation and the URW
// fonts: the arrow extenders of Symbol, Wingdings' pictures that Unicode has only outside 16
// bits or not at all) show a character of like look that those fonts do draw, rather than an
// empty box. Only the screen sees it: the text keeps the byte and its font.
char16_t lookalike(const QString &fontName, uchar byte)
{
    static const QHash<uchar, char16_t> symbol = {
        {0xBD, 0x2502}, // vertical arrow extender: box drawings light vertical
        {0xBE, 0x2500}, // horizontal arrow extender: box drawings light horizontal
    };
    static const QHash<uchar, char16_t> wingdings = [] {
        QHash<uchar, char16_t> t = {
            {0x24, 0x221E},                                                 // spectacles
            {0x25, 0x2302},                                                 // bell
            {0x26, 0x25AD},                                                 // open book
            {0x27, 0x2020},                                                 // candle
            {0x2C, 0x2709}, {0x2D, 0x2709}, {0x2E, 0x2709}, {0x2F, 0x2709}, // mailboxes: a letter
            {0x30, 0x25AD}, {0x31, 0x25AD},                                 // folders
            {0x32, 0x25AF}, {0x33, 0x25AF}, {0x34, 0x25AE},                 // pages
            {0x35, 0x2637},                                                 // file cabinet
            {0x36, 0x22C8},                                                 // hourglass
            {0x38, 0x25D0},                                                 // mouse
            {0x39, 0x25C9},                                                 // trackball
            {0x3A, 0x2395},                                                 // computer
            {0x3B, 0x25AC},                                                 // hard disk
            {0x3C, 0x25A3}, {0x3D, 0x25A4},                                 // diskettes
            {0x40, 0x270D},                                                 // writing hand
            {0x42, 0x261D}, {0x43, 0x261D}, {0x44, 0x261F},                 // OK hand, thumbs up and down
            {0x49, 0x261D},                                                 // raised hand
            {0x4B, 0x2687},                                                 // neutral face
            {0x4D, 0x26AB},                                                 // bomb
            {0x53, 0x25CF},                                                 // droplet
            {0x57, 0x2629},                                                 // Celtic cross
            {0x5C, 0x262C},                                                 // om
            {0x6A, 0x0026}, {0x6B, 0x0026},                                 // "et" ligatures
            {0x73, 0x2666}, {0x77, 0x25C6},                                 // lozenges
            {0x79, 0x2353},                                                 // up arrowhead in a box
            {0x7B, 0x2740},                                                 // flower
            {0x7D, 0x275D}, {0x7E, 0x275E},                                 // heavy quotation marks
            {0x80, 0x25CB}, {0x8B, 0x25CF}, // circled zero, negative circled zero
            {0xA2, 0x25CB}, {0xA3, 0x25CE}, // heavy circles
            {0xB0, 0x229E}, {0xB1, 0x2295}, {0xB2, 0x25C7}, {0xB4, 0x003F}, // position marks
            {0xD7, 0x25C0}, {0xD8, 0x25B6}, {0xD9, 0x25B2}, {0xDA, 0x25BC}, // arrowheads
            {0xDB, 0x25C4}, {0xDC, 0x25BA}, {0xDD, 0x25B2}, {0xDE, 0x25BC}, // circled arrowheads
            {0xE8, 0x2794},                                                 // heavy right arrow
            {0xF9, 0x25AD}, {0xFA, 0x25AF},                                 // rectangles
            {0xFF, 0x229E},                                                 // the four-pane window flag
        };
        // Leaves and buds, pointing one way and the other.
        for (int b = 0x96; b <= 0x9D; ++b)
            t.insert(uchar(b), b % 2 == 0 ? 0x2619 : 0x2767);
        for (int b = 0xCB; b <= 0xD4; ++b)
            t.insert(uchar(b), b % 2 == 0 ? 0x2619 : 0x2767);
        // Zodiac signs from Aries to Pisces.
        for (int b = 0x5E; b <= 0x69; ++b)
            t.insert(uchar(b), char16_t(0x2648 + b - 0x5E));
        // Clock faces from one o'clock to twelve: the quarter of the dial the hand is in.
        for (int b = 0xB7; b <= 0xC2; ++b) {
            const int quarter = (b - 0xB7) / 3;
            t.insert(uchar(b), char16_t(0x25F7 - quarter));
        }
        // Ribbon arrows, turning up, down, left and right.
        const char16_t ribbons[] = {0x21B0, 0x21B1, 0x21B2, 0x21B3, 0x2934, 0x2935, 0x2936, 0x2937};
        for (int i = 0; i < 8; ++i)
            t.insert(uchar(0xC3 + i), ribbons[i]);
        return t;
    }();
    const QString name = fontName.trimmed();
    if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return symbol.value(byte, 0);
    if (name.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0)
        return wingdings.value(byte, 0);
    return 0;
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
    // A space or a byte without a Unicode meaning: only the named font can show it, if any.
    const bool drawable = !c.isSpace() && (c.unicode() < 0xF000 || c.unicode() > 0xF0FF);
    if (drawable) {
        const QString family = familyFor(c.unicode());
        if (!family.isEmpty())
            return {QString(c), family};
    }
    if (!c.isSpace()) {
        if (const char16_t look = lookalike(fontName, byte)) {
            const QString family = familyFor(look);
            if (!family.isEmpty())
                return {QString(QChar(look)), family};
        }
    }
    return {QString(c), fontName};
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
