#include "rtfwriter.h"

#include "rtfemitter.h"
#include "symbolencoding.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdlib>

namespace {

Q_LOGGING_CATEGORY(lcRtfWriter, "veligram.richtext")

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

struct FontEntry
{
    QString name;
    bool symbol = false;
};

// Fonts and colours in order of first use, numbered as RTF numbers them.
class Tables
{
public:
    int fontIndex(const QString &name, bool symbol)
    {
        const QString key = (symbol ? QLatin1Char('2') : QLatin1Char('0')) + name;
        const auto it = m_fontIndex.constFind(key);
        if (it != m_fontIndex.constEnd())
            return *it;
        m_fonts.append(FontEntry{name, symbol});
        m_fontIndex.insert(key, int(m_fonts.size() - 1));
        return int(m_fonts.size() - 1);
    }
    int fontIndex(const CharStyle &style)
    {
        return fontIndex(style.fontName, style.symbolFont || SymbolEncoding::isSymbolFont(style.fontName));
    }
    bool isSymbol(int font) const { return m_fonts.at(font).symbol; }

    // 0 is automatic; explicit colours start at 1.
    int colorIndex(const std::optional<QRgb> &color)
    {
        if (!color)
            return 0;
        const QRgb rgb = *color & 0xFFFFFF;
        const auto it = m_colorIndex.constFind(rgb);
        if (it != m_colorIndex.constEnd())
            return *it;
        m_colors.append(rgb);
        m_colorIndex.insert(rgb, int(m_colors.size()));
        return int(m_colors.size());
    }

    void write(RtfEmitter &out) const
    {
        out.openGroup();
        out.controlWord("fonttbl");
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            const FontEntry &font = m_fonts.at(i);
            out.openGroup();
            out.controlWord("f", i);
            out.controlWord(familyWord(font.name));
            out.controlWord("fprq", 2);
            out.controlWord("fcharset", font.symbol ? 2 : 0);
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

private:
    QList<FontEntry> m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
};

// What the reader has in force, so that only changes are written.
struct CharState
{
    int font = -1;
    int halfPoints = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int color = 0;
    int offsetTwips = 0;
    bool protectedText = false;
};

class DocumentWriter
{
public:
    explicit DocumentWriter(qsizetype expectedSize) : m_body(expectedSize) {}

    QByteArray write(const RichDocument &document)
    {
        for (qsizetype i = 0; i < document.paragraphs.size(); ++i) {
            writeParagraph(document.paragraphs.at(i));
            const bool last = i + 1 == document.paragraphs.size();
            if (!last || document.endsWithParagraphMark) {
                m_body.controlWord("par");
                m_body.newLine();
            }
        }
        m_body.closeGroup();

        RtfEmitter header(4096);
        header.openGroup();
        header.controlWord("rtf", 1);
        header.controlWord("ansi");
        header.controlWord("ansicpg", 1252);
        header.controlWord("deff", 0);
        header.controlWord("deflang", 1036);
        m_tables.write(header);
        header.openGroup();
        header.ignorableMarker();
        header.controlWord("generator");
        header.raw(QByteArrayLiteral(" Veligram;"));
        header.closeGroup();
        header.controlWord("viewkind", 4);
        header.controlWord("uc", 1);
        QByteArray out = header.take();
        out.reserve(out.size() + 2 + m_body.bytes().size());
        out.append("\r\n", 2); // the body starts with \pard
        out.append(m_body.bytes());
        return out;
    }

private:
    void writeParagraph(const Paragraph &paragraph)
    {
        const ParagraphStyle &style = paragraph.style;
        m_body.controlWord("pard");
        if (style.bullet) {
            // The text's font comes first, so that a document opening with a bullet does not
            // get Symbol as its default font (\deff0).
            m_tables.fontIndex(paragraph.runs.isEmpty() ? m_lastStyle : paragraph.runs.constFirst().style);
            writeBullet();
        }
        switch (style.alignment) {
        case ParagraphAlignment::Left:
            break;
        case ParagraphAlignment::Right:
            m_body.controlWord("qr");
            break;
        case ParagraphAlignment::Center:
            m_body.controlWord("qc");
            break;
        case ParagraphAlignment::Justify:
            m_body.controlWord("qj");
            break;
        }
        if (style.leftIndentTwips != 0)
            m_body.controlWord("li", style.leftIndentTwips);
        if (style.rightIndentTwips != 0)
            m_body.controlWord("ri", style.rightIndentTwips);
        if (style.firstLineIndentTwips != 0)
            m_body.controlWord("fi", style.firstLineIndentTwips);
        for (const TabStop &tab : style.tabs) {
            if (tab.kind == TabKind::Right)
                m_body.controlWord("tqr");
            else if (tab.kind == TabKind::Center)
                m_body.controlWord("tqc");
            else if (tab.kind == TabKind::Decimal)
                m_body.controlWord("tqdec");
            m_body.controlWord("tx", tab.positionTwips);
        }

        // \pard leaves character properties alone, but some readers reset the font and size
        // with it: always name them again.
        m_state.font = -1;
        m_state.halfPoints = -1;
        if (paragraph.runs.isEmpty()) {
            writeCharStyle(m_lastStyle);
            return;
        }
        for (const TextRun &run : paragraph.runs) {
            writeCharStyle(run.style);
            if (run.object)
                writeObject(*run.object);
            else if (m_tables.isSymbol(m_state.font))
                m_body.symbolText(run.text);
            else
                m_body.text(run.text);
        }
        m_lastStyle = paragraph.runs.constLast().style;
    }

