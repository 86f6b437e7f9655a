#include "rtf/rtfcodepages.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "testimages.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <algorithm>

namespace {

// Paragraphs joined by '\n', as the control's text shows them.
QString plainText(const RichDocument &document)
{
    QString text;
    for (qsizetype i = 0; i < document.paragraphs.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        for (const TextRun &run : document.paragraphs.at(i).runs)
            text += run.text;
    }
    return text;
}

RichDocument read(const QByteArray &rtf)
{
    const RtfReadResult result = RtfReader::read(rtf);
    if (!result.ok)
        qWarning() << "not read:" << result.message;
    return result.document;
}

QByteArray withTables(const QByteArray &body)
{
    return R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman\fcharset2 Symbol;}{\f2\fnil\fcharset128 MS Mincho;}{\f3\fswiss\fcharset204 Arial Cyr;}})"
           R"({\colortbl ;\red255\green0\blue0;\red0\green0\blue255;})" +
           body + "}";
}

const TextRun *runWith(const RichDocument &document, QChar c)
{
    for (const Paragraph &paragraph : document.paragraphs)
        for (const TextRun &run : paragraph.runs)
            if (run.text.contains(c))
                return &run;
    return nullptr;
}

QList<std::shared_ptr<const EmbeddedObject>> objects(const RichDocument &document)
{
    QList<std::shared_ptr<const EmbeddedObject>> found;
    for (const Paragraph &paragraph : document.paragraphs)
        for (const TextRun &run : paragraph.runs)
            if (run.object)
                found.append(run.object);
    return found;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A black-and-white PNG of any size in a few kilobytes: what a hostile file would embed.
QByteArray hugeUniformPng(quint32 width, quint32 height)
{
    auto be32 = [](quint32 v) -> QByteArray {
        const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    auto chunk = [&be32](const QByteArray &type, const QByteArray &data) -> QByteArray {
        return be32(quint32(data.size())) + type + data + be32(crc32(QByteArray(type + data)));
    };
    const QByteArray row = QByteArray(1, '\0') + QByteArray(int((width + 7) / 8), '\0');
    QByteArray raw;
    for (quint32 y = 0; y < height; ++y)
        raw += row;
    const QByteArray zlib = qCompress(raw).mid(4); // qCompress prefixes the length
    const QByteArray header = be32(width) + be32(height) + QByteArray("\x01\x00\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", {});
}

qint64 totalPixels(const RichDocument &document)
{
    qint64 total = 0;
    for (const auto &object : objects(document))
        total += qint64(object->image.width()) * object->image.height();
    return total;
}

CharStyle style(void (*change)(CharStyle &))
{
    CharStyle s;
    s.fontName = QStringLiteral("Arial");
    s.halfPoints = 24;
    change(s);
    return s;
}

} // namespace

class tst_RtfReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void codePagesNeverGiveControlCharacters();
    void text_data();
    void text();
    void charStyle_data();
    void charStyle();
    void paragraphStyle_data();
    void paragraphStyle();
    void lists_data();
    void lists();
    void paragraphMarks_data();
    void paragraphMarks();
    void charFormattingPresence_data();
    void charFormattingPresence();
    void fontTableForms_data();
    void fontTableForms();
    void notRtf();
    void pngPicture();
    void metafileKeptVerbatim();
    void controlCharactersAreNoText_data();
    void controlCharactersAreNoText();
    void pictureWordAfterText_data();
    void pictureWordAfterText();
    void verbatimGroupKeepsItsUnicodeCount();
    void loneSurrogateReadsAsU65533_data();
    void loneSurrogateReadsAsU65533();
    void shapePictureOnlyOnce_data();
    void shapePictureOnlyOnce();
    void objectKeptVerbatimWithResult();
    void objectWithoutResultGetsPlaceholder();
    void dibPicture();
    void hugePictureSizeDoesNotAllocate();
    void manyHugePicturesShareOneBudget();
    void damaged_data();
    void damaged();
    void deepNesting();
    void largeDocumentIsFast();
};

