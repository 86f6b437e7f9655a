#include "roundtripcheck.h"
#include "rtf/cp1252.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "testimages.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTest>

#include <algorithm>

namespace {

CharStyle plain()
{
    return CharStyle{};
}

TextRun run(const QString &text, const CharStyle &style = plain())
{
    return TextRun{text, style, nullptr};
}

RichDocument documentOf(const QList<TextRun> &runs, const ParagraphStyle &style = {})
{
    RichDocument document;
    document.paragraphs = {Paragraph{style, runs}};
    return document;
}

// The body is what follows the header line, without the closing brace.
QByteArray bodyOf(const QByteArray &rtf)
{
    const QByteArray marker = QByteArrayLiteral("\\viewkind4\\uc1\r\n");
    const qsizetype start = rtf.indexOf(marker);
    if (start < 0 || !rtf.endsWith('}'))
        return QByteArrayLiteral("<malformed: ") + rtf + '>';
    return rtf.mid(start + marker.size(), rtf.size() - start - marker.size() - 1);
}

QByteArray headerOf(const QByteArray &rtf)
{
    return rtf.left(rtf.indexOf("\\viewkind4"));
}

QImage testImage()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(1, 1, qRgb(0, 0, 255));
    return image;
}

TextRun objectRun(const EmbeddedObject &object, const CharStyle &style = plain())
{
    return TextRun{QString(QChar(0xFFFC)), style, std::make_shared<const EmbeddedObject>(object)};
}

// Adjacent runs with the same style are one run to a reader; objects stay runs of their own.
RichDocument normalized(RichDocument document)
{
    for (Paragraph &paragraph : document.paragraphs) {
        QList<TextRun> merged;
        for (const TextRun &run : paragraph.runs) {
            if (run.text.isEmpty() && !run.object)
                continue;
            if (!merged.isEmpty() && !run.object && !merged.constLast().object &&
                merged.constLast().style == run.style)
                merged.last().text += run.text;
            else
                merged.append(run);
        }
        paragraph.runs = merged;
    }
    return document;
}

// 2x1 pixels, 24 bits: BITMAPINFOHEADER then one padded row (blue, white).
const char *const dibHex = "28000000020000000100000001001800000000000800000000000000000000000000000000000000"
                           "ff0000ffffff0000";

// What the writer fuzzer does to a document between its two readings.
enum class Tamper {
    Nothing,
    OnePixel,
    DisplaySize,
    Text,
};

void tamper(RichDocument &document, Tamper how)
{
    for (Paragraph &paragraph : document.paragraphs) {
        for (TextRun &run : paragraph.runs) {
            if (how == Tamper::Text && !run.object) {
                run.text += QLatin1Char('!');
                return;
            }
            if (!run.object || how == Tamper::Text)
                continue;
            auto object = std::make_shared<EmbeddedObject>(*run.object);
            if (how == Tamper::OnePixel)
                object->image.setPixel(0, 0, qRgb(1, 2, 3));
            else if (how == Tamper::DisplaySize)
                object->widthTwips += 15;
            run.object = object;
            return;
        }
    }
}

QString describe(const CharStyle &s)
{
    return QStringLiteral("%1%2 %3hp%4%5%6%7 colour %8 offset %9%10")
        .arg(s.fontName, s.symbolFont ? QStringLiteral("(symbol)") : QString())
        .arg(s.halfPoints)
        .arg(s.bold ? " b" : "", s.italic ? " i" : "", s.underline ? " u" : "", s.strikethrough ? " s" : "")
        .arg(s.color ? QString::number(*s.color & 0xFFFFFF, 16) : QStringLiteral("auto"))
        .arg(s.offsetTwips)
        .arg(s.protectedText ? " protected" : "");
}

QString describe(const ParagraphStyle &s)
{
    QString tabs;
    for (const TabStop &tab : s.tabs)
        tabs += QStringLiteral(" %1/%2").arg(tab.positionTwips).arg(int(tab.kind));
    return QStringLiteral("align %1 li %2 ri %3 fi %4 tabs [%5]%6")
        .arg(int(s.alignment))
        .arg(s.leftIndentTwips)
        .arg(s.rightIndentTwips)
        .arg(s.firstLineIndentTwips)
        .arg(tabs, s.bullet ? " bullet" : "");
}

// One line per paragraph and run, so that a failure shows what differs.
QString describe(const RichDocument &document)
{
    QString out;
    for (const Paragraph &paragraph : normalized(document).paragraphs) {
        out += QStringLiteral("paragraph ") + describe(paragraph.style) + QLatin1Char('\n');
        for (const TextRun &run : paragraph.runs) {
            QString text;
            for (const QChar c : run.text)
                text += c.unicode() >= 0x20 && c.unicode() < 0x7F
                            ? QString(c)
                            : QStringLiteral("<%1>").arg(c.unicode(), 0, 16);
            out += QStringLiteral("  run [%1] %2").arg(text, describe(run.style));
            if (run.object) {
                const EmbeddedObject &o = *run.object;
                out += QStringLiteral(" object kind %1 format %2 %3 bytes %4x%5 twips verbatim %6 bytes")
                           .arg(int(o.kind))
                           .arg(QString::fromLatin1(o.imageFormat))
                           .arg(o.imageData.size())
                           .arg(o.widthTwips)
                           .arg(o.heightTwips)
                           .arg(o.verbatimRtf.size());
                if (!o.imageData.isEmpty())
                    out += QStringLiteral(" data %1").arg(qHash(o.imageData));
            }
            out += QLatin1Char('\n');
        }
    }
    out +=
        document.endsWithParagraphMark ? QStringLiteral("final mark\n") : QStringLiteral("no final mark\n");
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Tamper)

