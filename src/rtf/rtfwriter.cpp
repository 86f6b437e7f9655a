#include "rtf/rtfwriter.h"

#include "rtf/writer/rtfemitter.h"
#include "rtf/writer/rtfmathwriter.h"
#include "rtf/writer/rtfmetafile.h"
#include "rtf/writer/rtfoutputtables.h"

#include <QBuffer>
#include <QImageReader>
#include <QLoggingCategory>
#include <QUrl>

#include <cstdlib>

namespace {

Q_LOGGING_CATEGORY(lcRtfWriter, "veligram.richtext")

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
    explicit DocumentWriter(qsizetype expectedSize) : m_out(expectedSize) {}

    QByteArray write(const RichDocument &document)
    {
        collectTables(document);
        writeHeader();
        m_lastStyle = CharStyle{};
        for (qsizetype i = 0; i < document.paragraphs.size(); ++i) {
            writeParagraph(document.paragraphs.at(i));
            const bool last = i + 1 == document.paragraphs.size();
            if (!last || document.endsWithParagraphMark) {
                m_out.controlWord("par");
                m_out.newLine();
            }
        }
        m_out.closeGroup();
        return m_out.take();
    }

private:
    // The tables come before the text they serve: a first walk numbers fonts and colours in
    // the order the second one meets them.
    void collectTables(const RichDocument &document)
    {
        CharStyle last;
        for (const Paragraph &paragraph : document.paragraphs) {
            if (paragraph.style.bullet) {
                // The text's font comes first, so that a document opening with a bullet does
                // not get Symbol as its default font (\deff0).
                m_tables.fontIndex(paragraph.runs.isEmpty() ? last : paragraph.runs.constFirst().style);
                m_tables.fontIndex(QStringLiteral("Symbol"), true);
            }
            if (paragraph.runs.isEmpty()) {
                m_tables.fontIndex(last);
                m_tables.colorIndex(last.color);
                continue;
            }
            for (const TextRun &run : paragraph.runs) {
                m_tables.fontIndex(run.style);
                m_tables.colorIndex(run.style.color);
            }
            last = paragraph.runs.constLast().style;
        }
    }

    void writeHeader()
    {
        m_out.openGroup();
        m_out.controlWord("rtf", 1);
        m_out.controlWord("ansi");
        m_out.controlWord("ansicpg", 1252);
        m_out.controlWord("deff", 0);
        m_out.controlWord("deflang", 1036);
        m_tables.write(m_out);
        m_out.openGroup();
        m_out.ignorableMarker();
        m_out.controlWord("generator");
        m_out.raw(QByteArrayLiteral(" Veligram;"));
        m_out.closeGroup();
        m_out.controlWord("viewkind", 4);
        m_out.controlWord("uc", 1);
        m_out.newLine();
    }

    void writeParagraph(const Paragraph &paragraph)
    {
        const ParagraphStyle &style = paragraph.style;
        m_out.controlWord("pard");
        if (style.bullet)
            writeBullet();
        switch (style.alignment) {
        case ParagraphAlignment::Left:
            break;
        case ParagraphAlignment::Right:
            m_out.controlWord("qr");
            break;
        case ParagraphAlignment::Center:
            m_out.controlWord("qc");
            break;
        case ParagraphAlignment::Justify:
            m_out.controlWord("qj");
            break;
        }
        if (style.leftIndentTwips != 0)
            m_out.controlWord("li", style.leftIndentTwips);
        if (style.rightIndentTwips != 0)
            m_out.controlWord("ri", style.rightIndentTwips);
        if (style.firstLineIndentTwips != 0)
            m_out.controlWord("fi", style.firstLineIndentTwips);
        for (const TabStop &tab : style.tabs) {
            if (tab.kind == TabKind::Right)
                m_out.controlWord("tqr");
            else if (tab.kind == TabKind::Center)
                m_out.controlWord("tqc");
            else if (tab.kind == TabKind::Decimal)
                m_out.controlWord("tqdec");
            m_out.controlWord("tx", tab.positionTwips);
        }

        // \pard leaves character properties alone, but some readers reset the font and size
        // with it: always name them again.
        m_state.font = -1;
        m_state.halfPoints = -1;
        if (paragraph.runs.isEmpty()) {
            writeCharStyle(m_lastStyle);
            return;
        }
        // An equation alone on its paragraph is a displayed one for Office Math readers.
        const bool display = paragraph.runs.size() == 1 && paragraph.runs.constFirst().object &&
                             paragraph.runs.constFirst().object->kind == EmbeddedObject::Kind::Equation;
        for (const TextRun &run : paragraph.runs) {
            writeCharStyle(run.style);
            if (run.object && run.object->kind == EmbeddedObject::Kind::Equation)
                writeEquation(*run.object, display);
            else if (run.object)
                writeObject(*run.object);
            else if (m_tables.isSymbolEncoded(m_state.font) && run.style.symbolFont)
                m_out.symbolText(run.text);
            else if (m_tables.isSymbolEncoded(m_state.font))
                m_out.unicodeText(run.text);
            else
                m_out.text(run.text);
        }
        m_lastStyle = paragraph.runs.constLast().style;
    }