void tst_RtfReader::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, const QByteArray &rtf, const QString &expected) {
        QTest::newRow(name) << rtf << expected;
    };
    row("bare minimum", R"({\rtf1 abc})", "abc");
    row("space after a control word is its delimiter", R"({\rtf1 \b bold\b0  x})", "bold x");
    row("line ends in the source are not text", "{\\rtf1 a\r\nb\nc}", "abc");
    row("escaped specials", R"({\rtf1 \\\{\}})", "\\{}");
    row("tab, line break", R"({\rtf1 a\tab b\line c})", QStringLiteral("a\tb\u2028c"));
    row("typographic words", R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
        QStringLiteral("\u2014\u2013\u2022\u2018\u2019\u201C\u201D"));
    row("control symbols", R"({\rtf1 a\~b\-c\_d})", QStringLiteral("a\u00A0b\u00ADc-d"));
    row("hex byte in cp1252", R"({\rtf1\ansi\ansicpg1252 caf\'e9 \'80})", QStringLiteral("café €"));
    row("raw 8-bit byte", "{\\rtf1\\ansi caf\xe9}", QStringLiteral("café"));
    row("hex byte in a Cyrillic font", withTables(R"(\f3 \'c0\'e1)"), QStringLiteral("Аб"));
    row("ansicpg1251 default", R"({\rtf1\ansi\ansicpg1251 \'c0})", QStringLiteral("А"));
    row("mac code page", R"({\rtf1\mac \'8e})", QStringLiteral("é"));
    row("pc code page", R"({\rtf1\pc \'82})", QStringLiteral("é"));
    auto macFont = [](int charset, const QByteArray &body) -> QByteArray {
        return "{\\rtf1\\mac{\\fonttbl{\\f0 Helvetica;}{\\f1\\fnil\\fcharset" + QByteArray::number(charset) +
               " Osaka;}}" + body + "}";
    };
    row("mac roman charset 77", macFont(77, R"(\f1 \'8e\'a5)"), QStringLiteral("é•"));
    row("mac japanese pair", macFont(78, R"(\f1 \'82\'cd\'82\'a9)"), QStringLiteral("はか"));
    row("mac japanese half-width katakana", macFont(78, R"(\f1 \'b1)"), QStringLiteral("ｱ"));
    row("mac japanese own single bytes", macFont(78, R"(\f1 \'fd\'fe\'ff)"), QStringLiteral("©™…"));
    row("mac korean pair", macFont(79, R"(\f1 \'c7\'d1)"), QStringLiteral("한"));
    row("mac simplified chinese pair", macFont(80, R"(\f1 \'d6\'d0)"), QStringLiteral("中"));
    row("mac traditional chinese pair", macFont(81, R"(\f1 \'a4\'a4)"), QStringLiteral("中"));
    row("mac japanese pair with a literal trail", macFont(78, R"(\f1 \'83A)"), QStringLiteral("ア"));
    row("mac japanese lead at a group end", macFont(78, R"({\f1 \'82}x)"), QStringLiteral("?x"));
    row("ansicpg10001 default", R"({\rtf1\mac\ansicpg10001 \'82\'cd})", QStringLiteral("は"));
    row("ansicpg10000 default", R"({\rtf1\ansi\ansicpg10000 \'8e})", QStringLiteral("é"));
    row("windows japanese half-width katakana", withTables(R"({\f2 \'b1})"), QStringLiteral("ｱ"));
    row("unicode with one fallback", R"({\rtf1 \u233?t\u233?})", QStringLiteral("été"));
    row("uc0 skips nothing", R"({\rtf1\uc0 \u233 x})", QStringLiteral("éx"));
    row("uc2 skips two", R"({\rtf1\uc2 \u233 ??x})", QStringLiteral("éx"));
    row("uc is group scoped", R"({\rtf1 {\uc2 \u233 ab}\u233 cd})", QStringLiteral("ééd"));
    row("fallback hex byte counts as one", R"({\rtf1 \u233\'e9x})", QStringLiteral("éx"));
    row("fallback stops at a group", R"({\rtf1\uc3 \u233{x}y})", QStringLiteral("éxy"));
    row("negative unicode", R"({\rtf1 \u-3913?})", QStringLiteral("\uF0B7"));
    // U+1D465 MATHEMATICAL ITALIC SMALL X is D835 DC65: \u-10187 \u-9115.
    const QString mathX = QString::fromUcs4(U"\U0001D465", 1);
    row("surrogate pair is one character", R"({\rtf1 a\u-10187?\u-9115?b})", "a" + mathX + "b");
    row("surrogate pair without fallback", R"({\rtf1\uc0 \u-10187\u-9115 b})", mathX + "b");
    row("surrogate pair, two-unit fallback between halves", R"({\rtf1\uc2 \u-10187??\u-9115??b})",
        mathX + "b");
    row("surrogate pair, hex fallback between halves", R"({\rtf1 \u-10187\'3f\u-9115\'3fb})", mathX + "b");
    row("emoji as a pair", R"({\rtf1 \u-10179?\u-8704?})", QString::fromUcs4(U"\U0001F600", 1));
    row("surrogate pair under a symbol font", withTables(R"({\f1 \u-10187?\u-9115?})"), mathX);
    row("lone low surrogate", R"({\rtf1 \u-8704?})", QStringLiteral("\uFFFD"));
    row("lone high surrogate", R"({\rtf1 \u-10179?x})", QStringLiteral("\uFFFDx"));
    row("high surrogate at the end", R"({\rtf1 x\u-10179?})", QStringLiteral("x\uFFFD"));
    row("reversed halves", R"({\rtf1 \u-9115?\u-10187?})", QStringLiteral("\uFFFD\uFFFD"));
    row("two high surrogates then a low", R"({\rtf1 \u-10187?\u-10187?\u-9115?})", "\uFFFD" + mathX);
    row("high surrogate before a group", R"({\rtf1 \u-10187?{\u-9115?}})", QStringLiteral("\uFFFD\uFFFD"));
    row("high surrogate before a control word", R"({\rtf1 \u-10187?\tab\u-9115?})",
        QStringLiteral("\uFFFD\t\uFFFD"));
    row("symbol font keeps bytes", withTables(R"({\f1 a\'b7\u-3999?})"), QStringLiteral("a\u00B7a"));
    row("double-byte pair", withTables(R"({\f2 \'82\'a0})"), QStringLiteral("あ"));
    row("double-byte pair, literal trail", withTables(R"({\f2 \'83A})"), QStringLiteral("ア"));
    row("double-byte lead without trail", withTables(R"({\f2 \'82}x)"), QStringLiteral("?x"));
    row("undefined cp1252 bytes survive", R"({\rtf1 \'81\'8d\'8f\'90\'9d})",
        QStringLiteral("\u0081\u008D\u008F\u0090\u009D"));
    row("NUL bytes", QByteArray("{\\rtf1 a\0b}", 11), "ab");
    row("paragraphs", R"({\rtf1 a\par b})", "a\nb");
    row("page break after a paragraph mark", R"({\rtf1 a\par\page b})", "a\nb");
    row("page break inside a paragraph", R"({\rtf1 a\page b})", "a\nb");
    row("backslash before a line end", "{\\rtf1 a\\\nb}", "a\nb");
    row("field keeps its result", R"({\rtf1 {\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "link");
    row("field instruction without star", R"({\rtf1 {\field{\fldinst PAGE}{\fldrslt 3}}})", "3");
    row("unknown starred destination", R"({\rtf1 a{\*\foo bar{baz}}b})", "ab");
    row("unknown starred destination with binary braces", "{\\rtf1 a{\\*\\foo \\bin3 }}}x}b}", "ab");
    row("unknown word is ignored", R"({\rtf1 a\foo b})", "ab");
    row("stylesheet and info", R"({\rtf1{\stylesheet{\s1 Heading;}}{\info{\title T}{\author A}}x})", "x");
    row("header, footer, footnote", R"({\rtf1{\header h}{\footer f}a{\footnote note}b{\*\annotation c}})",
        "ab");
    row("bullet pntext is dropped", R"({\rtf1{\pntext\f1\'b7\tab}{\*\pn\pnlvlblt{\pntxtb\'b7}}item})",
        "item");
    row("bullet listtext is dropped", R"({\rtf1{\listtext\'95\tab}\ls1 item})", "item");
    row("generator and theme data", R"({\rtf1{\*\generator X;}{\*\themedata 504b}a})", "a");
    row("table cells and rows", R"({\rtf1\trowd\cellx1000\cellx2000\intbl A\cell B\cell\row after})",
        "A\tB\nafter");
    row("nested table", R"({\rtf1 A\nestcell B\nestcell\nestrow x})", "A\tB\nx");
    row("upr reads the unicode part", R"({\rtf1 {\upr{ansi text}{\*\ud{unicode text}}}})", "unicode text");
    row("hidden destination inside pict", R"({\rtf1 {\pict\pngblip{\*\blipuid 00}zz}x})",
        QStringLiteral("\uFFFCx"));
}

void tst_RtfReader::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainText(read(rtf)), expected);
}

