#include "rtf/writer/rtfoutputtables.h"

#include "rtf/symbolencoding.h"
#include "rtf/writer/rtfemitter.h"

#include <algorithm>

namespace {

// The family word lets a reader that lacks the font substitute a similar one.
const char *familyWord(const QString &name)
{
    const QString n = name.trimmed().toLower();
    static const QStringList modern = {QStringLiteral("courier"), QStringLiteral("consolas"),
                                       QStringLiteral("lucida console"), QStringLiteral("mono")};
    static const QStringList roman = {QStringLiteral("times"),    QStringLiteral("symbol"),
                                      QStringLiteral("georgia"),  QStringLiteral("garamond"),
                                      QStringLiteral("palatino"), QStringLiteral("book antiqua"),
                                      QStringLiteral("cambria"),  QStringLiteral("serif")};
    static const QStringList swiss = {
        QStringLiteral("arial"),     QStringLiteral("verdana"),        QStringLiteral("helvetica"),
        QStringLiteral("tahoma"),    QStringLiteral("calibri"),        QStringLiteral("segoe"),
        QStringLiteral("trebuchet"), QStringLiteral("century gothic"), QStringLiteral("sans")};
    const auto matches = [&n](const QStringList &keys) {
        return std::any_of(keys.begin(), keys.end(), [&n](const QString &k) { return n.contains(k); });
    };
    // Order matters: "DejaVu Sans Mono" is monospaced, "Liberation Sans" is not serif.
    if (matches(modern))
        return "fmodern";
    if (matches(swiss))
        return "fswiss";
    if (matches(roman))
        return "froman";
    return "fnil";
}

} // namespace

int RtfOutputTables::fontIndex(const QString &name, bool symbolEncoded)
{
    const QString key = (symbolEncoded ? QLatin1Char('2') : QLatin1Char('0')) + name;
    const auto it = m_fontIndex.constFind(key);
    if (it != m_fontIndex.constEnd())
        return *it;
    m_fonts.append(Font{name, symbolEncoded});
    m_fontIndex.insert(key, int(m_fonts.size() - 1));
    return int(m_fonts.size() - 1);
}

int RtfOutputTables::fontIndex(const CharStyle &style)
{
    // Runs mostly repeat the font of the run before: skip the look-up then.
    if (m_lastFont < 0 || style.symbolFont != m_lastSymbolFlag || style.fontName != m_lastFontName) {
        QHash<QString, int> &known = m_styleFont[style.symbolFont ? 1 : 0];
        auto it = known.constFind(style.fontName);
        if (it == known.constEnd())
            it = known.insert(
                style.fontName,
                fontIndex(style.fontName, style.symbolFont || SymbolEncoding::isSymbolFont(style.fontName)));
        m_lastFont = *it;
        m_lastFontName = style.fontName;
        m_lastSymbolFlag = style.symbolFont;
    }
    return m_lastFont;
}

int RtfOutputTables::colorIndex(const std::optional<QRgb> &color)
{
    if (!color)
        return 0;
    const QRgb rgb = *color & 0xFFFFFF; // RTF colours have no alpha
    const auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.constEnd())
        return *it;
    m_colors.append(rgb);
    m_colorIndex.insert(rgb, int(m_colors.size()));
    return int(m_colors.size());
}

void RtfOutputTables::write(RtfEmitter &out) const
{
    out.openGroup();
    out.controlWord("fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        const Font &font = m_fonts.at(i);
        out.openGroup();
        out.controlWord("f", i);
        out.controlWord(familyWord(font.name));
        out.controlWord("fprq", 2);
        out.controlWord("fcharset", font.symbolEncoded ? 2 : 0);
        out.fontName(font.name);
        out.raw(QByteArrayLiteral(";"));
        out.closeGroup();
    }
    out.closeGroup();
    out.newLine();
    if (m_colors.isEmpty())
        return;
    out.openGroup();
    out.controlWord("colortbl");
    out.raw(QByteArrayLiteral(" ;"));
    for (const QRgb rgb : m_colors) {
        out.controlWord("red", qRed(rgb));
        out.controlWord("green", qGreen(rgb));
        out.controlWord("blue", qBlue(rgb));
        out.raw(QByteArrayLiteral(";"));
    }
    out.closeGroup();
    out.newLine();
}
