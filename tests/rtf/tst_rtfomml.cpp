// Office Math zones in RTF as elements: how the reader builds them from Word's and
// LibreOffice's groups (properties as group text or as word parameters, runs with and without
// \mr, the picture for other readers), what our own zones look like to other readers, EQ fields
// of older word processors, and damaged zones that must neither crash nor hang the reader.
#include "rtf/reader/rtfeqfield.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QBuffer>
#include <QTest>

namespace {

// (name "text" =value children…): a compact form for failure logs.
QString dump(const OmmlElement &e)
{
    QString out = u'(' + e.name;
    if (!e.text.isEmpty())
        out += QStringLiteral(" \"%1\"").arg(e.text);
    if (e.value)
        out += QStringLiteral(" =%1").arg(*e.value);
    for (const OmmlElement &child : e.children)
        out += u' ' + dump(child);
    return out + u')';
}

QList<std::shared_ptr<const EmbeddedObject>> objects(const RichDocument &document)
{
    QList<std::shared_ptr<const EmbeddedObject>> found;
    for (const Paragraph &paragraph : document.paragraphs) {
        for (const TextRun &run : paragraph.runs) {
            if (run.object)
                found.append(run.object);
        }
    }
    return found;
}

QString text(const RichDocument &document)
{
    QString out;
    for (const Paragraph &paragraph : document.paragraphs) {
        for (const TextRun &run : paragraph.runs)
            out += run.text;
        out += u'\n';
    }
    return out;
}

QByteArray png()
{
    QImage image(30, 12, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

} // namespace

class tst_RtfOmml : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void zones_data();
    void zones();
    void pictureAndLinearText();
    void writtenZone();
    void eqFields_data();
    void eqFields();
    void eqFieldReplacesItsResult();
    void damagedZones_data();
    void damagedZones();
};

void tst_RtfOmml::zones_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("tree");
    QTest::newRow("inline fraction") << QByteArray(R"({\mmath{\*\moMath{\mf{\mnum{\mr a}}{\mden{\mr b}}}}})")
                                     << "(mmath (oMath (f (num (r \"a\")) (den (r \"b\")))))";
    QTest::newRow("display, with paragraph properties")
        << QByteArray(R"({\mmath{\*\moMathPara{\*\moMathParaPr{\mjc1}}{\*\moMath{\mr x}}}})")
        << "(mmath (oMathPara (oMathParaPr (jc =1)) (oMath (r \"x\"))))";
    QTest::newRow("property as group text, Unicode value")
        << QByteArray(R"({\mmath{\*\moMath{\macc{\maccPr{\mchr \u8407\'3f}}{\me{\mr v}}}}})")
        << QString::fromUtf8("(mmath (oMath (acc (accPr (chr \"\u20D7\")) (e (r \"v\")))))");
    QTest::newRow("run flags as Word writes them")
        << QByteArray(R"({\mmath{\*\moMath{\mr\mscr0\msty2\i\f34 a}}})")
        << "(mmath (oMath (r \"a\" (scr =0) (sty =2))))";
    QTest::newRow("text outside runs, in order")
        << QByteArray(R"({\mmath{\*\moMath{\msSup{\me x}{\msup 2}}+1}})")
        << "(mmath (oMath (sSup (e (r \"x\")) (sup (r \"2\"))) (r \"+1\")))";
    QTest::newRow("bookmark inside is no math")
        << QByteArray(R"({\mmath{\*\moMath{\mr a}{\*\bkmkstart m1}{\mr b}}})")
        << "(mmath (oMath (r \"a\") (r \"b\")))";
}

void tst_RtfOmml::zones()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, tree);
    const RtfReadResult read = RtfReader::read("{\\rtf1 " + rtf + "}");
    const auto found = objects(read.document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->kind, EmbeddedObject::Kind::Equation);
    QVERIFY(found.first()->omml);
    QCOMPARE(dump(*found.first()->omml), tree);
}

void tst_RtfOmml::pictureAndLinearText()
{
    // LibreOffice's layout: the picture group inside the zone; ours adds the linear text.
    const QByteArray rtf =
        "{\\rtf1 a{\\mmath {\\*\\vgeq45 x^2}{\\*\\moMath {\\mr x}}{\\mmathPict {\\*\\shppict"
        "{\\pict\\pngblip\\picwgoal600\\pichgoal300 " +
        png().toHex() + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}}}b}";
    const RtfReadResult read = RtfReader::read(rtf);
    const auto found = objects(read.document);
    QCOMPARE(found.size(), 1); // \nonshppict is not a second picture
    const EmbeddedObject &object = *found.first();
    QCOMPARE(object.kind, EmbeddedObject::Kind::Equation);
    QCOMPARE(object.equation, QStringLiteral("x^2"));
    QCOMPARE(object.equationDescentTwips, 45);
    QCOMPARE(object.widthTwips, 600);
    QVERIFY(!object.image.isNull());
    QVERIFY(object.verbatimRtf.startsWith("{\\mmath") && object.verbatimRtf.endsWith("}"));
    QCOMPARE(text(read.document), QStringLiteral("a\uFFFCb\n"));
}