void tst_RtfReader::charStyle_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<CharStyle>("expected");
    auto row = [](const char *name, const QByteArray &body, const CharStyle &expected) {
        QTest::newRow(name) << body << expected;
    };
    row("defaults", "x", style([](CharStyle &) {}));
    row("bold", R"(\b x)", style([](CharStyle &s) { s.bold = true; }));
    row("bold off", R"(\b\b0 x)", style([](CharStyle &) {}));
    row("italic", R"(\i1 x)", style([](CharStyle &s) { s.italic = true; }));
    row("underline", R"(\ul x)", style([](CharStyle &s) { s.underline = true; }));
    row("double underline", R"(\uldb x)", style([](CharStyle &s) { s.underline = true; }));
    row("wave underline", R"(\ulwave x)", style([](CharStyle &s) { s.underline = true; }));
    row("underline none", R"(\ul\ulnone x)", style([](CharStyle &) {}));
    row("strike", R"(\strike x)", style([](CharStyle &s) { s.strikethrough = true; }));
    row("double strike", R"(\striked1 x)", style([](CharStyle &s) { s.strikethrough = true; }));
    row("colour", R"(\cf2 x)", style([](CharStyle &s) { s.color = qRgb(0, 0, 255); }));
    row("colour out of range", R"(\cf57 x)", style([](CharStyle &) {}));
    row("size", R"(\fs17 x)", style([](CharStyle &s) { s.halfPoints = 17; }));
    row("size zero is the default", R"(\fs0 x)", style([](CharStyle &) {}));
    row("plain resets", R"(\b\i\fs40\cf1\f1\up4\protect\plain x)", style([](CharStyle &) {}));
    row("up without number", R"(\up x)", style([](CharStyle &s) { s.offsetTwips = 60; }));
    row("up in half-points", R"(\up3 x)", style([](CharStyle &s) { s.offsetTwips = 30; }));
    row("down in half-points", R"(\dn5 x)", style([](CharStyle &s) { s.offsetTwips = -50; }));
    row("exact offset overrides", R"(\dn6\vgoff-64 x)", style([](CharStyle &s) { s.offsetTwips = -64; }));
    row("up0 is the baseline", R"(\up6\up0 x)", style([](CharStyle &) {}));
    // Scripts are drawn at 58 % of the size (as LibreOffice draws them), shifted by a part of the full size.
    row("superscript raises a third", R"(\fs20\super x)", style([](CharStyle &s) {
            s.halfPoints = 12;
            s.offsetTwips = 67;
        }));
    row("subscript lowers a fifth", R"(\sub x)", style([](CharStyle &s) {
            s.halfPoints = 14;
            s.offsetTwips = -48;
        }));
    row("size given after the script", R"(\super\fs30 x)", style([](CharStyle &s) {
            s.halfPoints = 17;
            s.offsetTwips = 100;
        }));
    row("script of the enclosing group", R"({\sub{\fs18 x}})", style([](CharStyle &s) {
            s.halfPoints = 10;
            s.offsetTwips = -36;
        }));
    row("the later script wins", R"(\sub\super x)", style([](CharStyle &s) {
            s.halfPoints = 14;
            s.offsetTwips = 80;
        }));
    row("script after an offset", R"(\up4\super x)", style([](CharStyle &s) {
            s.halfPoints = 14;
            s.offsetTwips = 80;
        }));
    row("offset after a script keeps the size", R"(\super\up4 x)",
        style([](CharStyle &s) { s.offsetTwips = 40; }));
    row("super0 ends the script", R"(\super\super0 x)", style([](CharStyle &) {}));
    row("super0 leaves an offset", R"(\dn4\super0 x)", style([](CharStyle &s) { s.offsetTwips = -40; }));
    row("plain ends the script", R"(\sub\plain x)", style([](CharStyle &) {}));
    row("a group's script ends with it", R"({\super y}x)", style([](CharStyle &) {}));
    row("nosupersub", R"(\super\nosupersub x)", style([](CharStyle &) {}));
    row("tiny superscript", R"(\fs2\super x)", style([](CharStyle &s) {
            s.halfPoints = 2;
            s.offsetTwips = 7;
        }));
    row("protected", R"(\protect x)", style([](CharStyle &s) { s.protectedText = true; }));
    row("protect0", R"(\protect\protect0 x)", style([](CharStyle &) {}));
    row("font from the table", R"(\f3 x)",
        style([](CharStyle &s) { s.fontName = QStringLiteral("Arial Cyr"); }));
    row("symbol font", R"(\f1 x)", style([](CharStyle &s) {
            s.fontName = QStringLiteral("Symbol");
            s.symbolFont = true;
        }));
    row("unknown font keeps the current one", R"(\f1\f999 x)", style([](CharStyle &s) {
            s.fontName = QStringLiteral("Symbol");
            s.symbolFont = true;
        }));
    row("group restores", R"({\b\i y}x)", style([](CharStyle &) {}));
    row("unicode under a symbol font is not a symbol byte", R"(\f1\u945?)",
        style([](CharStyle &s) { s.fontName = QStringLiteral("Symbol"); }));
}

void tst_RtfReader::charStyle()
{
    QFETCH(QByteArray, body);
    QFETCH(CharStyle, expected);
    const RichDocument document = read(withTables(body));
    const TextRun *run = runWith(document, QLatin1Char('x'));
    if (!run)
        run = runWith(document, QChar(0x3B1));
    QVERIFY(run);
    QCOMPARE(run->style, expected);
}

