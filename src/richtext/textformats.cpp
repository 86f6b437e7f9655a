#include "textformats.h"

#include "rtf/symbolencoding.h"
#include "rtf/symbolglyphs.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace TextFormats {

namespace {

// Height of a font's line at 96 dpi, the resolution of the control's pixels. Documents reuse
// a handful of fonts, so the metrics are computed once per font, found by what fontOf reads
// (building the font and its key for every run costs more than the rest of a format change).
struct FontHeightKey
{
    QString family;
    double points;
    bool bold;
    bool italic;
    bool operator==(const FontHeightKey &) const = default;
};

size_t qHash(const FontHeightKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.family, key.points, key.bold, key.italic);
}

QString familyOf(const QTextCharFormat &format, const QFont &defaults);
double pointSizeOf(const QTextCharFormat &format, const QFont &defaults);
QFont fontOf(const QTextCharFormat &format, const QFont &defaults);

double fontHeightPx(const QTextCharFormat &format, const QFont &defaults)
{
    static QHash<FontHeightKey, double> cache;
    const int weight = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() : defaults.weight();
    const FontHeightKey key{
        familyOf(format, defaults), pointSizeOf(format, defaults), weight >= QFont::DemiBold,
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : defaults.italic()};
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QFont font = fontOf(format, defaults);
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(3780); // 96 dpi
        image.setDotsPerMeterY(3780);
        return image;
    }();
    const double height = QFontMetricsF(font, &device).height();
    return *cache.insert(key, height > 0 ? height : 1.0);
}

QString familyOf(const QTextCharFormat &format, const QFont &defaults)
{
    if (format.hasProperty(SymbolFontName))
        return format.stringProperty(SymbolFontName);
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return defaults.family();
}

double pointSizeOf(const QTextCharFormat &format, const QFont &defaults)
{
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    return defaults.pointSizeF() > 0 ? defaults.pointSizeF() : 10.0;
}

QFont fontOf(const QTextCharFormat &format, const QFont &defaults)
{
    QFont font(familyOf(format, defaults));
    font.setPointSizeF(pointSizeOf(format, defaults));
    const int weight = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() : defaults.weight();
    font.setBold(weight >= QFont::DemiBold);
    font.setItalic(format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : defaults.italic());
    return font;
}

void derive(QTextCharFormat &format, const QFont &defaults)
{
    // A character beyond 16 bits is an inline object, which sits on the baseline only so.
    // An equation is placed about the x-height's middle, the one rule Qt's layouts give an
    // inline object with a depth of its own (its handler lays itself out around that).
    if (format.hasProperty(WideCharacter))
        format.setVerticalAlignment(QTextCharFormat::AlignBaseline);
    else if (format.hasProperty(EquationText))
        format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else
        format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    const int twips = offsetTwips(format);
    if (twips == 0) {
        format.clearProperty(QTextFormat::TextBaselineOffset);
        return;
    }
    // Qt shifts by a percentage of the run's own font height, not of its point size.
    const double percent = (twips / kTwipsPerPixel) / fontHeightPx(format, defaults) * 100.0;
    format.setBaselineOffset(percent);
}

Qt::Alignment horizontal(Qt::Alignment alignment)
{
    return alignment & Qt::AlignHorizontal_Mask;
}

} // namespace

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QList<std::pair<QString, QStringList>> substitutes = {
            {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
            {QStringLiteral("Times New Roman"),
             {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")}},
            {QStringLiteral("Courier New"),
             {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}},
            {QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}},
        };
        for (const auto &[family, replacements] : substitutes) {
            if (!QFontDatabase::hasFamily(family))
                QFont::insertSubstitutions(family, replacements);
        }
    });
}

void prepareDocument(QTextDocument &document)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(kDefaultTabDistancePx);
    document.setDefaultTextOption(option);
}

QTextCharFormat charFormat(const CharStyle &style)
{
    QTextCharFormat format;
    format.setFontFamilies({style.fontName});
    format.setFontPointSize(style.halfPoints / 2.0);
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.italic);
    format.setFontUnderline(style.underline);
    format.setFontStrikeOut(style.strikethrough);
    if (style.color)
        format.setForeground(QColor::fromRgb(*style.color));
    format.setProperty(OffsetTwips, style.offsetTwips);
    format.setProperty(Protected, style.protectedText);
    format.setProperty(SymbolFont, style.symbolFont);
    derive(format, QFont()); // family, size, weight and slant are all explicit

    return format;
}