    // The legacy bullet form: \pntext is the bullet drawn for readers that ignore \pn.
    void writeBullet()
    {
        const int symbol = m_tables.fontIndex(QStringLiteral("Symbol"), true);
        m_body.openGroup();
        m_body.controlWord("pntext");
        m_body.controlWord("f", symbol);
        m_body.raw(QByteArrayLiteral("\\'B7"));
        m_body.controlWord("tab");
        m_body.closeGroup();
        m_body.openGroup();
        m_body.ignorableMarker();
        m_body.controlWord("pn");
        m_body.controlWord("pnlvlblt");
        m_body.controlWord("pnf", symbol);
        m_body.controlWord("pnindent", 0);
        m_body.openGroup();
        m_body.controlWord("pntxtb");
        m_body.raw(QByteArrayLiteral("\\'B7"));
        m_body.closeGroup();
        m_body.closeGroup();
    }

    void writeCharStyle(const CharStyle &style)
    {
        const int font = m_tables.fontIndex(style);
        if (font != m_state.font)
            m_body.controlWord("f", font);
        const int halfPoints = qMax(1, style.halfPoints);
        if (halfPoints != m_state.halfPoints)
            m_body.controlWord("fs", halfPoints);
        writeToggle(style.bold, m_state.bold, "b", "b0");
        writeToggle(style.italic, m_state.italic, "i", "i0");
        writeToggle(style.underline, m_state.underline, "ul", "ulnone");
        writeToggle(style.strikethrough, m_state.strikethrough, "strike", "strike0");
        const int color = m_tables.colorIndex(style.color);
        if (color != m_state.color)
            m_body.controlWord("cf", color);
        if (style.offsetTwips != m_state.offsetTwips)
            writeOffset(style.offsetTwips);
        writeToggle(style.protectedText, m_state.protectedText, "protect", "protect0");
        m_state = CharState{font,         halfPoints,        style.bold,
                            style.italic, style.underline,   style.strikethrough,
                            color,        style.offsetTwips, style.protectedText};
    }

    void writeToggle(bool wanted, bool current, const char *on, const char *off)
    {
        if (wanted != current)
            m_body.controlWord(wanted ? on : off);
    }

    // \up and \dn count half-points (10 twips); the control keeps twips. Other readers get the
    // nearest half-point, ours the exact value from the private word that follows.
    void writeOffset(int twips)
    {
        if (twips == 0) {
            m_body.controlWord("up", 0);
            return;
        }
        const qint64 magnitude = std::llabs(qint64(twips));
        m_body.controlWord(twips > 0 ? "up" : "dn", (magnitude + 5) / 10);
        if (magnitude % 10 != 0)
            m_body.controlWord("vgoff", twips);
    }

    void writeObject(const EmbeddedObject &object)
    {
        if (object.kind == EmbeddedObject::Kind::Verbatim && !object.verbatimRtf.isEmpty()) {
            m_body.raw(object.verbatimRtf);
            return;
        }
        QByteArray data;
        const char *blip = nullptr;
        QSize pixels;
        const QByteArray format = object.imageFormat.toLower();
        if (!object.imageData.isEmpty() && (format == "png" || format == "jpeg" || format == "jpg")) {
            data = object.imageData;
            blip = format == "png" ? "pngblip" : "jpegblip";
            pixels = object.image.isNull() ? storedSize(data) : object.image.size();
        } else {
            // Readers of every platform know PNG; what we cannot pass on as it came is re-encoded.
            QImage image = object.image;
            if (image.isNull() && !object.imageData.isEmpty())
                image.loadFromData(object.imageData);
            QBuffer buffer(&data);
            if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
                qCWarning(lcRtfWriter) << "picture without usable image data left out";
                return;
            }
            blip = "pngblip";
            pixels = image.size();
        }
        const int goalWidth = object.widthTwips > 0 ? object.widthTwips : pixels.width() * 15;
        const int goalHeight = object.heightTwips > 0 ? object.heightTwips : pixels.height() * 15;
        m_body.openGroup();
        m_body.controlWord("pict");
        m_body.controlWord(blip);
        m_body.controlWord("picw", pixels.width());
        m_body.controlWord("pich", pixels.height());
        m_body.controlWord("picwgoal", goalWidth);
        m_body.controlWord("pichgoal", goalHeight);
        m_body.hexBytes(data, 128);
        m_body.closeGroup();
    }

    static QSize storedSize(const QByteArray &data)
    {
        QBuffer buffer;
        buffer.setData(data);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        return size.isValid() ? size : QSize(0, 0);
    }

    RtfEmitter m_body;
    Tables m_tables;
    CharState m_state;
    CharStyle m_lastStyle;
};

qsizetype expectedSize(const RichDocument &document)
{
    qsizetype size = 1024;
    for (const Paragraph &paragraph : document.paragraphs) {
        size += 32;
        for (const TextRun &run : paragraph.runs) {
            size += run.text.size() + 16;
            if (run.object)
                size += run.object->imageData.size() * 2 + run.object->verbatimRtf.size() + 64;
        }
    }
    return size + size / 8;
}

} // namespace

QByteArray RtfWriter::write(const RichDocument &document)
{
    DocumentWriter writer(expectedSize(document));
    return writer.write(document);
}