void tst_RtfReader::paragraphStyle_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<ParagraphStyle>("expected");
    auto with = [](void (*change)(ParagraphStyle &)) {
        ParagraphStyle p;
        change(p);
        return p;
    };
    QTest::newRow("defaults") << QByteArray("x") << ParagraphStyle{};
    QTest::newRow("centre") << QByteArray(R"(\qc x)")
                            << with([](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Center; });
    QTest::newRow("right") << QByteArray(R"(\qr x)")
                           << with([](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Right; });
    QTest::newRow("justified") << QByteArray(R"(\qj x)")
                               << with([](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Justify; });
    QTest::newRow("distributed reads as justified")
        << QByteArray(R"(\qd x)")
        << with([](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Justify; });
    QTest::newRow("indents in twips")
        << QByteArray(R"(\li720\ri360\fi-360 x)") << with([](ParagraphStyle &p) {
               p.leftIndentTwips = 720;
               p.rightIndentTwips = 360;
               p.firstLineIndentTwips = -360;
           });
    QTest::newRow("logical indents") << QByteArray(R"(\lin300\rin200 x)") << with([](ParagraphStyle &p) {
        p.leftIndentTwips = 300;
        p.rightIndentTwips = 200;
    });
    QTest::newRow("tabs sorted with kinds")
        << QByteArray(R"(\tqr\tx3000\tx1000\tqc\tx2000\tqdec\tx4000 x)") << with([](ParagraphStyle &p) {
               p.tabs = {{1000, TabKind::Left},
                         {2000, TabKind::Center},
                         {3000, TabKind::Right},
                         {4000, TabKind::Decimal}};
           });
    QTest::newRow("duplicate tab, leaders and bar tabs")
        << QByteArray(R"(\tldot\tx1000\tx1000\tqr\tb500\tx1500 x)") << with([](ParagraphStyle &p) {
               p.tabs = {{1000, TabKind::Left}, {1500, TabKind::Left}};
           });
    QByteArray many;
    for (int i = 1; i <= 40; ++i)
        many += "\\tx" + QByteArray::number(i * 100);
    QTest::newRow("at most 32 tabs") << QByteArray(many + " x") << with([](ParagraphStyle &p) {
        for (int i = 1; i <= 32; ++i)
            p.tabs.append({i * 100, TabKind::Left});
    });
    QTest::newRow("legacy bullet") << QByteArray(R"({\*\pn\pnlvlblt\pnf1{\pntxtb\'b7}}\fi-360\li360 x)")
                                   << with([](ParagraphStyle &p) {
                                          p.bullet = true;
                                          p.firstLineIndentTwips = -360;
                                          p.leftIndentTwips = 360;
                                      });
    QTest::newRow("numbered legacy list is no bullet")
        << QByteArray(R"({\*\pn\pnlvlbody\pndec{\pntxta .}}x)") << ParagraphStyle{};
    QTest::newRow("list override without tables or label")
        << QByteArray(R"(\ls2\ilvl0 x)") << with([](ParagraphStyle &p) { p.bullet = true; });
    QTest::newRow("ls0 is no list") << QByteArray(R"(\ls2\ls0 x)") << ParagraphStyle{};
    QTest::newRow("pard resets") << QByteArray(R"(\qc\li100\tx500\ls1\pard x)") << ParagraphStyle{};
    QTest::newRow("properties survive a paragraph mark")
        << QByteArray(R"(\qc a\par x)")
        << with([](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Center; });
    QTest::newRow("properties in force at the end apply to the last paragraph")
        << QByteArray(R"(x\qr)") << with([](ParagraphStyle &p) { p.alignment = ParagraphAlignment::Right; });
}

void tst_RtfReader::paragraphStyle()
{
    QFETCH(QByteArray, body);
    QFETCH(ParagraphStyle, expected);
    const RichDocument document = read(withTables(body));
    QCOMPARE(document.paragraphs.last().style, expected);
    QVERIFY(plainText(document).endsWith(QLatin1Char('x')));
}

namespace {

// A list table as Word writes it: list 10 numbers "1.", list 20 has bullets on level 0 and
// letters "a)" on level 1; \ls1 and \ls2 use them.
const QByteArray wordLists =
    R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})"
    R"({\*\listtable{\list\listtemplateid1{\listlevel\levelnfc0\levelstartat1{\leveltext\'02\'00.;}{\levelnumbers\'01;}})"
    R"({\listname ;}\listid10})"
    R"({\list{\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}{\levelnumbers;}}{\listlevel\levelnfc4{\leveltext\'02\'01);})"
    R"({\levelnumbers\'01;}}\listid20}})"
    R"({\*\listoverridetable{\listoverride\listid10\listoverridecount0\ls1}{\listoverride\listid20\ls2}})";

QByteArray wordList(const QByteArray &body)
{
    return wordLists + body + "}";
}

} // namespace

void tst_RtfReader::lists_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<bool>>("bullets");
    auto row = [](const char *name, const QByteArray &rtf, const QString &expected, QList<bool> bullets) {
        QTest::newRow(name) << rtf << expected << bullets;
    };
    row("word numbers",
        wordList(R"(\pard\ls1{\listtext\pard\plain\f0 1.\tab}Bold\par)"
                 R"(\pard\ls1{\listtext\pard\plain\f0 2.\tab}Italic\par)"),
        "1.\tBold\n2.\tItalic", {false, false});
    row("word numbers restart",
        wordList(R"(\pard\ls1{\listtext 1.\tab}a\par\pard\ls1{\listtext 2.\tab}b\par)"
                 R"(\pard x\par\pard\ls1{\listtext 1.\tab}c)"),
        "1.\ta\n2.\tb\nx\n1.\tc", {false, false, false, false});
    row("word bullets",
        wordList(R"(\pard\ls2{\listtext\f1\'b7\tab}one\par\pard\ls2{\listtext\f1\'b7\tab}two)"), "one\ntwo",
        {true, true});
    row("word nested letters",
        wordList(R"(\pard\ls2{\listtext\f1\'b7\tab}q\par)"
                 R"(\pard\ls2\ilvl1{\listtext a)\tab}r\par)"
                 R"(\pard\ls2\ilvl1{\listtext b)\tab}s)"),
        "q\na)\tr\nb)\ts", {true, false, false});
    row("label before the list words", wordList(R"({\listtext 1.\tab}\pard\ls1 a)"), "1.\ta", {false});
    row("label with a group inside", wordList(R"(\pard\ls1{\listtext{\b 1.}\tab}a)"), "1.\ta", {false});
    row("wordpad numbers",
        R"({\rtf1{\pntext\f0 1.\tab}{\*\pn\pnlvlbody\pnf0\pnindent0\pnstart1\pndec{\pntxta.}})"
        R"(\fi-360\li720 Bold\par{\pntext\f0 2.\tab}Italic\par\pard after})",
        "1.\tBold\n2.\tItalic\nafter", {false, false, false});
    row("legacy roman and letters",
        R"({\rtf1{\pntext iv.\tab}{\*\pn\pnlvlbody\pnlcrm\pnstart4{\pntxta.}}a\par)"
        R"(\pard{\pntext A)\tab}{\*\pn\pnlvlbody\pnucltr\pnstart1{\pntxta)}}b})",
        "iv.\ta\nA)\tb", {false, false});
    row("legacy bullets stay bullets", R"({\rtf1{\pntext\'b7\tab}{\*\pn\pnlvlblt\pnf1{\pntxtb\'b7}}a\par b})",
        "a\nb", {true, true});
    row("pnlvlcont has no label",
        R"({\rtf1{\pntext 1.\tab}{\*\pn\pnlvlbody\pndec}a\par\pard{\*\pn\pnlvlcont}b})", "1.\ta\nb",
        {false, false});
    // Damage: none of it may crash, and what is drawn stays readable.
    row("missing ls entry, numbered label", wordList(R"(\pard\ls7{\listtext 3.\tab}a)"), "3.\ta", {false});
    row("missing ls entry, bullet label", wordList(R"(\pard\ls7{\listtext\f1\'b7\tab}a)"), "a", {true});
    row("no list tables at all", R"({\rtf1\pard\ls1{\listtext 1.\tab}a\par\pard\ls1{\listtext\'95\tab}b})",
        QStringLiteral("1.\ta\nb"), {false, true});
    row("level beyond nine", wordList(R"(\pard\ls2\ilvl12{\listtext z)\tab}a)"), "z)\ta", {false});
    row("negative level", wordList(R"(\pard\ls2\ilvl-3{\listtext\f1\'b7\tab}a)"), "a", {true});
    row("pnstart zero", R"({\rtf1{\pntext 0.\tab}{\*\pn\pnlvlbody\pndec\pnstart0}a})", "0.\ta", {false});
    row("pnstart negative", R"({\rtf1{\pntext -5.\tab}{\*\pn\pnlvlbody\pndec\pnstart-5}a})", "-5.\ta",
        {false});
    row("pnstart huge", R"({\rtf1{\*\pn\pnlvlbody\pndec\pnstart99999999999999999999}a})", "a", {false});
    row("more than nine levels in the table",
        R"({\rtf1{\*\listtable{\list)" + QByteArray(R"({\listlevel\levelnfc0})").repeated(12) +
            R"({\listlevel\levelnfc23}\listid5}}{\*\listoverridetable{\listoverride\listid5\ls1}})"
            R"(\pard\ls1\ilvl11{\listtext 1.\tab}a})",
        "1.\ta", {false});
    row("list without an id",
        R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc23}}})"
        R"({\*\listoverridetable{\listoverride\ls1}}\pard\ls1{\listtext x\tab}a})",
        "x\ta", {false});
    row("level format before any level",
        R"({\rtf1{\*\listtable{\list\levelnfc23\listid1}})"
        R"({\*\listoverridetable{\listoverride\listid1\ls1}}\pard\ls1 a})",
        "a", {true});
    row("label never closed", wordList(R"(\pard\ls1{\listtext 1.\tab)"), "1.\t", {false});
    row("label alone", R"({\rtf1{\listtext 1.\tab}})", "1.\t", {false});
    row("override table before the list table",
        R"({\rtf1{\*\listoverridetable{\listoverride\listid3\ls1}}{\*\listtable{\list{\listlevel\levelnfc23}\listid3}})"
        R"(\pard\ls1{\listtext\'95\tab}a})",
        "a", {true});
}