CharStyle charStyle(const QTextCharFormat &format, const QTextDocument &document)
{
    CharStyle style;
    style.fontName = fontFamily(format, document);
    style.symbolFont = isSymbolFont(format);
    style.halfPoints = int(std::lround(pointSize(format, document) * 2));
    const QFont font = fontOf(format, document.defaultFont());
    style.bold = font.bold();
    style.italic = font.italic();
    style.underline = format.fontUnderline();
    style.strikethrough = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        style.color = format.foreground().color().rgb();
    style.offsetTwips = offsetTwips(format);
    style.protectedText = isProtected(format);
    return style;
}

void deriveDisplay(QTextCharFormat &format, const QTextDocument &document)
{
    derive(format, document.defaultFont());
}

QString fontFamily(const QTextCharFormat &format, const QTextDocument &document)
{
    return familyOf(format, document.defaultFont());
}

double pointSize(const QTextCharFormat &format, const QTextDocument &document)
{
    return pointSizeOf(format, document.defaultFont());
}

double roundToHalfPoint(double points)
{
    return std::round(points * 2.0) / 2.0;
}

QRgb colorOf(const QTextCharFormat &format)
{
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        return format.foreground().color().rgb();
    return qRgb(0, 0, 0);
}

bool isProtected(const QTextCharFormat &format)
{
    return format.boolProperty(Protected);
}

int offsetTwips(const QTextCharFormat &format)
{
    return format.intProperty(OffsetTwips);
}

bool isSymbolFont(const QTextCharFormat &format)
{
    return format.boolProperty(SymbolFont);
}

QChar modelChar(QChar c, const QTextCharFormat &format)
{
    if (format.hasProperty(SymbolByte))
        return QChar(char16_t(format.intProperty(SymbolByte)));
    if (isSymbolFont(format)) {
        const int byte = SymbolEncoding::fromUnicode(familyOf(format, QFont()), c);
        if (byte >= 0)
            return QChar(char16_t(byte));
    }
    return c;
}

QChar displayChar(QChar c, const QTextCharFormat &format)
{
    // Tabs, line breaks and objects keep their meaning in a symbol run.
    if (!isSymbolFont(format) || c.unicode() < 0x20 || c.unicode() > 0xFF)
        return c;
    // What the screen draws, a look-alike included; the byte stays beside it in SymbolByte.
    return SymbolGlyphs::glyph(familyOf(format, QFont()), uchar(c.unicode())).text.at(0);
}

QTextCharFormat symbolCharFormat(const QTextCharFormat &format, uchar byte)
{
    const QString fontName = familyOf(format, QFont());
    QTextCharFormat result = format;
    result.setProperty(SymbolByte, int(byte));
    result.setProperty(SymbolFontName, fontName);
    result.setFontFamilies({SymbolGlyphs::glyph(fontName, byte).family});
    return result;
}

QTextCharFormat withoutSymbolByte(QTextCharFormat format)
{
    if (format.hasProperty(SymbolFontName)) {
        format.setFontFamilies({format.stringProperty(SymbolFontName)});
        format.clearProperty(SymbolFontName);
    }
    format.clearProperty(SymbolByte);
    return format;
}

QTextBlockFormat blockFormat(const ParagraphStyle &style)
{
    QTextBlockFormat format;
    format.setAlignment(qtAlignment(style.alignment));
    format.setLeftMargin(style.leftIndentTwips / kTwipsPerPixel);
    format.setRightMargin(style.rightIndentTwips / kTwipsPerPixel);
    format.setProperty(FirstLineTwips, style.firstLineIndentTwips);
    setTabStops(format, style.tabs);
    deriveDisplay(format, style.bullet);
    return format;
}

ParagraphStyle paragraphStyle(const QTextBlockFormat &format)
{
    ParagraphStyle style;
    const Qt::Alignment alignment = horizontal(format.alignment());
    if (alignment & Qt::AlignJustify)
        style.alignment = ParagraphAlignment::Justify;
    else if (alignment & Qt::AlignHCenter)
        style.alignment = ParagraphAlignment::Center;
    else if (alignment & Qt::AlignRight)
        style.alignment = ParagraphAlignment::Right;
    style.leftIndentTwips = int(std::lround(format.leftMargin() * kTwipsPerPixel));
    style.rightIndentTwips = int(std::lround(format.rightMargin() * kTwipsPerPixel));
    style.firstLineIndentTwips = format.hasProperty(FirstLineTwips)
                                     ? format.intProperty(FirstLineTwips)
                                     : int(std::lround(format.textIndent() * kTwipsPerPixel));
    style.tabs = tabStops(format);
    return style;
}