    // The legacy bullet form: \pntext is the bullet drawn for readers that ignore \pn.
    void writeBullet()
    {
        const int symbol = m_tables.fontIndex(QStringLiteral("Symbol"), true);
        m_out.openGroup();
        m_out.controlWord("pntext");
        m_out.controlWord("f", symbol);
        m_out.raw(QByteArrayLiteral("\\'B7"));
        m_out.controlWord("tab");
        m_out.closeGroup();
        m_out.openGroup();
        m_out.ignorableMarker();
        m_out.controlWord("pn");
        m_out.controlWord("pnlvlblt");
        m_out.controlWord("pnf", symbol);
        m_out.controlWord("pnindent", 0);
        m_out.openGroup();
        m_out.controlWord("pntxtb");
        m_out.raw(QByteArrayLiteral("\\'B7"));
        m_out.closeGroup();
        m_out.closeGroup();
    }

    void writeCharStyle(const CharStyle &style)
    {
        const int font = m_tables.fontIndex(style);
        if (font != m_state.font)
            m_out.controlWord("f", font);
        const int halfPoints = qMax(1, style.halfPoints);
        if (halfPoints != m_state.halfPoints)
            m_out.controlWord("fs", halfPoints);
        writeToggle(style.bold, m_state.bold, "b", "b0");
        writeToggle(style.italic, m_state.italic, "i", "i0");
        writeToggle(style.underline, m_state.underline, "ul", "ulnone");
        writeToggle(style.strikethrough, m_state.strikethrough, "strike", "strike0");
        const int color = m_tables.colorIndex(style.color);
        if (color != m_state.color)
            m_out.controlWord("cf", color);
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
            m_out.controlWord(wanted ? on : off);
    }

    // \up and \dn count half-points (10 twips); the control keeps twips. Other readers get the
    // nearest half-point, ours the exact value from the private word that follows.
    void writeOffset(int twips)
    {
        if (twips == 0) {
            m_out.controlWord("up", 0);
            return;
        }
        const qint64 magnitude = std::llabs(qint64(twips));
        m_out.controlWord(twips > 0 ? "up" : "dn", (magnitude + 5) / 10);
        if (magnitude % 10 != 0)
            m_out.controlWord("vgoff", twips);
    }

    void writeObject(const EmbeddedObject &object)
    {
        if (object.kind == EmbeddedObject::Kind::Verbatim && !object.verbatimRtf.isEmpty()) {
            // Our files say \uc1; a group read under another count keeps it around itself.
            if (object.verbatimUnicodeSkip != 1) {
                m_out.openGroup();
                m_out.controlWord("uc", object.verbatimUnicodeSkip);
            }
            m_out.raw(object.verbatimRtf);
            if (object.verbatimUnicodeSkip != 1)
                m_out.closeGroup();
            return;
        }
        if (object.className.isEmpty() && object.sourcePath.isEmpty()) {
            writePicture(object);
            return;
        }
        // An object of another application: other word processors cannot run it, so it goes
        // out with its picture as the \result they show. There is no \objdata: the object's
        // content is its linked file, named in \objname (percent-encoded, so 7-bit).
        m_out.openGroup();
        m_out.controlWord("object");
        m_out.controlWord("objemb");
        m_out.controlWord("rsltpict");
        m_out.controlWord("objw", objectWidth(object));
        m_out.controlWord("objh", objectHeight(object));
        m_out.openGroup();
        m_out.ignorableMarker();
        m_out.controlWord("objclass");
        // A picture kept linked to its image file has no class of its own.
        m_out.text(object.className.isEmpty() ? QStringLiteral("Image") : object.className);
        m_out.closeGroup();
        if (!object.sourcePath.isEmpty()) {
            m_out.openGroup();
            m_out.ignorableMarker();
            m_out.controlWord("objname");
            m_out.text(QString::fromLatin1(QUrl::toPercentEncoding(object.sourcePath, "/\\:")));
            m_out.closeGroup();
        }
        m_out.openGroup();
        m_out.controlWord("result");
        writePicture(object);
        m_out.closeGroup();
        m_out.closeGroup();
    }

