// Office Math zones read as equations of ours, and ours written as Office Math: each OMML
// element and property as the RTF 1.9.1 and Office Math descriptions give them, read from RTF
// into the linear text a teacher would type; and typed equations written out and read back.
#include "math/equation.h"
#include "math/linearwriter.h"
#include "math/mathparser.h"
#include "math/ommlreader.h"
#include "math/ommlwriter.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QTest>

namespace {

// The first equation object of a document read from `rtf`.
std::shared_ptr<const EmbeddedObject> firstEquation(const QByteArray &rtf)
{
    const RtfReadResult read = RtfReader::read(rtf);
    for (const Paragraph &paragraph : read.document.paragraphs) {
        for (const TextRun &run : paragraph.runs) {
            if (run.object && run.object->kind == EmbeddedObject::Kind::Equation)
                return run.object;
        }
    }
    return {};
}

QByteArray inlineZone(const char *elements)
{
    return QByteArray(R"({\rtf1\ansi a {\mmath{\*\moMath )") + elements + "}} b\\par}";
}

} // namespace

class tst_OmmlEquations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void elements_data();
    void elements();
    void displayAndLines_data();
    void displayAndLines();
    void typedEquationsComeBack_data();
    void typedEquationsComeBack();
    void deepZoneStaysBounded();
};