QList<TabStop> tabStops(const QTextBlockFormat &format)
{
    QList<TabStop> tabs;
    for (const TabPx &tab : tabStopsPx(format))
        tabs.append(TabStop{int(std::lround(tab.position * kTwipsPerPixel)), tab.kind});
    return tabs;
}

void setTabStops(QTextBlockFormat &format, const QList<TabStop> &tabs)
{
    QList<TabPx> pixels;
    for (const TabStop &tab : tabs)
        pixels.append(TabPx{tab.positionTwips / kTwipsPerPixel, tab.kind});
    setTabStopsPx(format, pixels);
}

QList<TabPx> tabStopsPx(const QTextBlockFormat &format)
{
    const QList<double> values = format.property(TabStops).value<QList<double>>();
    QList<TabPx> tabs;
    for (qsizetype i = 0; i + 1 < values.size(); i += 2)
        tabs.append(TabPx{values[i], TabKind(qBound(0, int(values[i + 1]), int(TabKind::Decimal)))});
    return tabs;
}

void setTabStopsPx(QTextBlockFormat &format, const QList<TabPx> &tabs)
{
    if (tabs.isEmpty()) {
        format.clearProperty(TabStops);
        return;
    }
    QList<double> values;
    values.reserve(tabs.size() * 2);
    for (const TabPx &tab : tabs)
        values << tab.position << double(int(tab.kind));
    format.setProperty(TabStops, QVariant::fromValue(values));
}

void deriveDisplay(QTextBlockFormat &format, bool bullet)
{
    // Qt draws the bullet in the indent itself; a hanging first line would push it out.
    format.setTextIndent(bullet ? 0.0 : format.intProperty(FirstLineTwips) / kTwipsPerPixel);
    QList<QTextOption::Tab> qtTabs;
    for (const TabPx &tab : tabStopsPx(format)) {
        const double position = tab.position - format.leftMargin();
        if (position <= 0)
            continue; // kept in the model, but Qt cannot place a stop inside the indent
        switch (tab.kind) {
        case TabKind::Left:
            qtTabs.append(QTextOption::Tab(position, QTextOption::LeftTab));
            break;
        case TabKind::Right:
            qtTabs.append(QTextOption::Tab(position, QTextOption::RightTab));
            break;
        case TabKind::Center:
            qtTabs.append(QTextOption::Tab(position, QTextOption::CenterTab));
            break;
        case TabKind::Decimal:
            qtTabs.append(QTextOption::Tab(position, QTextOption::DelimiterTab, QChar(u',')));
            break;
        }
    }
    // The control keeps stops in the order they were set (a dragged ruler marker may pass its
    // neighbour); Qt wants them ascending.
    std::sort(qtTabs.begin(), qtTabs.end(),
              [](const QTextOption::Tab &a, const QTextOption::Tab &b) { return a.position < b.position; });
    format.setTabPositions(qtTabs);
}

void setLineBoxPadding(QTextBlockFormat &format, int raiseTwips, int lowerTwips)
{
    format.setTopMargin(std::ceil(qMax(0, raiseTwips) / kTwipsPerPixel));
    format.setBottomMargin(std::ceil(qMax(0, lowerTwips) / kTwipsPerPixel));
}

int alignmentCode(Qt::Alignment alignment)
{
    const Qt::Alignment h = horizontal(alignment);
    if (h & Qt::AlignJustify)
        return 0;
    if (h & Qt::AlignHCenter)
        return 2;
    if (h & Qt::AlignRight)
        return 1;
    return 0;
}

Qt::Alignment qtAlignment(ParagraphAlignment alignment)
{
    switch (alignment) {
    case ParagraphAlignment::Right:
        return Qt::AlignRight | Qt::AlignAbsolute;
    case ParagraphAlignment::Center:
        return Qt::AlignHCenter;
    case ParagraphAlignment::Justify:
        return Qt::AlignJustify;
    case ParagraphAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignAbsolute;
}

} // namespace TextFormats