void tst_RtfOmml::writtenZone()
{
    auto object = std::make_shared<EmbeddedObject>();
    object->kind = EmbeddedObject::Kind::Equation;
    object->equation = QStringLiteral("a/b");
    object->image.loadFromData(png());
    object->imageData = png();
    object->imageFormat = "png";
    object->widthTwips = 450;
    object->heightTwips = 180;
    object->equationDescentTwips = 60;
    OmmlElement fraction(QStringLiteral("f"));
    fraction.children = {OmmlElement(QStringLiteral("num")), OmmlElement(QStringLiteral("den"))};
    OmmlElement line(QStringLiteral("oMath"));
    line.children = {fraction};
    OmmlElement zone(QStringLiteral("mmath"));
    zone.children = {line};
    object->omml = std::make_shared<const OmmlElement>(zone);
    RichDocument document;
    const TextRun equation{QString(QChar(0xFFFC)), CharStyle{}, object};
    document.paragraphs = {Paragraph{{}, {TextRun{QStringLiteral("v = "), CharStyle{}, {}}, equation}},
                           Paragraph{{}, {equation}}};
    const QByteArray rtf = RtfWriter::write(document);
    // Inline in the first paragraph, displayed alone on the second.
    const qsizetype first = rtf.indexOf("{\\mmath");
    const qsizetype second = rtf.indexOf("{\\mmath", first + 1);
    QVERIFY2(first > 0 && second > first, rtf.constData());
    QVERIFY(rtf.mid(first, second - first).contains("{\\*\\moMath{\\mf{\\mnum}{\\mden}}}"));
    QVERIFY(!rtf.mid(first, second - first).contains("moMathPara"));
    QVERIFY(rtf.mid(second).contains("{\\*\\moMathPara{\\*\\moMath{\\mf"));
    // For readers without Office Math: PNG for those that know \shppict, a metafile for the
    // others, lowered by the descent (6 half-points), at the equation's size.
    QVERIFY(rtf.contains("{\\mmathPict\\dn6{\\*\\shppict{\\pict\\pngblip"));
    QVERIFY(rtf.contains("{\\nonshppict{\\pict\\wmetafile8\\picw794\\pich318\\picwgoal450\\pichgoal180"));
    // Read back here: the linear text as typed, on the line, not lowered.
    const RtfReadResult read = RtfReader::read(rtf);
    const auto found = objects(read.document);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found.first()->equation, QStringLiteral("a/b"));
    QCOMPARE(read.document.paragraphs[0].runs.last().style.offsetTwips, 0);
}

void tst_RtfOmml::eqFields_data()
{
    QTest::addColumn<QString>("instruction");
    QTest::addColumn<QString>("tree"); // empty: no equation, the result shows
    QTest::newRow("fraction") << R"( EQ \f(a,b))"
                              << "(oMath (f (num (r \"a\")) (den (r \"b\"))))";
    QTest::newRow("fraction, French separator") << R"(EQ \f(1,5;2))"
                                                << "(oMath (f (num (r \"1,5\")) (den (r \"2\"))))";
    QTest::newRow("radical with index") << R"(EQ \r(3,x))"
                                        << "(oMath (rad (deg (r \"3\")) (e (r \"x\"))))";
    QTest::newRow("square root") << R"(EQ \r(,x))"
                                 << "(oMath (rad (radPr (degHide \"1\")) (deg) (e (r \"x\"))))";
    QTest::newRow("superscript on the last character")
        << R"(EQ mc\s\up8(2))"
        << "(oMath (r \"m\") (sSup (e (r \"c\")) (sup (r \"2\"))))";
    QTest::newRow("subscript") << R"(EQ v\s\do4(0))"
                               << "(oMath (sSub (e (r \"v\")) (sub (r \"0\"))))";
    QTest::newRow("brackets, both sides") << R"(EQ \b\bc\[(x))"
                                          << "(oMath (d (dPr (begChr \"[\") (endChr \"]\")) (e (r \"x\"))))";
    QTest::newRow("brackets, default")
        << R"(EQ \b(\f(1,2)))"
        << "(oMath (d (dPr (begChr \"(\") (endChr \")\")) (e (f (num (r \"1\")) (den (r \"2\"))))))";
    QTest::newRow("overstrike as an accent")
        << QString::fromUtf8(R"(EQ \o(v,→))")
        << QString::fromUtf8("(oMath (acc (accPr (chr \"→\")) (e (r \"v\"))))");
    QTest::newRow("escaped characters") << R"(EQ \f(a\,b,c))"
                                        << "(oMath (f (num (r \"a,b\")) (den (r \"c\"))))";
    QTest::newRow("integral switch: result") << R"(EQ \i(0,1,x))"
                                             << "";
    QTest::newRow("array switch: result") << R"(EQ \a(1,2))"
                                          << "";
    QTest::newRow("stacked lines: result") << R"(EQ \s(a,b))"
                                           << "";
    QTest::newRow("another field") << R"(PAGE \* MERGEFORMAT)"
                                   << "";
    QTest::newRow("unclosed") << R"(EQ \f(a,b)"
                              << "(oMath (f (num (r \"a\")) (den (r \"b\"))))";
}