void tst_OmmlEquations::elements_data()
{
    QTest::addColumn<QByteArray>("omml");
    QTest::addColumn<QString>("linear");
    QTest::addColumn<bool>("complete");
    const auto row = [](const char *name, const char *omml, const char *linear, bool complete = true) {
        QTest::newRow(name) << QByteArray(omml) << QString::fromUtf8(linear) << complete;
    };
    row("run", R"({\mr a+b})", "a + b");
    row("run, decimal comma and upright unit", R"({\mr 9,81}{\mr\msty0  N})", "9,81 N");
    row("run, normal text", R"({\mr{\mrPr{\mnor}}vitesse})", "\"vitesse\"");
    row("run, math italic surrogate pair", R"({\mr \u-10187?\u-9138?})", "a");
    row("text straight in the zone", R"(x=1)", "x = 1");
    row("fraction", R"({\mf{\mfPr{\mctrlPr}}{\mnum{\mr a}}{\mden{\mr b}}})", "a/b");
    row("fraction, skewed", R"({\mf{\mfPr{\mtype skw}}{\mnum{\mr a}}{\mden{\mr b}}})", "a/b");
    row("fraction, linear", R"({\mf{\mfPr{\mtype lin}}{\mnum{\mr x+1}}{\mden{\mr 2}}})", "(x + 1)/2");
    row("radical, degree hidden", R"({\mrad{\mradPr{\mdegHide 1}}{\mdeg}{\me{\mr 2}}})", "sqrt(2)");
    row("radical, empty degree", R"({\mrad{\mdeg}{\me{\mr x}}})", "sqrt(x)");
    row("radical with degree", R"({\mrad{\mdeg{\mr 3}}{\me{\mr x}}})", "root(3)(x)");
    row("superscript", R"({\msSup{\me{\mr x}}{\msup{\mr 2}}})", "x^2");
    row("subscript", R"({\msSub{\me{\mr v}}{\msub{\mr 0}}})", "v_0");
    row("sub- and superscript", R"({\msSubSup{\me{\mr x}}{\msub{\mr i}}{\msup{\mr 2}}})", "x_i^2");
    row("prescripts", R"({\msPre{\msub{\mr 6}}{\msup{\mr 14}}{\me{\mr C}}})", "{::}_6^14 C");
    row("sum with limits under and over",
        R"({\mnary{\mnaryPr{\mchr \u8721?}{\mlimLoc undOvr}}{\msub{\mr i=1}}{\msup{\mr n}}{\me{\mr i}}})",
        "sum_(i = 1)^n i");
    row("integral, the default character", R"({\mnary{\msub{\mr 0}}{\msup{\mr T}}{\me{\mr f}}})",
        "int_0^T f");
    row("sum, limits beside",
        R"({\mnary{\mnaryPr{\mchr \u8721?}{\mlimLoc subSup}}{\msub{\mr k}}{\msup}{\me{\mr k}}})", "sum_k k");
    row("product, scripts hidden",
        R"({\mnary{\mnaryPr{\mchr \u8719?}{\msubHide 1}{\msupHide on}}{\msub}{\msup}{\me{\mr a}}})",
        "prod a");
    row("delimiters, parentheses by default", R"({\md{\me{\mr a+b}}})", "(a + b)");
    row("delimiters, brackets", R"({\md{\mdPr{\mbegChr [}{\mendChr ]}}{\me{\mr a}}})", "[a]");
    row("delimiters, one side only", R"({\md{\mdPr{\mbegChr \{}{\mendChr }}{\me{\mr x}}})", "{x:}");
    row("delimiters, separator", R"({\md{\mdPr{\msepChr ;}}{\me{\mr a}}{\me{\mr b}}})", "(a ; b)");
    row("delimiters, bars", R"({\md{\mdPr{\mbegChr |}{\mendChr |}}{\me{\mr x}}})", "abs(x)");
    row("accent, vector arrow", R"({\macc{\maccPr{\mchr \u8407?}}{\me{\mr v}}})", "vec(v)");
    row("accent, the default hat", R"({\macc{\me{\mr a}}})", "hat(a)");
    row("accent, dot", R"({\macc{\maccPr{\mchr \u775?}}{\me{\mr x}}})", "dot(x)");
    row("bar over", R"({\mbar{\mbarPr{\mpos top}}{\me{\mr x}}})", "bar(x)");
    row("bar under, the default", R"({\mbar{\me{\mr x}}})", "ul(x)");
    row("group character, under brace", R"({\mgroupChr{\me{\mr a+b}}})", "ubrace(a + b)");
    row("group character, over brace", R"({\mgroupChr{\mgroupChrPr{\mchr \u9182?}{\mpos top}}{\me{\mr a}}})",
        "obrace(a)");
    row("lower limit", R"({\mfunc{\mfName{\mlimLow{\me{\mr lim}}{\mlim{\mr x\u8594?0}}}}{\me{\mr f}}})",
        "lim_(x -> 0) f");
    row("upper limit", R"({\mlimUpp{\me{\mr =}}{\mlim{\mr !}}})", "overset(!)(=)");
    row("function", R"({\mfunc{\mfName{\mr sin}}{\me{\mr x}}})", "sin x");
    row("function of a sum", R"({\mfunc{\mfName{\mr cos}}{\me{\mr \u969?t+\u966?}}})",
        "cos (omega t + varphi)");
    row("matrix in brackets",
        R"({\md{\mdPr{\mbegChr [}{\mendChr ]}}{\me{\mm{\mmr{\me{\mr a}}{\me{\mr b}}}{\mmr{\me{\mr c}}{\me{\mr d}}}}}})",
        "[[a, b], [c, d]]");
    row("equation array", R"({\meqArr{\me{\mr x=1}}{\me{\mr y=2}}})", "{:(x = 1), (y = 2):}");
    row("box", R"({\mbox{\me{\mr dx}}})", "d x");
    row("border box", R"({\mborderBox{\me{\mr E=m}}})", "E = m");
    row("nested: fraction of roots",
        R"({\mf{\mnum{\mrad{\mdeg}{\me{\mr a}}}}{\mden{\msSup{\me{\mr b}}{\msup{\mr 2}}}}})", "sqrt(a)/b^2");
    row("unknown element: its text", R"({\mphant{\me{\mr x}}}{\mr +1})", "x + 1", false);
    row("unknown property is no text", R"({\mf{\mfPr{\mfoo 7}}{\mnum{\mr 1}}{\mden{\mr 2}}})", "1/2");
}

void tst_OmmlEquations::elements()
{
    QFETCH(QByteArray, omml);
    QFETCH(QString, linear);
    QFETCH(bool, complete);
    const auto object = firstEquation(inlineZone(omml.constData()));
    QVERIFY(object);
    QVERIFY(object->omml);
    const OmmlReader::Result read = OmmlReader::read(*object->omml);
    QCOMPARE(LinearWriter::write(read.tree), linear);
    QCOMPARE(read.complete, complete);
}