class tst_RtfWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyDocumentHasTheFullHeader()
    {
        QCOMPARE(RtfWriter::write(RichDocument{}),
                 QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036"
                            "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
                            "{\\*\\generator Veligram;}\\viewkind4\\uc1\r\n"
                            "\\pard\\f0\\fs20}"));
    }

    void characterAttributes_data()
    {
        QTest::addColumn<CharStyle>("style");
        QTest::addColumn<QByteArray>("body");
        CharStyle style;
        QTest::newRow("default style") << style << QByteArray("\\pard\\f0\\fs20 x");
        style = plain();
        style.halfPoints = 17;
        QTest::newRow("odd half-point size") << style << QByteArray("\\pard\\f0\\fs17 x");
        style = plain();
        style.bold = true;
        QTest::newRow("bold") << style << QByteArray("\\pard\\f0\\fs20\\b x");
        style = plain();
        style.italic = true;
        QTest::newRow("italic") << style << QByteArray("\\pard\\f0\\fs20\\i x");
        style = plain();
        style.underline = true;
        QTest::newRow("underline") << style << QByteArray("\\pard\\f0\\fs20\\ul x");
        style = plain();
        style.strikethrough = true;
        QTest::newRow("strikethrough") << style << QByteArray("\\pard\\f0\\fs20\\strike x");
        style = plain();
        style.color = qRgb(255, 0, 0);
        QTest::newRow("colour") << style << QByteArray("\\pard\\f0\\fs20\\cf1 x");
        style = plain();
        style.protectedText = true;
        QTest::newRow("protected") << style << QByteArray("\\pard\\f0\\fs20\\protect x");
        style = plain();
        style.bold = style.italic = style.underline = style.strikethrough = style.protectedText = true;
        style.color = qRgb(1, 2, 3);
        style.offsetTwips = -50;
        QTest::newRow("everything, fixed order")
            << style << QByteArray("\\pard\\f0\\fs20\\b\\i\\ul\\strike\\cf1\\dn5\\protect x");
    }
    void characterAttributes()
    {
        QFETCH(CharStyle, style);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(RtfWriter::write(documentOf({run(QStringLiteral("x"), style)}))), body);
    }

    void attributesSwitchBackOff_data()
    {
        QTest::addColumn<CharStyle>("style");
        QTest::addColumn<QByteArray>("on");
        QTest::addColumn<QByteArray>("off");
        CharStyle style;
        style.bold = true;
        QTest::newRow("bold") << style << QByteArray("\\b") << QByteArray("\\b0");
        style = plain();
        style.italic = true;
        QTest::newRow("italic") << style << QByteArray("\\i") << QByteArray("\\i0");
        style = plain();
        style.underline = true;
        QTest::newRow("underline") << style << QByteArray("\\ul") << QByteArray("\\ulnone");
        style = plain();
        style.strikethrough = true;
        QTest::newRow("strikethrough") << style << QByteArray("\\strike") << QByteArray("\\strike0");
        style = plain();
        style.color = qRgb(0, 0, 0);
        QTest::newRow("explicit black") << style << QByteArray("\\cf1") << QByteArray("\\cf0");
        style = plain();
        style.protectedText = true;
        QTest::newRow("protected") << style << QByteArray("\\protect") << QByteArray("\\protect0");
        style = plain();
        style.offsetTwips = 64;
        QTest::newRow("offset") << style << QByteArray("\\up6\\vgoff64") << QByteArray("\\up0");
        style = plain();
        style.halfPoints = 16;
        QTest::newRow("size") << style << QByteArray("\\fs16") << QByteArray("\\fs20");
    }
    void attributesSwitchBackOff()
    {
        QFETCH(CharStyle, style);
        QFETCH(QByteArray, on);
        QFETCH(QByteArray, off);
        const RichDocument document =
            documentOf({run(QStringLiteral("a")), run(QStringLiteral("b"), style), run(QStringLiteral("c"))});
        const QByteArray body = bodyOf(RtfWriter::write(document));
        QVERIFY2(body.contains(QByteArray(" a" + on + " b" + off + " c")), body.constData());
    }

    void unchangedAttributesAreNotRepeated()
    {
        CharStyle bold;
        bold.bold = true;
        const RichDocument document =
            documentOf({run(QStringLiteral("a"), bold), run(QStringLiteral("b"), bold)});
        QCOMPARE(bodyOf(RtfWriter::write(document)), QByteArray("\\pard\\f0\\fs20\\b ab"));
    }

    void escaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("escaped");
        QTest::newRow("backslash and braces") << QStringLiteral("a\\b{c}") << QByteArray(" a\\\\b\\{c\\}");
        QTest::newRow("tab then letter") << QStringLiteral("a\tb") << QByteArray(" a\\tab b");
        QTest::newRow("tab then space keeps the space") << QStringLiteral("\t x") << QByteArray("\\tab  x");
        QTest::newRow("line break") << QStringLiteral("a\u2028b") << QByteArray(" a\\line b");
        QTest::newRow("e acute, lowercase hex")
            << QStringLiteral("\u00e9t\u00e9") << QByteArray("\\'e9t\\'e9");
        QTest::newRow("euro 0x80") << QStringLiteral("\u20ac") << QByteArray("\\'80");
        QTest::newRow("undefined 0x81") << QStringLiteral("\u0081") << QByteArray("\\'81");
        QTest::newRow("oe ligature 0x9c") << QStringLiteral("\u0153") << QByteArray("\\'9c");
        QTest::newRow("Y diaeresis 0x9f") << QStringLiteral("\u0178") << QByteArray("\\'9f");
        QTest::newRow("non-breaking space") << QStringLiteral("\u00a0") << QByteArray("\\'a0");
        QTest::newRow("y diaeresis 0xff") << QStringLiteral("\u00ff") << QByteArray("\\'ff");
        QTest::newRow("control character") << QStringLiteral("\u0001") << QByteArray("\\'01");
        QTest::newRow("greek alpha") << QStringLiteral("\u03b1x") << QByteArray("\\u945?x");
        QTest::newRow("above 32767 is negative") << QStringLiteral("\uf0b7") << QByteArray("\\u-3913?");
        QTest::newRow("object mark without object") << QStringLiteral("\ufffc") << QByteArray("\\u-4?");
        QTest::newRow("digits after unicode") << QStringLiteral("\u2192"
                                                                "2")
                                              << QByteArray("\\u8594?2");
    }
    void escaping()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, escaped);
        QCOMPARE(bodyOf(RtfWriter::write(documentOf({run(text)}))), "\\pard\\f0\\fs20" + escaped);
    }

    void outputIsSevenBitForEveryCharacter()
    {
        QString all;
        for (int u = 1; u < 0x10000; ++u) {
            if (!QChar::isSurrogate(char32_t(u)))
                all.append(QChar(u));
        }
        const QByteArray rtf = RtfWriter::write(documentOf({run(all)}));
        for (const char c : rtf)
            QVERIFY(uchar(c) < 0x80);
    }

    void symbolFontsWriteTheirBytes_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<bool>("symbolFlag");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("fontEntry");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("Symbol alpha, bullet, brace")
            << QStringLiteral("Symbol") << true << QStringLiteral("a\u00b7{") //
            << QByteArray("{\\f0\\froman\\fprq2\\fcharset2 Symbol;}") << QByteArray(" a\\'b7\\{");
        QTest::newRow("Wingdings known by name")
            << QStringLiteral("Wingdings") << false << QStringLiteral("J\u00e8") //
            << QByteArray("{\\f0\\fnil\\fprq2\\fcharset2 Wingdings;}") << QByteArray(" J\\'e8");
        QTest::newRow("bytes 0x80-0x9f stay bytes")
            << QStringLiteral("Symbol") << true << QStringLiteral("\u0080\u009f") //
            << QByteArray("{\\f0\\froman\\fprq2\\fcharset2 Symbol;}") << QByteArray("\\'80\\'9f");
        QTest::newRow("a font marked symbol-encoded by the reader")
            << QStringLiteral("Math Pi") << true << QStringLiteral("\u00d6") //
            << QByteArray("{\\f0\\fnil\\fprq2\\fcharset2 Math Pi;}") << QByteArray("\\'d6");
        QTest::newRow("a Unicode euro in a symbol run keeps its Windows-1252 byte")
            << QStringLiteral("Symbol") << true << QStringLiteral("\u20ac") //
            << QByteArray("{\\f0\\froman\\fprq2\\fcharset2 Symbol;}") << QByteArray("\\'80");
    }
    void symbolFontsWriteTheirBytes()
    {
        QFETCH(QString, font);
        QFETCH(bool, symbolFlag);
        QFETCH(QString, text);
        QFETCH(QByteArray, fontEntry);
        QFETCH(QByteArray, body);
        CharStyle style;
        style.fontName = font;
        style.symbolFont = symbolFlag;
        const QByteArray rtf = RtfWriter::write(documentOf({run(text, style)}));
        QVERIFY2(rtf.contains(QByteArray("{\\fonttbl" + fontEntry + "}")), rtf.constData());
        QCOMPARE(bodyOf(rtf), "\\pard\\f0\\fs20" + body);
    }

    void fontTableInOrderOfFirstUse()
    {
        CharStyle times;
        times.fontName = QStringLiteral("Times New Roman");
        CharStyle courier;
        courier.fontName = QStringLiteral("Courier New");
        CharStyle unknown;
        unknown.fontName = QStringLiteral("Comic \u00c9t\u00e9");
        const RichDocument document = documentOf(
            {run(QStringLiteral("a"), times), run(QStringLiteral("b")), run(QStringLiteral("c"), times),
             run(QStringLiteral("d"), courier), run(QStringLiteral("e"), unknown)});
        const QByteArray rtf = RtfWriter::write(document);
        QVERIFY2(rtf.contains("{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
                              "{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}"
                              "{\\f2\\fmodern\\fprq2\\fcharset0 Courier New;}"
                              "{\\f3\\fnil\\fprq2\\fcharset0 Comic \\'c9t\\'e9;}}"),
                 rtf.constData());
        QCOMPARE(bodyOf(rtf), QByteArray("\\pard\\f0\\fs20 a\\f1 b\\f0 c\\f2 d\\f3 e"));
    }

    void colourTableOnlyWhenAColourIsSet()
    {
        QVERIFY(!RtfWriter::write(documentOf({run(QStringLiteral("x"))})).contains("colortbl"));

        CharStyle red;
        red.color = qRgb(255, 0, 0);
        CharStyle blue;
        blue.color = qRgba(0, 0, 255, 0); // alpha is no part of an RTF colour
        const RichDocument document =
            documentOf({run(QStringLiteral("a"), red), run(QStringLiteral("b")),
                        run(QStringLiteral("c"), blue), run(QStringLiteral("d"), red)});
        const QByteArray rtf = RtfWriter::write(document);
        QVERIFY2(
            headerOf(rtf).endsWith("}}\r\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                                   "{\\*\\generator Veligram;}"),
            rtf.constData());
        QCOMPARE(bodyOf(rtf), QByteArray("\\pard\\f0\\fs20\\cf1 a\\cf0 b\\cf2 c\\cf1 d"));
    }

    void offsets_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QByteArray>("words");
        QTest::newRow("+1") << 1 << QByteArray("\\up0\\vgoff1");
        QTest::newRow("-1") << -1 << QByteArray("\\dn0\\vgoff-1");
        QTest::newRow("+4") << 4 << QByteArray("\\up0\\vgoff4");
        QTest::newRow("+5 rounds away from zero") << 5 << QByteArray("\\up1\\vgoff5");
        QTest::newRow("-5 rounds away from zero") << -5 << QByteArray("\\dn1\\vgoff-5");
        QTest::newRow("+10") << 10 << QByteArray("\\up1");
        QTest::newRow("-50, index at step 5") << -50 << QByteArray("\\dn5");
        QTest::newRow("+64, 8 pt at step 8") << 64 << QByteArray("\\up6\\vgoff64");
        QTest::newRow("-64") << -64 << QByteArray("\\dn6\\vgoff-64");
        QTest::newRow("+65") << 65 << QByteArray("\\up7\\vgoff65");
        QTest::newRow("+88") << 88 << QByteArray("\\up9\\vgoff88");
        QTest::newRow("-995") << -995 << QByteArray("\\dn100\\vgoff-995");
        QTest::newRow("+999") << 999 << QByteArray("\\up100\\vgoff999");
        QTest::newRow("+1000") << 1000 << QByteArray("\\up100");
        QTest::newRow("-1000") << -1000 << QByteArray("\\dn100");
    }
    void offsets()
    {
        QFETCH(int, twips);
        QFETCH(QByteArray, words);
        CharStyle style;
        style.offsetTwips = twips;
        const RichDocument document = documentOf({run(QStringLiteral("2"), style), run(QStringLiteral("x"))});
        QCOMPARE(bodyOf(RtfWriter::write(document)), "\\pard\\f0\\fs20" + words + " 2\\up0 x");
    }

    void paragraphProperties_data()
    {
        QTest::addColumn<ParagraphStyle>("style");
        QTest::addColumn<QByteArray>("words");
        ParagraphStyle style;
        QTest::newRow("left is the default") << style << QByteArray("\\pard");
        style.alignment = ParagraphAlignment::Right;
        QTest::newRow("right") << style << QByteArray("\\pard\\qr");
        style.alignment = ParagraphAlignment::Center;
        QTest::newRow("centre") << style << QByteArray("\\pard\\qc");
        style.alignment = ParagraphAlignment::Justify;
        QTest::newRow("justified") << style << QByteArray("\\pard\\qj");
        style = {};
        style.leftIndentTwips = 285;
        style.rightIndentTwips = 600;
        style.firstLineIndentTwips = -285;
        QTest::newRow("indents") << style << QByteArray("\\pard\\li285\\ri600\\fi-285");
        style = {};
        style.tabs = {
            {720, TabKind::Left}, {1440, TabKind::Right}, {2160, TabKind::Center}, {2880, TabKind::Decimal}};
        QTest::newRow("tab stops with their kinds")
            << style << QByteArray("\\pard\\tx720\\tqr\\tx1440\\tqc\\tx2160\\tqdec\\tx2880");
        style = {};
        style.bullet = true;
        style.leftIndentTwips = 360;
        style.firstLineIndentTwips = -360;
        QTest::newRow("bullet keeps its own indents")
            << style
            << QByteArray("\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
                          "\\li360\\fi-360");
    }
    void paragraphProperties()
    {
        QFETCH(ParagraphStyle, style);
        QFETCH(QByteArray, words);
        const RichDocument document = documentOf({run(QStringLiteral("x"))}, style);
        const QByteArray rtf = RtfWriter::write(document);
        QCOMPARE(bodyOf(rtf), words + "\\f0\\fs20 x");
    }

    void bulletAddsSymbolToTheFontTable()
    {
        ParagraphStyle bulleted;
        bulleted.bullet = true;
        RichDocument document;
        document.paragraphs = {Paragraph{{}, {run(QStringLiteral("a"))}},
                               Paragraph{bulleted, {run(QStringLiteral("b"))}}};
        const QByteArray rtf = RtfWriter::write(document);
        QVERIFY2(rtf.contains("{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}"
                              "{\\f1\\froman\\fprq2\\fcharset2 Symbol;}}"),
                 rtf.constData());
        QVERIFY(!RtfWriter::write(documentOf({run(QStringLiteral("a"))})).contains("Symbol"));
    }

    void paragraphMarks_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<bool>("endsWithMark");
        QTest::addColumn<QByteArray>("body");
        const QByteArray a = "\\pard\\f0\\fs20 a";
        QTest::newRow("one, no mark") << 1 << false << a;
        QTest::newRow("one, closed by a mark") << 1 << true << a + "\\par\r\n";
        QTest::newRow("two, no final mark") << 2 << false << a + "\\par\r\n" + a;
        QTest::newRow("two, final mark") << 2 << true << a + "\\par\r\n" + a + "\\par\r\n";
    }
    void paragraphMarks()
    {
        QFETCH(int, paragraphs);
        QFETCH(bool, endsWithMark);
        QFETCH(QByteArray, body);
        RichDocument document;
        document.paragraphs.clear();
        for (int i = 0; i < paragraphs; ++i)
            document.paragraphs.append(Paragraph{{}, {run(QStringLiteral("a"))}});
        document.endsWithParagraphMark = endsWithMark;
        QCOMPARE(bodyOf(RtfWriter::write(document)), body);
    }

    void emptyParagraphKeepsThePrecedingFontAndSize()
    {
        CharStyle big;
        big.halfPoints = 28;
        RichDocument document;
        document.paragraphs = {Paragraph{{}, {run(QStringLiteral("a"), big)}}, Paragraph{}};
        QCOMPARE(bodyOf(RtfWriter::write(document)),
                 QByteArray("\\pard\\f0\\fs28 a\\par\r\n\\pard\\f0\\fs28"));
    }

    void pictureKeepsItsBytesAsHexLines_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QByteArray>("blip");
        QTest::newRow("png") << QByteArray("png") << QByteArray("pngblip");
        QTest::newRow("jpeg") << QByteArray("jpeg") << QByteArray("jpegblip");
    }
    void pictureKeepsItsBytesAsHexLines()
    {
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, blip);
        QImage image(40, 30, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
        }
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, format.constData()));
        QVERIFY(data.size() > 200); // several hex lines

        EmbeddedObject object;
        object.imageData = data;
        object.imageFormat = format;
        object.widthTwips = 900;
        object.heightTwips = 450;
        const QByteArray body = bodyOf(RtfWriter::write(documentOf({objectRun(object)})));
        const QByteArray head =
            "\\pard\\f0\\fs20{\\pict\\" + blip + "\\picw40\\pich30\\picwgoal900\\pichgoal450 \r\n";
        QVERIFY2(body.startsWith(head), body.left(200).constData());
        QVERIFY(body.endsWith("\r\n}"));
        const QList<QByteArray> lines = body.mid(head.size(), body.size() - head.size() - 3).split('\n');
        QByteArray hex;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).endsWith('\r') ? lines.at(i).chopped(1) : lines.at(i);
            if (i + 1 < lines.size())
                QCOMPARE(line.size(), 128);
            QVERIFY(line.size() <= 128 && !line.isEmpty());
            hex += line;
        }
        QCOMPARE(hex, hex.toLower());
        QCOMPARE(QByteArray::fromHex(hex), data);
    }

    void pictureWithOnlyAnImageIsWrittenAsPng()
    {
        EmbeddedObject object;
        object.image = testImage();
        const QByteArray body = bodyOf(RtfWriter::write(documentOf({objectRun(object)})));
        const QByteArray head = "{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30 \r\n";
        QVERIFY2(body.contains(head), body.constData());
        const qsizetype start = body.indexOf(head) + head.size();
        QByteArray hex = body.mid(start, body.lastIndexOf('}') - start);
        hex.replace("\r\n", "");
        QImage decoded;
        QVERIFY(decoded.loadFromData(QByteArray::fromHex(hex), "PNG"));
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), testImage());
    }

    void pictureTakesTheRunsCharacterAttributes()
    {
        EmbeddedObject object;
        object.imageData = encodedImage(testImage());
        object.imageFormat = "png";
        CharStyle raised;
        raised.offsetTwips = 64;
        const QByteArray body = bodyOf(RtfWriter::write(documentOf({objectRun(object, raised)})));
        QVERIFY2(body.startsWith("\\pard\\f0\\fs20\\up6\\vgoff64{\\pict\\pngblip"), body.constData());
    }

    void undecodablePictureIsLeftOutCleanly()
    {
        EmbeddedObject object;
        object.imageData = "not an image";
        object.imageFormat = "bmp";
        QTest::ignoreMessage(QtWarningMsg, "picture without usable image data left out");
        const QByteArray rtf = RtfWriter::write(documentOf({run(QStringLiteral("a")), objectRun(object)}));
        QCOMPARE(bodyOf(rtf), QByteArray("\\pard\\f0\\fs20 a"));
    }

    void verbatimGroupsAreWrittenUnchanged()
    {
        const QByteArray group =
            "{\\object\\objemb\\objw1200\\objh600{\\*\\objclass Paint.Picture}"
            "{\\*\\objdata 01050000\r\n0200}{\\result{\\pict\\wmetafile8\\picw10 0100\r\n09}}}";
        EmbeddedObject object;
        object.kind = EmbeddedObject::Kind::Verbatim;
        object.verbatimRtf = group;
        object.image = testImage(); // shown, never written
        const QByteArray body = bodyOf(RtfWriter::write(
            documentOf({run(QStringLiteral("a")), objectRun(object), run(QStringLiteral("b"))})));
        QCOMPARE(body, "\\pard\\f0\\fs20 a" + group + "b");
    }

    void sourceLinesStayShortWithoutChangingTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("words") << QStringLiteral("mot ").repeated(2000);
        QTest::newRow("no space at all") << QStringLiteral("x").repeated(5000);
        QTest::newRow("accents") << QStringLiteral("\u00e9").repeated(3000);
    }
    void sourceLinesStayShortWithoutChangingTheText()
    {
        QFETCH(QString, text);
        const QByteArray body = bodyOf(RtfWriter::write(documentOf({run(text)})));
        for (const QByteArray &line : body.split('\n'))
            QVERIFY2(line.size() <= 1010, QByteArray::number(line.size()).constData());
        QVERIFY(body.count('\n') > 2);
        QByteArray joined = body;
        joined.replace("\r\n", "");
        const QByteArray expected =
            text.at(0) == QChar(0xE9) ? QByteArray("\\'e9").repeated(3000) : " " + text.toLatin1();
        QCOMPARE(joined, "\\pard\\f0\\fs20" + expected);
    }

    void roundTripThroughTheReader_data()
    {
        QTest::addColumn<RichDocument>("document");
        const auto between = [](const CharStyle &style, const QString &text = QStringLiteral("x")) {
            return documentOf({run(QStringLiteral("a")), run(text, style), run(QStringLiteral("z"))});
        };
        const auto styled = [](auto change) {
            CharStyle style;
            change(style);
            return style;
        };
        QTest::newRow("bold") << between(styled([](CharStyle &s) { s.bold = true; }));
        QTest::newRow("italic") << between(styled([](CharStyle &s) { s.italic = true; }));
        QTest::newRow("underline") << between(styled([](CharStyle &s) { s.underline = true; }));
        QTest::newRow("strikethrough") << between(styled([](CharStyle &s) { s.strikethrough = true; }));
        QTest::newRow("colour") << between(styled([](CharStyle &s) { s.color = qRgb(12, 200, 99); }));
        QTest::newRow("explicit black") << between(styled([](CharStyle &s) { s.color = qRgb(0, 0, 0); }));
        QTest::newRow("protected") << between(styled([](CharStyle &s) { s.protectedText = true; }));
        QTest::newRow("size 8.5 pt") << between(styled([](CharStyle &s) { s.halfPoints = 17; }));
        QTest::newRow("size 72 pt") << between(styled([](CharStyle &s) { s.halfPoints = 144; }));
        QTest::newRow("Times New Roman")
            << between(styled([](CharStyle &s) { s.fontName = QStringLiteral("Times New Roman"); }));
        QTest::newRow("font name beyond Windows-1252") << between(
            styled([](CharStyle &s) { s.fontName = QStringLiteral("\uff2d\uff33 \u660e\u671d"); }));
        QTest::newRow("accented font name")
            << between(styled([](CharStyle &s) { s.fontName = QStringLiteral("Caract\u00e8res"); }));
        for (const int twips : {1, -1, 5, -5, -50, 64, -64, 88, 995, -1000}) {
            QTest::addRow("offset %d twips", twips)
                << between(styled([twips](CharStyle &s) { s.offsetTwips = twips; }));
        }
        QTest::newRow("Symbol bytes") << between(styled([](CharStyle &s) {
                                                     s.fontName = QStringLiteral("Symbol");
                                                     s.symbolFont = true;
                                                 }),
                                                 QStringLiteral("a\u00b7D{\u0080\u00ff"));
        QTest::newRow("Wingdings bytes") << between(styled([](CharStyle &s) {
                                                        s.fontName = QStringLiteral("Wingdings");
                                                        s.symbolFont = true;
                                                    }),
                                                    QStringLiteral("J\u00e8\u00fc"));
        // What the reader makes of \emdash or \u8594 under a symbol font: real characters in
        // a run of their own that is not symbol-encoded.
        QTest::newRow("Unicode characters in a Symbol run")
            << between(styled([](CharStyle &s) {
                           s.fontName = QStringLiteral("Symbol");
                           s.symbolFont = false;
                       }),
                       QStringLiteral("\u2014\u2192\U0001D465"));
        QTest::newRow("everything at once") << between(styled([](CharStyle &s) {
            s.fontName = QStringLiteral("Courier New");
            s.halfPoints = 16;
            s.bold = s.italic = s.underline = s.strikethrough = s.protectedText = true;
            s.color = qRgb(0, 0, 255);
            s.offsetTwips = -64;
        }));

        QString windows1252;
        for (int byte = 0x20; byte < 0x100; ++byte)
            windows1252 += Cp1252::toUnicode(uchar(byte));
        QTest::newRow("every printable Windows-1252 character") << documentOf({run(windows1252)});
        QTest::newRow("outside Windows-1252")
            << documentOf({run(QStringLiteral("\u03b1\u03b2 \u2192 \u2211 \u0410 \uf0b7 \u4e2d"))});
        QTest::newRow("tabs, line breaks, braces, backslashes")
            << documentOf({run(QStringLiteral("\ta\u2028b\t{c}\\d\\\u2028"))});

        const auto paragraph = [](auto change) {
            ParagraphStyle style;
            change(style);
            return documentOf({run(QStringLiteral("x"))}, style);
        };
        QTest::newRow("right") << paragraph(
            [](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Right; });
        QTest::newRow("centre") << paragraph(
            [](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Center; });
        QTest::newRow("justified") << paragraph(
            [](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Justify; });
        QTest::newRow("indents") << paragraph([](ParagraphStyle &p) {
            p.leftIndentTwips = 285;
            p.rightIndentTwips = 1140;
            p.firstLineIndentTwips = 300;
        });
        QTest::newRow("tab stops") << paragraph([](ParagraphStyle &p) {
            p.tabs = {{570, TabKind::Left},
                      {1140, TabKind::Right},
                      {2000, TabKind::Center},
                      {3000, TabKind::Decimal}};
        });
        QTest::newRow("bullet with hanging indent") << paragraph([](ParagraphStyle &p) {
            p.bullet = true;
            p.leftIndentTwips = 360;
            p.firstLineIndentTwips = -360;
        });

        ParagraphStyle bulleted;
        bulleted.bullet = true;
        ParagraphStyle centred;
        centred.alignment = ParagraphAlignment::Center;
        CharStyle big;
        big.halfPoints = 32;
        RichDocument paragraphs;
        paragraphs.paragraphs = {Paragraph{centred, {run(QStringLiteral("Titre"), big)}}, Paragraph{},
                                 Paragraph{bulleted, {run(QStringLiteral("un"))}},
                                 Paragraph{bulleted, {run(QStringLiteral("deux"))}},
                                 Paragraph{{}, {run(QStringLiteral("fin"))}}};
        QTest::newRow("paragraphs, no final mark") << paragraphs;
        paragraphs.endsWithParagraphMark = true;
        QTest::newRow("paragraphs, final mark") << paragraphs;

        EmbeddedObject png;
        png.imageData = encodedImage(testImage());
        png.imageFormat = "png";
        png.widthTwips = 450;
        png.heightTwips = 300;
        QTest::newRow("png picture") << documentOf(
            {run(QStringLiteral("a")), objectRun(png), run(QStringLiteral("b"))});
        EmbeddedObject jpeg = png;
        {
            QBuffer buffer(&jpeg.imageData);
            buffer.open(QIODevice::WriteOnly);
            testImage().save(&buffer, "JPEG");
        }
        jpeg.imageFormat = "jpeg";
        CharStyle raised;
        raised.offsetTwips = 60;
        QTest::newRow("raised jpeg picture") << documentOf({objectRun(jpeg, raised)});
    }
    void roundTripThroughTheReader()
    {
        QFETCH(RichDocument, document);
        const QByteArray rtf = RtfWriter::write(document);
        const RtfReadResult read = RtfReader::read(rtf);
        QVERIFY2(read.ok, qPrintable(read.message));
        QCOMPARE(describe(read.document), describe(document));
        QCOMPARE(RtfWriter::write(read.document), rtf);
    }

    void verbatimGroupSurvivesTheReader()
    {
        EmbeddedObject object;
        object.kind = EmbeddedObject::Kind::Verbatim;
        object.verbatimRtf = "{\\pict\\wmetafile8\\picw100\\pich50\\picwgoal600\\pichgoal300 \r\n"
                             "010009000003\r\n}";
        const QByteArray rtf = RtfWriter::write(documentOf({run(QStringLiteral("a")), objectRun(object)}));
        const RtfReadResult read = RtfReader::read(rtf);
        QVERIFY2(read.ok, qPrintable(read.message));
        QCOMPARE(RtfWriter::write(read.document), rtf);
    }

    void objectsGoOutWithTheirPicture_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QByteArray>("classWritten");
        QTest::newRow("an image file kept linked")
            << QString() << QStringLiteral("/home/prof/schéma 1.png") << QByteArray("{\\*\\objclass Image}");
        QTest::newRow("a drawing") << QStringLiteral("Dessin") << QStringLiteral("/tmp/Dessin.png")
                                   << QByteArray("{\\*\\objclass Dessin}");
        QTest::newRow("any file, no source left")
            << QStringLiteral("Package") << QString() << QByteArray("{\\*\\objclass Package}");
    }
    void objectsGoOutWithTheirPicture()
    {
        QFETCH(QString, className);
        QFETCH(QString, source);
        QFETCH(QByteArray, classWritten);
        EmbeddedObject object;
        object.image = testImage();
        object.imageData = encodedImage(object.image);
        object.imageFormat = "png";
        object.widthTwips = 45;
        object.heightTwips = 30;
        object.className = className;
        object.sourcePath = source;
        const QByteArray rtf = RtfWriter::write(documentOf({run(QStringLiteral("a")), objectRun(object)}));
        const QByteArray body = bodyOf(rtf);
        // Other word processors show the \result picture; the group itself is 7-bit.
        const QByteArray start = QByteArray("{\\object\\objemb\\rsltpict\\objw45\\objh30") + classWritten;
        QVERIFY2(body.contains(start), body.constData());
        QVERIFY(body.contains("{\\result{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30"));
        QVERIFY(!body.contains("objdata"));
        for (const char c : rtf)
            QVERIFY(uchar(c) < 0x80);
        const RtfReadResult read = RtfReader::read(rtf);
        QVERIFY2(read.ok, qPrintable(read.message));
        const auto &runs = read.document.paragraphs.value(0).runs;
        QCOMPARE(runs.size(), 2);
        QVERIFY(runs[1].object);
        const EmbeddedObject &back = *runs[1].object;
        QCOMPARE(back.className, className.isEmpty() ? QStringLiteral("Image") : className);
        QCOMPARE(back.sourcePath, source);
        QCOMPARE(back.image.size(), QSize(3, 2));
        QCOMPARE(back.image.pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(back.widthTwips, 45);
        QCOMPARE(RtfWriter::write(read.document), rtf); // kept as read until its picture changes
    }

    // Whatever other programs wrote: once read, our output is a fixed point.
    void samplesAreStableAfterOneSave_data()
    {
        QTest::addColumn<QString>("path");
        const QDir samples(qEnvironmentVariable("VELIGRAM_SAMPLES"));
        const QStringList names = samples.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
        if (names.isEmpty())
            QTest::newRow("no samples") << QString();
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << samples.filePath(name);
    }
    void samplesAreStableAfterOneSave()
    {
        QFETCH(QString, path);
        if (path.isEmpty())
            QSKIP("VELIGRAM_SAMPLES names no folder of RTF samples");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (!RtfReader::looksLikeRtf(bytes))
            QSKIP("a fragment, not a whole RTF document");
        const RtfReadResult original = RtfReader::read(bytes);
        QVERIFY2(original.ok, qPrintable(original.message));
        const QByteArray once = RtfWriter::write(original.document);
        QVERIFY(std::all_of(once.begin(), once.end(), [](char c) { return uchar(c) < 0x80; }));
        const RtfReadResult again = RtfReader::read(once);
        QVERIFY2(again.ok, qPrintable(again.message));
        QCOMPARE(describe(again.document), describe(original.document));
        QCOMPARE(RtfWriter::write(again.document), once);
    }

    // The writer fuzzer's check: a picture is the same when it shows the same, whatever its bytes
    // (a bitmap read without bytes of its own goes out as PNG), and any real change is seen.
    void fuzzerCheckComparesWhatShows_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<Tamper>("change");
        QTest::addColumn<bool>("differs");
        const QByteArray dib = QByteArray("{\\rtf1 a{\\pict\\dibitmap0\\picw2\\pich1 ") + dibHex + "}b}";
        const QByteArray deviceBitmap =
            R"({\rtf1 a{\pict\wbitmap0\picw2\pich1\wbmbitspixel24\wbmwidthbytes8 ff0000ffffff0000}b})";
        const QByteArray png =
            "{\\rtf1 a{\\pict\\pngblip\\picw3\\pich2 " + encodedImage(testImage()).toHex() + "}b}";
        const QByteArray metafile = R"({\rtf1 a{\pict\wmetafile8\picw100\pich50 010009000003}b})";
        QTest::newRow("DIB picture, written as PNG") << dib << Tamper::Nothing << false;
        QTest::newRow("device bitmap, written as PNG") << deviceBitmap << Tamper::Nothing << false;
        QTest::newRow("PNG picture") << png << Tamper::Nothing << false;
        QTest::newRow("metafile kept verbatim") << metafile << Tamper::Nothing << false;
        QTest::newRow("DIB picture, one pixel changed") << dib << Tamper::OnePixel << true;
        QTest::newRow("PNG picture, one pixel changed") << png << Tamper::OnePixel << true;
        QTest::newRow("PNG picture shown wider") << png << Tamper::DisplaySize << true;
        QTest::newRow("metafile shown wider") << metafile << Tamper::DisplaySize << true;
        QTest::newRow("text beside a picture") << dib << Tamper::Text << true;
    }
    void fuzzerCheckComparesWhatShows()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(Tamper, change);
        QFETCH(bool, differs);
        const RtfReadResult first = RtfReader::read(rtf);
        QVERIFY(first.ok);
        QCOMPARE(first.document.paragraphs.value(0).runs.size(), 3); // the picture was read
        RtfReadResult second = RtfReader::read(RtfWriter::write(first.document));
        QVERIFY(second.ok);
        tamper(second.document, change);
        const QString difference = RoundTripCheck::difference(first.document, second.document);
        QVERIFY2(difference.isEmpty() != differs, qPrintable(difference));
    }

    void sameDocumentSameBytes()
    {
        CharStyle symbol;
        symbol.fontName = QStringLiteral("Symbol");
        symbol.symbolFont = true;
        CharStyle red;
        red.color = qRgb(200, 0, 0);
        red.offsetTwips = -64;
        EmbeddedObject object;
        object.image = testImage();
        RichDocument document =
            documentOf({run(QStringLiteral("H"), red), run(QStringLiteral("a"), symbol), objectRun(object)});
        document.paragraphs.append(Paragraph{{}, {run(QStringLiteral("\u00e9\t"))}});
        const QByteArray first = RtfWriter::write(document);
        QCOMPARE(RtfWriter::write(document), first);
        QCOMPARE(RtfWriter::write(RichDocument(document)), first);
    }
};

QTEST_MAIN(tst_RtfWriter)
#include "tst_rtfwriter.moc"