void tst_RtfOmml::eqFields()
{
    QFETCH(QString, instruction);
    QFETCH(QString, tree);
    const std::optional<OmmlElement> zone = RtfEqField::parse(instruction);
    QCOMPARE(zone.has_value(), !tree.isEmpty());
    if (zone)
        QCOMPARE(dump(zone->children.first()), tree);
}

void tst_RtfOmml::eqFieldReplacesItsResult()
{
    const RtfReadResult read = RtfReader::read(
        R"({\rtf1 x = {\field{\*\fldinst { EQ \\f(1,2)}}{\fldrslt {1/2}}} et {\field{\*\fldinst EQ \\i(0,1,x)}{\fldrslt {int}}}\par})");
    QCOMPARE(objects(read.document).size(), 1);
    QCOMPARE(text(read.document), QStringLiteral("x = \uFFFC et int\n"));
}

void tst_RtfOmml::damagedZones_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("truncated") << QByteArray(R"({\rtf1 a{\mmath{\*\moMath{\mf{\mnum{\mr 1)");
    QTest::newRow("unbalanced closing") << QByteArray(R"({\rtf1 a{\mmath{\*\moMath{\mr x}}}}}}} b})");
    QTest::newRow("unknown words") << QByteArray(R"({\rtf1{\mmath{\*\moMath{\mzorglub7{\mr x}\mbidule}}}})");
    QTest::newRow("picture data cut")
        << QByteArray(R"({\rtf1{\mmath{\mmathPict{\*\shppict{\pict\pngblip 89504)");
    QTest::newRow("zone in a zone") << QByteArray(R"({\rtf1{\mmath{\*\moMath{\mmath{\mr x}}}}})");
    QTest::newRow("zone in the font table") << QByteArray(R"({\rtf1{\fonttbl{\mmath{\mr x}}{\f0 Arial;}}a})");
    QTest::newRow("binary inside") << QByteArray("{\\rtf1{\\mmath{\\*\\moMath{\\mr \\bin4 {{}}x}}}}");
    QByteArray deep = R"({\rtf1{\mmath{\*\moMath )";
    for (int i = 0; i < 10000; ++i)
        deep += R"({\mf{\mnum{\mr 1}})";
    QTest::newRow("10 000 nested fractions") << deep;
    QByteArray wide = R"({\rtf1{\mmath{\*\moMath )";
    for (int i = 0; i < 50000; ++i)
        wide += R"({\mr x}{\mfoo})";
    QTest::newRow("50 000 elements") << wide + "}}}";
    QTest::newRow("EQ fields nested deep") << QByteArray(R"({\rtf1{\field{\*\fldinst EQ )") +
                                                  QByteArray(2000, '\\').replace("\\\\", "\\\\f(") + "}}}";
}

void tst_RtfOmml::damagedZones()
{
    QFETCH(QByteArray, rtf);
    const RtfReadResult read = RtfReader::read(rtf);
    for (const auto &object : objects(read.document)) {
        if (object->omml) {
            // Never deeper than promised, so walking it recursively is safe.
            int depth = 0;
            QList<std::pair<const OmmlElement *, int>> pending{{object->omml.get(), 1}};
            while (!pending.isEmpty()) {
                const auto [element, level] = pending.takeLast();
                depth = std::max(depth, level);
                for (const OmmlElement &child : element->children)
                    pending.append({&child, level + 1});
            }
            QVERIFY(depth <= OmmlElement::MaxDepth);
        }
    }
}

QTEST_MAIN(tst_RtfOmml)
#include "tst_rtfomml.moc"