    // An equation goes out as an Office Math zone, which word processors since 2007 open as an
    // equation, holding three things: its linear text in a group only we read, which brings it
    // back exactly as typed; its OMML elements; its picture for readers without Office Math
    // (\mmathPict is no destination to them, so they show the picture inside), lowered by the
    // equation's descent so that its baseline sits on the line's: PNG for those that know
    // \shppict, a metafile of the same pixels for the older ones.
    void writeEquation(const EmbeddedObject &object, bool display)
    {
        if (!object.omml) {
            writePictureEquation(object);
            return;
        }
        const int descent = qMax(0, object.equationDescentTwips);
        m_out.openGroup();
        m_out.controlWord("mmath");
        m_out.openGroup();
        m_out.ignorableMarker();
        m_out.controlWord("vgeq", descent);
        m_out.text(object.equation);
        m_out.closeGroup();
        RtfMathWriter::writeZone(m_out, *object.omml, display);
        m_out.openGroup();
        m_out.controlWord("mmathPict");
        writeOffset(m_state.offsetTwips - descent);
        m_out.openGroup();
        m_out.ignorableMarker();
        m_out.controlWord("shppict");
        writePicture(object);
        m_out.closeGroup();
        m_out.openGroup();
        m_out.controlWord("nonshppict");
        writeMetafile(object);
        m_out.closeGroup();
        m_out.closeGroup();
        m_out.closeGroup();
        m_out.newLine();
    }

    void writeMetafile(const EmbeddedObject &object)
    {
        const QImage image = object.image.isNull() ? QImage::fromData(object.imageData) : object.image;
        const QByteArray wmf = RtfMetafile::fromImage(image);
        if (wmf.isEmpty()) {
            writePicture(object);
            return;
        }
        // A metafile's \picw and \pich are hundredths of a millimetre.
        m_out.openGroup();
        m_out.controlWord("pict");
        m_out.controlWord("wmetafile", 8);
        m_out.controlWord("picw", qRound(objectWidth(object) * 2540.0 / 1440.0));
        m_out.controlWord("pich", qRound(objectHeight(object) * 2540.0 / 1440.0));
        m_out.controlWord("picwgoal", objectWidth(object));
        m_out.controlWord("pichgoal", objectHeight(object));
        m_out.hexBytes(wmf, 128);
        m_out.closeGroup();
    }

    // The form of files written before Office Math zones, for an equation known by its text
    // alone: its picture, with the linear text in a group before it.
    void writePictureEquation(const EmbeddedObject &object)
    {
        m_out.openGroup();
        m_out.ignorableMarker();
        m_out.controlWord("vgeq", qMax(0, object.equationDescentTwips));
        m_out.text(object.equation);
        m_out.closeGroup();
        m_out.openGroup();
        writeOffset(m_state.offsetTwips - qMax(0, object.equationDescentTwips));
        writePicture(object);
        m_out.closeGroup();
    }

    static int objectWidth(const EmbeddedObject &object)
    {
        return object.widthTwips > 0 ? object.widthTwips : object.image.width() * 15;
    }
    static int objectHeight(const EmbeddedObject &object)
    {
        return object.heightTwips > 0 ? object.heightTwips : object.image.height() * 15;
    }

    void writePicture(const EmbeddedObject &object)
    {
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
        m_out.openGroup();
        m_out.controlWord("pict");
        m_out.controlWord(blip);
        m_out.controlWord("picw", pixels.width());
        m_out.controlWord("pich", pixels.height());
        m_out.controlWord("picwgoal", goalWidth);
        m_out.controlWord("pichgoal", goalHeight);
        m_out.hexBytes(data, 128);
        m_out.closeGroup();
    }

    static QSize storedSize(const QByteArray &data)
    {
        QBuffer buffer;
        buffer.setData(data);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        return size.isValid() ? size : QSize(0, 0);
    }

    RtfEmitter m_out;
    RtfOutputTables m_tables;
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
                size += run.object->imageData.size() * (run.object->omml ? 8 : 2) +
                        run.object->verbatimRtf.size() + 64;
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
