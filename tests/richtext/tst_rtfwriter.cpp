#include "richtext/rtfwriter.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

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

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
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

} // namespace

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
        object.imageData = pngBytes(testImage());
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
