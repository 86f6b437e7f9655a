// Equations in RTF: written as their picture, which every reader shows on the line's baseline,
// with the linear text before it in a group other readers skip; read back as equations.
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

namespace {

std::shared_ptr<EmbeddedObject> equation(const QString &linear, int descentTwips)
{
    auto object = std::make_shared<EmbeddedObject>();
    object->kind = EmbeddedObject::Kind::Equation;
    object->equation = linear;
    object->image = QImage(40, 20, QImage::Format_ARGB32);
    object->image.fill(Qt::transparent);
    QBuffer buffer(&object->imageData);
    buffer.open(QIODevice::WriteOnly);
    object->image.save(&buffer, "PNG");
    object->imageFormat = "png";
    object->widthTwips = 300;
    object->heightTwips = 150;
    object->equationDescentTwips = descentTwips;
    return object;
}

RichDocument documentWith(const QString &linear, int descentTwips, int offsetTwips)
{
    RichDocument document;
    CharStyle style;
    style.offsetTwips = offsetTwips;
    style.halfPoints = 24;
    document.paragraphs[0].runs = {TextRun{QStringLiteral("v = "), CharStyle{}, {}},
                                   TextRun{QString(QChar(0xFFFC)), style, equation(linear, descentTwips)},
                                   TextRun{QStringLiteral(" ok"), CharStyle{}, {}}};
    return document;
}

const TextRun *objectRun(const RichDocument &document)
{
    for (const Paragraph &paragraph : document.paragraphs) {
        for (const TextRun &run : paragraph.runs) {
            if (run.object)
                return &run;
        }
    }
    return nullptr;
}

} // namespace

class tst_RtfEquations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void otherReadersSeeAPictureOnTheBaseline();
    void pictureAfterTextIsNoEquation();
    void damagedEquationGroups_data();
    void damagedEquationGroups();
};

void tst_RtfEquations::roundTrip_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<int>("descent");
    QTest::addColumn<int>("offset");
    QTest::newRow("fraction on the baseline") << "(Delta x)/(Delta t)" << 120 << 0;
    QTest::newRow("raised as an exponent") << "x^2" << 40 << 80;
    QTest::newRow("lowered") << "sqrt(2 g h)" << 60 << -50;
    QTest::newRow("no descent") << "F = m a" << 0 << 0;
    QTest::newRow("Greek and accents") << QStringLiteral("Δx = vec(AB) · é") << 30 << 0;
    QTest::newRow("braces and backslashes") << R"(\frac{a}{b} + {x})" << 90 << 0;
}

void tst_RtfEquations::roundTrip()
{
    QFETCH(QString, linear);
    QFETCH(int, descent);
    QFETCH(int, offset);
    const QByteArray rtf = RtfWriter::write(documentWith(linear, descent, offset));
    const RtfReadResult read = RtfReader::read(rtf);
    QVERIFY(read.ok);
    const TextRun *run = objectRun(read.document);
    QVERIFY2(run, rtf.constData());
    QCOMPARE(run->object->kind, EmbeddedObject::Kind::Equation);
    QCOMPARE(run->object->equation, linear);
    QCOMPARE(run->object->equationDescentTwips, descent);
    QCOMPARE(run->style.offsetTwips, offset); // the picture's lowering is not the equation's
    QCOMPARE(run->style.halfPoints, 24);
    QCOMPARE(read.document.paragraphs[0].runs.last().text, QStringLiteral(" ok"));
}

void tst_RtfEquations::otherReadersSeeAPictureOnTheBaseline()
{
    // What a reader that skips our group reads: a PNG picture, lowered by the descent.
    const QByteArray rtf = RtfWriter::write(documentWith(QStringLiteral("a/b"), 120, 0));
    QVERIFY2(rtf.contains("{\\*\\vgeq120 a/b}"), rtf.constData());
    const qsizetype picture = rtf.indexOf("\\pict");
    QVERIFY(picture > 0);
    const qsizetype lowered = rtf.lastIndexOf("\\dn12", picture);
    QVERIFY2(lowered > rtf.indexOf("vgeq"), rtf.constData());
    QVERIFY(rtf.indexOf("\\pngblip", picture) > picture);
}

void tst_RtfEquations::pictureAfterTextIsNoEquation()
{
    QByteArray rtf = RtfWriter::write(documentWith(QStringLiteral("a/b"), 0, 0));
    rtf.replace("{\\*\\vgeq0 a/b}", "{\\*\\vgeq0 a/b}text between ");
    const RtfReadResult read = RtfReader::read(rtf);
    const TextRun *run = objectRun(read.document);
    QVERIFY(run);
    QCOMPARE(run->object->kind, EmbeddedObject::Kind::Picture);
}

void tst_RtfEquations::damagedEquationGroups_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("truncated text") << QByteArray(R"({\rtf1 a{\*\vgeq12 x/)");
    QTest::newRow("no picture after it") << QByteArray(R"({\rtf1 a{\*\vgeq12 x/y} b\par})");
    QTest::newRow("huge descent") << QByteArray(R"({\rtf1 {\*\vgeq99999999999 x}{\pict\pngblip 00}})");
    QTest::newRow("nested groups inside") << QByteArray(R"({\rtf1 {\*\vgeq {{{{x}}}}}{\pict\pngblip 00}})");
    QTest::newRow("in the font table") << QByteArray(R"({\rtf1{\fonttbl{\*\vgeq1 x}{\f0 Arial;}}a})");
}

void tst_RtfEquations::damagedEquationGroups()
{
    QFETCH(QByteArray, rtf);
    const RtfReadResult read = RtfReader::read(rtf);
    // Whatever it makes of it, the reader ends, and an equation it keeps has a text.
    if (const TextRun *run = objectRun(read.document)) {
        if (run->object->kind == EmbeddedObject::Kind::Equation)
            QVERIFY(!run->object->equation.isEmpty());
        QVERIFY(run->object->equationDescentTwips >= 0 && run->object->equationDescentTwips <= 32767);
    }
}

QTEST_MAIN(tst_RtfEquations)
#include "tst_rtfequations.moc"