void tst_RtfReader::lists()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QFETCH(QList<bool>, bullets);
    const RichDocument document = read(rtf);
    QCOMPARE(plainText(document), expected);
    QList<bool> read;
    for (const Paragraph &paragraph : document.paragraphs)
        read.append(paragraph.style.bullet);
    QCOMPARE(read, bullets);
}

void tst_RtfReader::paragraphMarks_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<bool>("endsWithMark");
    QTest::newRow("no mark") << QByteArray(R"({\rtf1 a})") << 1 << false;
    QTest::newRow("final mark") << QByteArray(R"({\rtf1 a\par})") << 1 << true;
    QTest::newRow("final mark then braces") << QByteArray(R"({\rtf1 {a\par}})") << 1 << true;
    QTest::newRow("final mark then skipped groups")
        << QByteArray(R"({\rtf1 a\par {\*\themedata 00}})") << 1 << true;
    QTest::newRow("two final marks") << QByteArray(R"({\rtf1 a\par\par})") << 2 << true;
    QTest::newRow("mark in the middle") << QByteArray(R"({\rtf1 a\par b})") << 2 << false;
    QTest::newRow("only a mark") << QByteArray(R"({\rtf1 \par})") << 1 << true;
    QTest::newRow("empty") << QByteArray(R"({\rtf1 })") << 1 << false;
    QTest::newRow("row end") << QByteArray(R"({\rtf1 \intbl a\cell\row})") << 1 << true;
}

void tst_RtfReader::paragraphMarks()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, paragraphs);
    QFETCH(bool, endsWithMark);
    const RichDocument document = read(rtf);
    QCOMPARE(document.paragraphs.size(), paragraphs);
    QCOMPARE(document.endsWithParagraphMark, endsWithMark);
}

void tst_RtfReader::charFormattingPresence_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("present");
    QTest::newRow("tab fragment") << QByteArray(R"({\tab })") << false;
    QTest::newRow("plain text") << QByteArray(R"({\rtf1 abc})") << false;
    QTest::newRow("font table but no use")
        << QByteArray(R"({\rtf1\deff0{\fonttbl{\f0 Arial;}} a\par})") << false;
    QTest::newRow("paragraph words only") << QByteArray(R"({\rtf1\pard\qc a})") << false;
    QTest::newRow("font size") << QByteArray(R"({\rtf1\fs20 a})") << true;
    QTest::newRow("plain") << QByteArray(R"({\rtf1\plain a})") << true;
    QTest::newRow("bold in a group") << QByteArray(R"({\rtf1{\b a}})") << true;
    QTest::newRow("formatting inside a skipped group") << QByteArray(R"({\rtf1{\*\foo\b x}a})") << false;
}

void tst_RtfReader::charFormattingPresence()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, present);
    // "{\tab }" is not a whole document but the control pastes it: read it all the same.
    const QByteArray source = rtf.startsWith("{\\rtf") ? rtf : "{\\rtf1" + rtf.mid(1);
    QCOMPARE(read(source).hasCharFormatting, present);
}

void tst_RtfReader::fontTableForms_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("font");
    QTest::addColumn<bool>("symbol");
    QTest::newRow("groups") << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Wingdings;}}\f1 x})")
                            << "Wingdings" << true;
    QTest::newRow("without groups")
        << QByteArray(R"({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;}\f1 x})") << "Courier"
        << false;
    // "MS Mincho" in Shift-JIS: full-width M and S (0x82 0x6C, 0x82 0x72), a space, then the
    // kanji 0x96 0xBE and 0x92 0xA9.
    QTest::newRow("double-byte name")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset128 \'82\'6c\'82\'72 \'96\'be\'92\'a9;}}\f0 x})")
        << QStringLiteral("\uff2d\uff33 \u660e\u671d") << false;
    QTest::newRow("\\u in the name, its fallback skipped")
        << QByteArray(R"({\rtf1\uc1{\fonttbl{\f0 Caf\u233?\u8364? Sans;}}\f0 x})")
        << QStringLiteral("Caf\u00e9\u20ac Sans") << false;
    QTest::newRow("Symbol without its charset")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset0 Symbol;}}\f1 x})") << "Symbol" << true;
    QTest::newRow("alternative name is not appended")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fswiss{\*\panose 020b}{\*\falt Helvetica}Arial Narrow;}}\f0 x})")
        << "Arial Narrow" << false;
    QTest::newRow("name without semicolon")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Tahoma}}\f0 x})") << "Tahoma" << false;
    QTest::newRow("hex in the name") << QByteArray(R"({\rtf1{\fonttbl{\f0 Caf\'e9;}}\f0 x})")
                                     << QStringLiteral("Café") << false;
    QTest::newRow("control characters in the name (found by fuzzing)")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari\tal\\'09\\'01 Black;}}\\f0 x}") << "Arial Black" << false;
    QTest::newRow("duplicate number, last wins")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}{\f0 Verdana;}}\f0 x})") << "Verdana" << false;
    QTest::newRow("default font") << QByteArray(R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Verdana;}} x})")
                                  << "Verdana" << false;
    QTest::newRow("missing default font: the first one")
        << QByteArray(R"({\rtf1\deff7{\fonttbl{\f3 Georgia;}{\f1 Verdana;}} x})") << "Georgia" << false;
    QTest::newRow("no table") << QByteArray(R"({\rtf1\f5 x})") << "Arial" << false;
    QTest::newRow("font used before the table")
        << QByteArray(R"({\rtf1\f1{\fonttbl{\f1 Verdana;}} x})") << "Verdana" << false;
}