void tst_OmmlEquations::displayAndLines_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("linear");
    QTest::newRow("display, as Word writes it")
        << QByteArray(R"({\rtf1{\mmath{\*\moMathPara{\*\moMathParaPr{\mjc1}}{\*\moMath{\mr F=m a}}}}\par})")
        << "F = m a";
    QTest::newRow("display of two lines")
        << QByteArray(R"({\rtf1{\mmath{\*\moMathPara{\*\moMath{\mr a=1}}{\*\moMath{\mr b=2}}}}\par})")
        << "{:(a = 1), (b = 2):}";
    QTest::newRow("picture inside, as LibreOffice writes it")
        << QByteArray(R"({\rtf1{\mmath {\*\moMath {\mr x}}{\mmathPict {\*\shppict{\pict\pngblip 00}}}}})")
        << "x";
    QTest::newRow("Word's math run formatting")
        << QByteArray(R"({\rtf1{\mmath{\*\moMath\b0\i0{\mr\mscr0\msty2\i\f34\insrsid1 a}}}})") << "a";
}

void tst_OmmlEquations::displayAndLines()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, linear);
    const auto object = firstEquation(rtf);
    QVERIFY(object);
    QCOMPARE(OmmlReader::linear(*object->omml), linear);
}

void tst_OmmlEquations::typedEquationsComeBack_data()
{
    QTest::addColumn<QString>("typed");
    for (const char *typed :
         {"v = (Delta x)/(Delta t)", "E_c = 1/2 m v^2", "F = G (m_A m_B)/d^2", "vec(F) = m vec(a)",
          "sum_(i=1)^n vec(F)_i = vec(0)", "int_0^T P(t) dt", "T = 2 pi sqrt(l/g)", "root(3)(x) + abs(x)",
          "lim_(Delta t -> 0) (Delta x)/(Delta t)", "[[a, b], [c, d]]", "sin(omega t + phi)",
          "x_1^2 + ubrace(a + b) + bar(x) + hat(u) + ul(y)", "{(x = 1), (y = 2):}", "\"vitesse\" = d/t"})
        QTest::newRow(typed) << QString::fromUtf8(typed);
}

// Written as Office Math and read back, an equation keeps its tree: the linear text rebuilt from
// a file another word processor saved opens the equation that was typed.
void tst_OmmlEquations::typedEquationsComeBack()
{
    QFETCH(QString, typed);
    const MathNode tree = MathParser::parse(typed);
    auto object = std::make_shared<EmbeddedObject>();
    object->kind = EmbeddedObject::Kind::Equation;
    object->omml = std::make_shared<const OmmlElement>(OmmlWriter::write(tree));
    object->image = QImage(4, 4, QImage::Format_ARGB32);
    object->image.fill(Qt::black);
    RichDocument document;
    document.paragraphs[0].runs = {TextRun{QString(QChar(0xFFFC)), CharStyle{}, object}};
    const QByteArray rtf = RtfWriter::write(document);
    // Without our own linear text, as another program would save it.
    QByteArray foreign = rtf;
    foreign.replace("{\\*\\vgeq0 }", "");
    const auto back = firstEquation(foreign);
    QVERIFY2(back && back->omml, rtf.constData());
    QVERIFY(back->equation.isEmpty());
    const OmmlReader::Result read = OmmlReader::read(*back->omml);
    QVERIFY(read.complete);
    const QString linear = LinearWriter::write(read.tree);
    QCOMPARE(MathParser::parse(linear).dump(), tree.dump());
}

void tst_OmmlEquations::deepZoneStaysBounded()
{
    QByteArray rtf = R"({\rtf1{\mmath{\*\moMath )";
    for (int i = 0; i < 10000; ++i)
        rtf += R"({\mf{\mnum )";
    rtf += "x";
    const auto object = firstEquation(rtf);
    QVERIFY(object);
    // Fractions as deep as the tree goes, the rest flat: a text that reads back as an equation.
    const QString linear = OmmlReader::linear(*object->omml);
    QVERIFY(linear.count(u'/') >= 10);
    QVERIFY(!Equation::fromLinear(linear).isEmpty());
}

QTEST_MAIN(tst_OmmlEquations)
#include "tst_ommlequations.moc"