void tst_RtfReader::fontTableForms()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, font);
    QFETCH(bool, symbol);
    const RichDocument document = read(rtf); // the run points into it
    const TextRun *run = runWith(document, QLatin1Char('x'));
    QVERIFY(run);
    QCOMPARE(run->style.fontName, font);
    QCOMPARE(run->style.symbolFont, symbol);
}

void tst_RtfReader::notRtf()
{
    for (const QByteArray &bytes :
         {QByteArray(), QByteArray("hello"), QByteArray("{\\rt"), QByteArray("\xff\xfe{")}) {
        const RtfReadResult result = RtfReader::read(bytes);
        QVERIFY(!result.ok);
        QVERIFY(!result.message.isEmpty());
        QCOMPARE(result.document.paragraphs.size(), 1);
    }
    QVERIFY(RtfReader::read("\xEF\xBB\xBF \r\n{\\rtf1 x}").ok);
}

void tst_RtfReader::pngPicture()
{
    const QByteArray png = pngBytes(40, 20);
    const QByteArray rtf =
        R"({\rtf1 a{\pict\pngblip\picw40\pich20\picwgoal1200\pichgoal600\picscalex50\picscaley200 )" +
        png.toHex() + "}b}";
    const RichDocument document = read(rtf);
    QCOMPARE(plainText(document), QStringLiteral("a\uFFFCb"));
    const auto found = objects(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0]->kind, EmbeddedObject::Kind::Picture);
    QCOMPARE(found[0]->imageData, png);
    QCOMPARE(found[0]->imageFormat, QByteArray("png"));
    QCOMPARE(found[0]->image.size(), QSize(40, 20));
    QCOMPARE(found[0]->widthTwips, 600);
    QCOMPARE(found[0]->heightTwips, 1200);
}

void tst_RtfReader::metafileKeptVerbatim()
{
    const QByteArray group = "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 "
                             "0100090000035e00\r\n00000000{\\*\\blipuid abc}}";
    const RichDocument document = read("{\\rtf1 x" + group + "y}");
    const auto found = objects(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0]->kind, EmbeddedObject::Kind::Verbatim);
    QCOMPARE(found[0]->verbatimRtf, group);
    QCOMPARE(found[0]->widthTwips, 1440);
    QCOMPARE(found[0]->image.size(), QSize(96, 48));
    QCOMPARE(plainText(document), QStringLiteral("x\uFFFCy"));
}

void tst_RtfReader::controlCharactersAreNoText_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("private-use copy of a control byte (found by fuzzing)")
        << QByteArray("a\\u-4082?b") << "ab";
    QTest::newRow("control byte") << QByteArray("a\\'0eb") << "ab";
    QTest::newRow("control character by number") << QByteArray("a\\u14?b") << "ab";
    QTest::newRow("private-use copy of a tab") << QByteArray("a\\u-4087?b") << "a\tb";
    // Found by fuzzing: the cell's tab stayed in the Unicode run before it, a written \tab
    // reads into the font's own run.
    QTest::newRow("cell after a Unicode character") << QByteArray("\\u8721?\\cell b") << "\u2211\tb";
}

void tst_RtfReader::controlCharactersAreNoText()
{
    // Under a symbol font as under any other: what the writer could not write back as text.
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    const RichDocument document = read("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 " + body + "}");
    QCOMPARE(plainText(document), text);
    const RichDocument again = read(RtfWriter::write(document));
    QCOMPARE(plainText(again), text);
    QCOMPARE(again.paragraphs.at(0).runs.size(), document.paragraphs.at(0).runs.size());
}

void tst_RtfReader::pictureWordAfterText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    // Found by fuzzing: the picture was kept from the group's brace, its text with it, and every
    // save added the text once more.
    QTest::newRow("picture after text, cut short")
        << QByteArray("{\\rtf{\\'e5\\pict}") << QStringLiteral("\u00e5");
    QTest::newRow("picture after text")
        << QByteArray("{\\rtf1 {a\\pict\\pngblip 00}b}") << QStringLiteral("ab");
    QTest::newRow("picture after a group's text")
        << QByteArray("{\\rtf1 {{a}\\pict 00}b}") << QStringLiteral("ab");
    QTest::newRow("object after text")
        << QByteArray("{\\rtf1 {a\\object{\\*\\objclass P}}b}") << QStringLiteral("ab");
}

void tst_RtfReader::verbatimGroupKeepsItsUnicodeCount()
{
    // Found by fuzzing: under \\uc0 the "?" after \\u9 is picture data and ends the hex; under
    // our \\uc1 it would be a fallback, skipped, and the picture would read differently.
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QByteArray jpeg = encodedImage(image, "JPEG").toHex();
    const QByteArray rtf = "{\\rtf1 \\uc0{\\pict\\jpegblip " + jpeg.left(4) + "\\u9?" + jpeg.mid(4) + "}x}";
    const RichDocument document = read(rtf);
    QCOMPARE(objects(document).size(), 1);
    QCOMPARE(objects(document)[0]->kind, EmbeddedObject::Kind::Verbatim);
    const QByteArray written = RtfWriter::write(document);
    const RichDocument again = read(written);
    QCOMPARE(objects(again).size(), 1);
    QCOMPARE(objects(again)[0]->kind, EmbeddedObject::Kind::Verbatim);
    QCOMPARE(objects(again)[0]->verbatimRtf, objects(document)[0]->verbatimRtf);
    QCOMPARE(RtfWriter::write(again), written);
}

void tst_RtfReader::pictureWordAfterText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    const RichDocument document = read(rtf);
    QCOMPARE(plainText(document), text);
    QCOMPARE(objects(document).size(), 0);
    QCOMPARE(plainText(read(RtfWriter::write(document))), text);
}

void tst_RtfReader::loneSurrogateReadsAsU65533_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("high half, then text") << QByteArray("-\\u-10179?:");
    QTest::newRow("high half at the group's end") << QByteArray("-\\u-10179?}{\\f1 :");
    QTest::newRow("high half, then another high half") << QByteArray("-\\u-10179?\\u-10179?:");
    QTest::newRow("low half alone") << QByteArray("-\\u-9000?:");
}

void tst_RtfReader::loneSurrogateReadsAsU65533()
{
    // A half that cannot be decoded is what the writer then writes, \u65533; under a symbol
    // font too it must read back the same: a Unicode character in a run of its own.
    QFETCH(QByteArray, body);
    const QByteArray head = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}{\\f1 ";
    const RichDocument document = read(head + body + "}}");
    const RichDocument written = read(RtfWriter::write(document));
    QCOMPARE(written.paragraphs.size(), 1);
    QCOMPARE(written.paragraphs[0].runs.size(), document.paragraphs[0].runs.size());
    for (qsizetype i = 0; i < document.paragraphs[0].runs.size(); ++i) {
        const TextRun &before = document.paragraphs[0].runs[i];
        const TextRun &after = written.paragraphs[0].runs[i];
        QCOMPARE(after.text, before.text);
        QCOMPARE(after.style.symbolFont, before.style.symbolFont);
        QCOMPARE(before.style.symbolFont, !before.text.contains(QChar::ReplacementCharacter));
    }
}

void tst_RtfReader::shapePictureOnlyOnce_data()
{
    QTest::addColumn<QByteArray>("body"); // PICT stands for a PNG picture group
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pictures");
    QTest::newRow("picture with a metafile for older readers")
        << QByteArray("{\\*\\shppict PICT}{\\nonshppict{\\pict\\wmetafile8 0100}}x")
        << QStringLiteral("\uFFFCx") << 1;
    QTest::newRow("picture frame shape in a field (LibreOffice)")
        << QByteArray("a{\\field{\\*\\fldinst SHAPE }{\\fldrslt{\\shp{\\*\\shpinst\\shpleft0\\shpright539"
                      "{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}{\\sv PICT}}}}}}b")
        << QStringLiteral("a\uFFFCb") << 1;
    QTest::newRow("shape with its result for older readers")
        << QByteArray("{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv PICT}}}{\\shprslt{\\*\\do\\dobxcolumn}PICT}}x")
        << QStringLiteral("\uFFFCx") << 1;
    QTest::newRow("drawing shape: only its result shows")
        << QByteArray("{\\shp{\\*\\shpinst{\\sp{\\sn fillBlip}{\\sv PICT}}{\\sp{\\sn wzName}{\\sv Rectangle}}"
                      "{\\shptxt inside}}{\\shprslt PICT}}x")
        << QStringLiteral("\uFFFCx") << 1;
    QTest::newRow("text box shape: its text and values are not body text")
        << QByteArray("a{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt boite\\par}}}b")
        << QStringLiteral("ab") << 0;
}

void tst_RtfReader::shapePictureOnlyOnce()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QFETCH(int, pictures);
    const QByteArray picture = "{\\pict\\pngblip " + pngBytes(4, 4).toHex() + "}";
    const RichDocument document = read("{\\rtf1 " + body.replace("PICT", picture) + "}");
    QCOMPARE(plainText(document), text);
    QCOMPARE(objects(document).size(), pictures);
    for (const auto &object : objects(document))
        QCOMPARE(object->kind, EmbeddedObject::Kind::Picture);
}

void tst_RtfReader::objectKeptVerbatimWithResult()
{
    const QByteArray hex = pngBytes(8, 8).toHex();
    const QByteArray group =
        "{\\object\\objemb\\objw1000\\objh500{\\*\\objclass Equation.3}{\\*\\objdata 01050000}"
        "{\\result{\\pict\\pngblip\\picwgoal300\\pichgoal300 " +
        hex + "}text in result}}";
    const RichDocument document = read("{\\rtf1 a" + group + "b}");
    QCOMPARE(plainText(document), QStringLiteral("a\uFFFCb"));
    const auto found = objects(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0]->kind, EmbeddedObject::Kind::Verbatim);
    QCOMPARE(found[0]->verbatimRtf, group);
    QCOMPARE(found[0]->className, QStringLiteral("Equation.3"));
    QCOMPARE(found[0]->image.size(), QSize(8, 8));
    QCOMPARE(found[0]->widthTwips, 300);
}

void tst_RtfReader::objectWithoutResultGetsPlaceholder()
{
    const RichDocument document =
        read(R"({\rtf1 {\object\objemb\objw1500\objh750{\*\objclass Paint}{\*\objdata 00}}})");
    const auto found = objects(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0]->widthTwips, 1500);
    QCOMPARE(found[0]->image.size(), QSize(100, 50));
}

void tst_RtfReader::dibPicture()
{
    // 2x1 pixels, 24 bits: BITMAPINFOHEADER then one padded row (blue, white).
    QByteArray dib = QByteArray::fromHex("28000000"
                                         "02000000"
                                         "01000000"
                                         "0100"
                                         "1800"
                                         "00000000"
                                         "08000000"
                                         "00000000"
                                         "00000000"
                                         "00000000"
                                         "00000000"
                                         "ff0000"
                                         "ffffff"
                                         "0000");
    const RichDocument document = read("{\\rtf1 {\\pict\\dibitmap0\\picw2\\pich1 " + dib.toHex() + "}}");
    const auto found = objects(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0]->kind, EmbeddedObject::Kind::Picture);
    QVERIFY(found[0]->imageData.isEmpty());
    QCOMPARE(found[0]->image.size(), QSize(2, 1));
    QCOMPARE(QColor(found[0]->image.pixel(0, 0)), QColor(Qt::blue));
    QCOMPARE(found[0]->widthTwips, 30);
}

void tst_RtfReader::hugePictureSizeDoesNotAllocate()
{
    const RichDocument document = read(
        R"({\rtf1 {\pict\wbitmap0\picw2147483647\pich2147483647\wbmwidthbytes2147483647\picwgoal2147483647 00ff}"
        R"({\pict\dibitmap0 28000000ffffff7fffffff7f01002000}{\pict\emfblip\picw2147483647\pich2147483647 00}})");
    const auto found = objects(document);
    QCOMPARE(found.size(), 3);
    for (const auto &object : found) {
        QVERIFY(object->image.width() <= 2048 && object->image.height() <= 2048);
        QVERIFY(object->widthTwips > 0 && object->heightTwips > 0);
    }
}

void tst_RtfReader::manyHugePicturesShareOneBudget()
{
    const QByteArray png = "{\\pict\\pngblip " + hugeUniformPng(4000, 4000).toHex() + "}";
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 10; ++i)
        rtf += png;
    for (int i = 0; i < 200; ++i)
        rtf += "{\\pict\\wmetafile8\\picwgoal144000\\pichgoal144000 00}";
    rtf += "}";
    const RichDocument document = read(rtf);
    const auto found = objects(document);
    QCOMPARE(found.size(), 210);
    const auto decoded = std::count_if(found.begin(), found.end(), [](const auto &object) {
        return object->kind == EmbeddedObject::Kind::Picture;
    });
    QCOMPARE(decoded, 4);                               // 4 x 16 million pixels fill the document's budget
    QVERIFY(totalPixels(document) <= 64'000'000 + 210); // the rest are single grey pixels
    // Pictures beyond the budget keep their data for the next save.
    QVERIFY(found.last()->verbatimRtf.startsWith("{\\pict\\wmetafile8"));
    QVERIFY(found.at(9)->verbatimRtf.startsWith("{\\pict\\pngblip"));
}

void tst_RtfReader::damaged_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing closing braces") << QByteArray(R"({\rtf1 {\b a{\i b)") << "ab";
    QTest::newRow("extra closing braces") << QByteArray(R"({\rtf1 a}}}b)") << "a";
    QTest::newRow("text after the document") << QByteArray("{\\rtf1 a}\0\r\nxyz", 15) << "a";
    QTest::newRow("truncated hex") << QByteArray(R"({\rtf1 a\'4)") << "a";
    QTest::newRow("truncated hex, one digit") << QByteArray(R"({\rtf1 a\'e)") << "a";
    QTest::newRow("hex without digits") << QByteArray(R"({\rtf1 a\'zb})") << "azb";
    QTest::newRow("bin larger than the data") << QByteArray(R"({\rtf1 a\bin999999999 xyz)") << "a";
    QTest::newRow("negative bin") << QByteArray(R"({\rtf1 a\bin-5 b})") << "ab";
    QTest::newRow("lone backslash at the end") << QByteArray("{\\rtf1 a\\") << "a";
    QTest::newRow("unicode at the end") << QByteArray(R"({\rtf1 a\u)") << "a";
    QTest::newRow("unicode NUL") << QByteArray(R"({\rtf1 a\u0?b\u9?c})") << "ab\tc";
    QTest::newRow("huge parameters") << QByteArray(R"({\rtf1\fs99999999999999999999999\li-99999999999999 a})")
                                     << "a";
    QTest::newRow("very long control word")
        << QByteArray("{\\rtf1 \\" + QByteArray(100000, 'a') + " b}") << "b";
    QTest::newRow("truncated picture") << QByteArray(R"({\rtf1 a{\pict\wmetafile8 0102)") << "a";
    QTest::newRow("truncated object") << QByteArray(R"({\rtf1 a{\object{\*\objdata 0102)") << "a";
    QTest::newRow("odd hex in picture")
        << QByteArray(R"({\rtf1 {\pict\pngblip 0g12}x})") << QStringLiteral("\uFFFCx");
    QTest::newRow("font table never closed") << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial)") << "";
    QTest::newRow("colour table huge")
        << QByteArray("{\\rtf1{\\colortbl" + QByteArray(100000, ';') + "}\\cf99999 a}") << "a";
    QTest::newRow("destination in the outer group") << QByteArray(R"({\rtf1\stylesheet a})") << "a";
}

void tst_RtfReader::damaged()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    const RtfReadResult result = RtfReader::read(rtf);
    QVERIFY(result.ok);
    QVERIFY(!result.document.paragraphs.isEmpty());
    QCOMPARE(plainText(result.document), expected);
}

void tst_RtfReader::deepNesting()
{
    const int depth = 100000;
    QByteArray rtf = "{\\rtf1 a";
    rtf += QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "b}";
    QElapsedTimer timer;
    timer.start();
    const RtfReadResult result = RtfReader::read(rtf);
    QVERIFY(result.ok);
    QCOMPARE(plainText(result.document), QStringLiteral("ab"));
    QVERIFY(timer.elapsed() < 2000);
    // Unclosed, too.
    QVERIFY(RtfReader::read("{\\rtf1 " + QByteArray(depth, '{')).ok);
}

void tst_RtfReader::largeDocumentIsFast()
{
    QByteArray rtf =
        R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}{\colortbl ;\red255\green0\blue0;})";
    const QByteArray paragraph =
        R"(\pard\qc\li300\tx500 Exercice : la masse {\f1\'61} vaut m{\dn5\fs16 2}=3,0\'b710{\up6\fs16 -3} kg\tab {\b gras}\cf1 rouge\cf0\par)"
        "\r\n";
    while (rtf.size() < 1'000'000)
        rtf += paragraph;
    rtf += "}";
    QElapsedTimer timer;
    timer.start();
    const RichDocument document = read(rtf);
    const qint64 elapsed = timer.elapsed();
    QVERIFY(document.paragraphs.size() > 5000);
    // 1 MB here; 10 MB read in well under a second on a desktop. Generous bound for loaded CI.
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
}

QTEST_MAIN(tst_RtfReader)
// Codecs answer what they cannot map with SUB (0x1A) or U+FFFD; such a character would be
// text the writer cannot keep (found by fuzzing a Mac Korean file).
void tst_RtfReader::codePagesNeverGiveControlCharacters()
{
    RtfCodePages pages;
    for (const int codePage :
         {437,  850,  874,   932,   936,   949,   950,   1250,  1251,  1253,  1254,  1255, 1256,
          1257, 1258, 10000, 10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008, 10029}) {
        for (int byte = 0x80; byte < 0x100; ++byte) {
            const QChar c = pages.decode(codePage, uchar(byte));
            QVERIFY2(c.unicode() >= 0x20,
                     qPrintable(QStringLiteral("code page %1, byte %2").arg(codePage).arg(byte, 0, 16)));
            if (RtfCodePages::isLeadByte(codePage, uchar(byte))) {
                const QChar pair = pages.decodePair(codePage, uchar(byte), 0x20);
                QVERIFY2(
                    pair.unicode() >= 0x20,
                    qPrintable(QStringLiteral("code page %1, pair %2 20").arg(codePage).arg(byte, 0, 16)));
            }
        }
    }
}

#include "tst_rtfreader.moc"
