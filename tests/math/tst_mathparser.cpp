#include "math/equation.h"
#include "math/mathparser.h"

#include <QTest>

// The linear syntax, read through the MathML it gives: what a teacher types and what a reader of
// the exported file sees.
class tst_MathParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mathml_data();
    void mathml();
    void chemistry_data();
    void chemistry();
    void frenchRules_data();
    void frenchRules();
    void badInput_data();
    void badInput();
    void roundTrip_data();
    void roundTrip();
    void hugeInputEndsQuickly_data();
    void hugeInputEndsQuickly();
    void copiesShareTheTree();
};

namespace {

// The MathML without its <math> wrapper, to keep the table readable.
QString inner(const QString &linear)
{
    QString xml = Equation::fromLinear(linear).mathml();
    xml.remove(QStringLiteral("<math xmlns=\"http://www.w3.org/1998/Math/MathML\">"));
    xml.chop(int(qstrlen("</math>")));
    return xml;
}

} // namespace

void tst_MathParser::mathml_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fraction drops the brackets of its operands")
        << "(Delta x)/(Delta t)"
        << "<mfrac><mrow><mi mathvariant=\"normal\">Δ</mi><mi>x</mi></mrow>"
           "<mrow><mi mathvariant=\"normal\">Δ</mi><mi>t</mi></mrow></mfrac>";
    QTest::newRow("a half, then a product") << "1/2 m v^2"
                                            << "<mfrac><mn>1</mn><mn>2</mn></mfrac><mi>m</mi>"
                                               "<msup><mi>v</mi><mn>2</mn></msup>";
    QTest::newRow("subscript and superscript") << "x_i^2"
                                               << "<msubsup><mi>x</mi><mi>i</mi><mn>2</mn></msubsup>";
    QTest::newRow("negative exponent") << "x^-2"
                                       << "<msup><mi>x</mi><mrow><mo>−</mo><mn>2</mn></mrow></msup>";
    QTest::newRow("square root") << "sqrt(2 g h)"
                                 << "<msqrt><mn>2</mn><mi>g</mi><mi>h</mi></msqrt>";
    QTest::newRow("cube root") << "root(3)(x)"
                               << "<mroot><mi>x</mi><mn>3</mn></mroot>";
    QTest::newRow("LaTeX cube root") << "\\sqrt[3]{x}"
                                     << "<mroot><mi>x</mi><mn>3</mn></mroot>";
    QTest::newRow("LaTeX fraction") << "\\frac{a}{b}"
                                    << "<mfrac><mi>a</mi><mi>b</mi></mfrac>";
    QTest::newRow("vector over one letter") << "vec(F)"
                                            << "<mover accent=\"true\"><mi>F</mi><mo>→</mo></mover>";
    QTest::newRow("one arrow over two letters")
        << "vec(AB)"
        << "<mover accent=\"true\"><mrow><mi>A</mi><mi>B</mi></mrow><mo>→</mo></mover>";
    QTest::newRow("LaTeX vector") << "\\vec{F}"
                                  << "<mover accent=\"true\"><mi>F</mi><mo>→</mo></mover>";
    QTest::newRow("underline") << "ul(x)"
                               << "<munder accentunder=\"true\"><mi>x</mi><mo>̲</mo></munder>";
    QTest::newRow("absolute value") << "abs(x)"
                                    << "<mrow><mo>|</mo><mi>x</mi><mo>|</mo></mrow>";
    QTest::newRow("bars pair up") << "|x|"
                                  << "<mrow><mo>|</mo><mi>x</mi><mo>|</mo></mrow>";
    QTest::newRow("norm") << "norm(v)"
                          << "<mrow><mo>‖</mo><mi>v</mi><mo>‖</mo></mrow>";
    QTest::newRow("sum with limits")
        << "sum_(i=1)^n"
        << "<munderover><mo>∑</mo><mrow><mi>i</mi><mo>=</mo><mn>1</mn></mrow><mi>n</mi></munderover>";
    QTest::newRow("integral takes scripts") << "int_a^b"
                                            << "<msubsup><mo>∫</mo><mi>a</mi><mi>b</mi></msubsup>";
    QTest::newRow("limit below")
        << "lim_(x->0)"
        << "<munder><mi>lim</mi><mrow><mi>x</mi><mo>→</mo><mn>0</mn></mrow></munder>";
    // The fraction takes the simple expressions on each side: never the operator before them.
    QTest::newRow("limit, then a fraction")
        << "lim_(Δt->0) (Δx)/(Δt)"
        << "<munder><mi>lim</mi><mrow><mi mathvariant=\"normal\">Δ</mi><mi>t</mi><mo>→</mo><mn>0</mn></mrow>"
           "</munder><mfrac><mrow><mi mathvariant=\"normal\">Δ</mi><mi>x</mi></mrow>"
           "<mrow><mi mathvariant=\"normal\">Δ</mi><mi>t</mi></mrow></mfrac>";
    QTest::newRow("sum, then a fraction")
        << "sum_(i=1)^n (a_i)/(2)"
        << "<munderover><mo>∑</mo><mrow><mi>i</mi><mo>=</mo><mn>1</mn></mrow><mi>n</mi></munderover>"
           "<mfrac><msub><mi>a</mi><mi>i</mi></msub><mn>2</mn></mfrac>";
    QTest::newRow("integral, then a fraction")
        << "int_0^1 (dx)/(x)"
        << "<msubsup><mo>∫</mo><mn>0</mn><mn>1</mn></msubsup>"
           "<mfrac><mrow><mi>d</mi><mi>x</mi></mrow><mi>x</mi></mfrac>";
    QTest::newRow("function applied to brackets, then divided")
        << "sin(x)/x"
        << "<mfrac><mrow><mi>sin</mi><mrow><mo>(</mo><mi>x</mi><mo>)</mo></mrow></mrow><mi>x</mi></mfrac>";
    QTest::newRow("function name upright, argument after a space") << "ln x"
                                                                   << "<mrow><mi>ln</mi><mi>x</mi></mrow>";
    QTest::newRow("matrix in square brackets")
        << "[[a,b],[c,d]]"
        << "<mrow><mo>[</mo><mtable><mtr><mtd><mi>a</mi></mtd><mtd><mi>b</mi></mtd></mtr>"
           "<mtr><mtd><mi>c</mi></mtd><mtd><mi>d</mi></mtd></mtr></mtable><mo>]</mo></mrow>";
    QTest::newRow("matrix in parentheses")
        << "((a,b),(c,d))"
        << "<mrow><mo>(</mo><mtable><mtr><mtd><mi>a</mi></mtd><mtd><mi>b</mi></mtd></mtr>"
           "<mtr><mtd><mi>c</mi></mtd><mtd><mi>d</mi></mtd></mtr></mtable><mo>)</mo></mrow>";
    QTest::newRow("quoted text") << "x \"si\" y"
                                 << "<mi>x</mi><mtext>si</mtext><mi>y</mi>";
    QTest::newRow("relations and arrows")
        << "a <= b >= c != d ~~ e prop f -> g => h <=> i"
        << "<mi>a</mi><mo>≤</mo><mi>b</mi><mo>≥</mo><mi>c</mi><mo>≠</mo><mi>d</mi><mo>≈</mo><mi>e</mi>"
           "<mo>∝</mo><mi>f</mi><mo>→</mo><mi>g</mi><mo>⇒</mo><mi>h</mi><mo>⇔</mo><mi>i</mi>";
    QTest::newRow("products")
        << "a xx b * c ** d +- e"
        << "<mi>a</mi><mo>×</mo><mi>b</mi><mo>⋅</mo><mi>c</mi><mo>∗</mo><mi>d</mi><mo>±</mo><mi>e</mi>";
    QTest::newRow("LaTeX operators")
        << "a \\times b \\cdot c \\leq d"
        << "<mi>a</mi><mo>×</mo><mi>b</mi><mo>⋅</mo><mi>c</mi><mo>≤</mo><mi>d</mi>";
    QTest::newRow("Greek: capitals upright, small italic")
        << "Delta alpha \\Omega"
        << "<mi mathvariant=\"normal\">Δ</mi><mi>α</mi><mi mathvariant=\"normal\">Ω</mi>";
    QTest::newRow("infinity, nabla, partial, degree") << "oo grad del deg"
                                                      << "<mo>∞</mo><mo>∇</mo><mo>∂</mo><mo>°</mo>";
    QTest::newRow("letters run as separate italic variables") << "mgh"
                                                              << "<mi>m</mi><mi>g</mi><mi>h</mi>";
    QTest::newRow("dt is d and t") << "int_0^T v(t) dt"
                                   << "<msubsup><mo>∫</mo><mn>0</mn><mi>T</mi></msubsup><mi>v</mi>"
                                      "<mrow><mo>(</mo><mi>t</mi><mo>)</mo></mrow><mi>d</mi><mi>t</mi>";
    QTest::newRow("word as a subscript label") << "v_moy"
                                               << "<msub><mi>v</mi><mi>moy</mi></msub>";
    QTest::newRow("index letters stay separate")
        << "a_ij"
        << "<msub><mi>a</mi><mrow><mi>i</mi><mi>j</mi></mrow></msub>";
    QTest::newRow("hat, bar, dot, ddot, tilde")
        << "hat x bar y dot z ddot u tilde w"
        << "<mover accent=\"true\"><mi>x</mi><mo>^</mo></mover><mover "
           "accent=\"true\"><mi>y</mi><mo>¯</mo></mover>"
           "<mover accent=\"true\"><mi>z</mi><mo>.</mo></mover><mover "
           "accent=\"true\"><mi>u</mi><mo>..</mo></mover>"
           "<mover accent=\"true\"><mi>w</mi><mo>~</mo></mover>";
    QTest::newRow("equilibrium constant")
        << "K = ([C]^c [D]^d)/([A]^a [B]^b)"
        << "<mi>K</mi><mo>=</mo><mfrac><mrow><msup><mrow><mo>[</mo><mi>C</mi><mo>]</mo></mrow><mi>c</mi></"
           "msup>"
           "<msup><mrow><mo>[</mo><mi>D</mi><mo>]</mo></mrow><mi>d</mi></msup></mrow>"
           "<mrow><msup><mrow><mo>[</mo><mi>A</mi><mo>]</mo></mrow><mi>a</mi></msup>"
           "<msup><mrow><mo>[</mo><mi>B</mi><mo>]</mo></mrow><mi>b</mi></msup></mrow></mfrac>";
}

void tst_MathParser::chemistry_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<QString>("expected");
    QTest::newRow("element symbols upright, counts as indices")
        << "\\ce{H2O}"
        << "<mrow><msub><mi mathvariant=\"normal\">H</mi><mn>2</mn></msub><mi "
           "mathvariant=\"normal\">O</mi></mrow>";
    QTest::newRow("ion: count and charge stacked")
        << "\\ce{SO4^2-}"
        << "<mrow><msubsup><mi>SO</mi><mn>4</mn><mrow><mn>2</mn><mo>−</mo></mrow></msubsup></mrow>";
    QTest::newRow("nuclide: prescripts ending at the symbol")
        << "\\ce{^{238}_{92}U}"
        << "<mrow><msubsup><mrow></mrow><mrow><mspace width=\"0.5em\"/><mn>92</mn></mrow><mn>238</mn>"
           "</msubsup><mi mathvariant=\"normal\">U</mi></mrow>";
    QTest::newRow("labels over and under, braced text as typed")
        << "\\ce{->[{chauffage}][Pt]}"
        << "<mrow><munderover><mo>→</mo><mi>Pt</mi><mtext>chauffage</mtext></munderover></mrow>";
    QTest::newRow("label read as chemistry")
        << "\\ce{<=>[+ H2O]}"
        << "<mrow><mover><mo>⇌</mo><mrow><mo>+</mo><msub><mi mathvariant=\"normal\">H</mi><mn>2</mn></msub>"
           "<mi mathvariant=\"normal\">O</mi></mrow></mover></mrow>";
    QTest::newRow("among the equation's own signs")
        << "E = \\ce{e-}"
        << "<mi>E</mi><mo>=</mo><mrow><msup><mi mathvariant=\"normal\">e</mi><mo>−</mo></msup></mrow>";
}

void tst_MathParser::chemistry()
{
    QFETCH(QString, linear);
    QFETCH(QString, expected);
    QCOMPARE(inner(linear), expected);
}

void tst_MathParser::mathml()
{
    QFETCH(QString, linear);
    QFETCH(QString, expected);
    QCOMPARE(inner(linear), expected);
}

void tst_MathParser::frenchRules_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<QString>("expected");
    QTest::newRow("decimal comma") << "9,81"
                                   << "<mn>9,81</mn>";
    QTest::newRow("comma and space separate") << "1, 2"
                                              << "<mn>1</mn><mo>,</mo><mn>2</mn>";
    QTest::newRow("comma before a letter separates") << "1,x"
                                                     << "<mn>1</mn><mo>,</mo><mi>x</mi>";
    QTest::newRow("unit after a number, middle dot, exponent")
        << "g = 9,81 m.s^-2"
        << "<mi>g</mi><mo>=</mo><mn>9,81</mn><mi mathvariant=\"normal\">m</mi><mo>⋅</mo>"
           "<msup><mi mathvariant=\"normal\">s</mi><mrow><mo>−</mo><mn>2</mn></mrow></msup>";
    QTest::newRow("star between units") << "3 kg*m"
                                        << "<mn>3</mn><mi>kg</mi><mo>⋅</mo><mi mathvariant=\"normal\">m</mi>";
    QTest::newRow("one-letter unit then variables is a product") << "2 g h"
                                                                 << "<mn>2</mn><mi>g</mi><mi>h</mi>";
    QTest::newRow("letters glued to a number are variables") << "2x"
                                                             << "<mn>2</mn><mi>x</mi>";
    QTest::newRow("degrees Celsius") << "20 °C"
                                     << "<mn>20</mn><mi>°C</mi>";
    QTest::newRow("matrix of numbers, commas and spaces")
        << "[[1, 2],[3, 4]]"
        << "<mrow><mo>[</mo><mtable><mtr><mtd><mn>1</mn></mtd><mtd><mn>2</mn></mtd></mtr>"
           "<mtr><mtd><mn>3</mn></mtd><mtd><mn>4</mn></mtd></mtr></mtable><mo>]</mo></mrow>";
    QTest::newRow("matrix of numbers, semicolons")
        << "[[1;2],[3;4]]"
        << "<mrow><mo>[</mo><mtable><mtr><mtd><mn>1</mn></mtd><mtd><mn>2</mn></mtd></mtr>"
           "<mtr><mtd><mn>3</mn></mtd><mtd><mn>4</mn></mtd></mtr></mtable><mo>]</mo></mrow>";
    QTest::newRow("matrix of decimals")
        << "[[1,5; 2],[3; 4,25]]"
        << "<mrow><mo>[</mo><mtable><mtr><mtd><mn>1,5</mn></mtd><mtd><mn>2</mn></mtd>"
           "</mtr><mtr><mtd><mn>3</mn></mtd><mtd><mn>4,25</mn></mtd></mtr></mtable>"
           "<mo>]</mo></mrow>";
}

void tst_MathParser::frenchRules()
{
    QFETCH(QString, linear);
    QFETCH(QString, expected);
    QCOMPARE(inner(linear), expected);
}

void tst_MathParser::badInput_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unclosed bracket shows as itself") << "(a+b"
                                                      << "<mo>(</mo><mi>a</mi><mo>+</mo><mi>b</mi>";
    QTest::newRow("stray closing bracket") << "a)"
                                           << "<mi>a</mi><mo>)</mo>";
    QTest::newRow("lone bar") << "|x"
                              << "<mo>|</mo><mi>x</mi>";
    QTest::newRow("fraction without denominator") << "a/"
                                                  << "<mfrac><mi>a</mi><mrow></mrow></mfrac>";
    QTest::newRow("slash first") << "/a"
                                 << "<mo>/</mo><mi>a</mi>";
    QTest::newRow("root without argument") << "sqrt"
                                           << "<msqrt></msqrt>";
    QTest::newRow("unknown LaTeX command as text") << "\\foo"
                                                   << "<mtext>foo</mtext>";
    QTest::newRow("unclosed quote runs to the end") << "\"abc"
                                                    << "<mtext>abc</mtext>";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_MathParser::badInput()
{
    QFETCH(QString, linear);
    QFETCH(QString, expected);
    QCOMPARE(inner(linear), expected);
}

void tst_MathParser::roundTrip_data()
{
    QTest::addColumn<QString>("linear");
    const char *const cases[] = {
        "v = (Delta x)/(Delta t)",
        "E_c = 1/2 m v^2",
        "vec(F) = m vec(a)",
        "v = sqrt(2 g h)",
        "x = int_0^T v(t) dt",
        "K = ([C]^c [D]^d)/([A]^a [B]^b)",
        "sum_(i=1)^n F_i = 0",
        "M = [[a,b],[c,d]]",
        "g = 9,81 m.s^-2",
        "lim_(x->0) sin(x)/x = 1",
        "root(3)(x^2) + abs(x - 1) - norm(vec(u))",
        "((a))/b + (a/b)/c + x^(a_i) + a^b^c",
        "[[1, 2],[3, 4]] + ((1;2),(3;4))",
        "\"si\" x > 0 quad \"alors\" x^2 > 0",
        "(a+b | c",
        "sum_(i[c,dn F_i = 0",
        "sqrt(x + vec(y",
        "_\\frac{/2 m",
        "root(3 x",
        "root}} sqrt) a",
        "root(:= 1 + x_(||a",
        "[B]^ int_[C]^v x^b_a_c",
        "c]]D]^ttt/[A]^a",
        "E_c = 1g/2 m",
        "lim_(|-],[>0)s\\sqrt[/x ",
        "x(:}norm:)^-T v 2)dtt",
        "sinEEEE t_tscriA sin oo",
        "|:x| + (x :) + {: a :}",
        "sum9_(ii=5)^fraci =1)^fracint_i = 0",
        "x^([A]^a) + x^[A]^a",
        "m.s^-2_( m",
        "(W A]_(B hat)^aint^b + v_moy^2",
        "__(c =sum_(i=(F)`= hm vecnorm(a1 0/ m",
        "x^|v)| + ||a]||",
        "ho\\frac{|)",
        "(v) \\frac{x^|v)",
        "vec(F%`=frac ^-ve a)",
        "lnormi + ln \"or\"",
        "lim_(|-{>>0)s in(x)/x",
        "E_sqrtc frac =`  _c =E_c =`  \"\"1/",
        "hat x bar(AB) ul(y) tilde z ddot r",
        "2x + 3 kg + 2 g h + 20 °C",
        "Δ α ω ∞",
        "sin^2 x + cos^2 x = 1",
        "e^(-t/tau) x_(n+1) 10^-3",
        "stackrel(a)(b) underset(c)(d) overset(e)(f)",
        "E = \\ce{^{238}_{92}U -> ^{234}_{90}Th + ^{4}_{2}He}",
        "K = ([\\ce{H3O+}][\\ce{A-}])/([\\ce{AH}]) + \\ce{SO4^2-}^2 + x_\\ce{H2O}",
        "\\ce{2H2 + O2 ->[{étincelle}][Pt] 2H2O} = \\ce{Ca^{2+",
        "\\ce{{{}} \\ce{} \\ce{<=>[+ H2O][]} 1/\\ce{NH4+}",
        "lim_(Δt->0) (Δx)/(Δt) + sum_(i=1)^n (a_i)/(2) + int_0^1 (dx)/(x)",
        " v= \xf3qrt(3 g /ul", // an invalid byte, read as U+FFFD
        "1 s^-M",
        // Empty operands at the depth limit, where other brackets show flat.
        "([([([([([([([([([([([([([([([([)/",
        "[([([([([([([([([([([([([([([([[]^",
    };
    for (const char *linear : cases)
        QTest::newRow(linear) << QString::fromUtf8(linear);
}

// The normalised text is what the program stores and shows again: it must read back the same.
void tst_MathParser::roundTrip()
{
    QFETCH(QString, linear);
    const Equation typed = Equation::fromLinear(linear);
    const QString normalized = typed.normalizedLinear();
    const Equation again = Equation::fromLinear(normalized);
    QVERIFY2(again.tree() == typed.tree(),
             qPrintable(normalized + u'\n' + typed.tree().dump() + u'\n' + again.tree().dump()));
    QCOMPARE(again.normalizedLinear(), normalized);
}

void tst_MathParser::hugeInputEndsQuickly_data()
{
    QTest::addColumn<QString>("linear");
    QTest::newRow("10 000 open brackets") << QString(10000, u'(');
    QTest::newRow("10 000 nested pairs") << QString(10000, u'(') + u'x' + QString(10000, u')');
    QTest::newRow("10 000 bars") << QString(10000, u'|');
    QTest::newRow("10 000 roots") << QStringLiteral("sqrt ").repeated(10000) + u'x';
    QTest::newRow("10 000 exponents") << QStringLiteral("x^").repeated(10000) + u'x';
    QTest::newRow("10 000 fractions") << QStringLiteral("a/").repeated(10000) + u'b';
    QTest::newRow("10 000 functions") << QStringLiteral("sin ").repeated(10000) + u'x';
    QTest::newRow("10 000 braces") << QStringLiteral("\\frac{").repeated(10000);
    QTest::newRow("100 kB of letters") << QString(100000, u'a');
    QTest::newRow("100 kB of formulas")
        << QStringLiteral("(a_i^2 + 9,81 m.s^-2)/[[1, 2],[3, 4]] ").repeated(2700);
    QTest::newRow("100 kB of digits and commas") << QStringLiteral("1,").repeated(50000);
    QTest::newRow("10 000 chemistry never closed") << QStringLiteral("\\ce{").repeated(10000);
    QTest::newRow("10 000 chemistry groups") << QStringLiteral("\\ce{H2O} + ").repeated(10000);
    QTest::newRow("100 kB of chemistry")
        << u"\\ce{" + QStringLiteral("2H2 + O2 ->[{étincelle}][Pt] 2H2O ; SO4^2- <=> ").repeated(2000) + u'}';
}

void tst_MathParser::hugeInputEndsQuickly()
{
    // Ending, within the test's time limit and without exhausting the stack, is the check; the
    // speed is bench/mathbench's business.
    QFETCH(QString, linear);
    const Equation equation = Equation::fromLinear(linear);
    const QString mathml = equation.mathml();
    const QString normalized = equation.normalizedLinear();
    QVERIFY(mathml.startsWith(QLatin1String("<math")));
    QVERIFY(!normalized.isEmpty() || linear.trimmed().isEmpty());
}

void tst_MathParser::copiesShareTheTree()
{
    const Equation first = Equation::fromLinear(QStringLiteral("1/2 m v^2"));
    const Equation copy = first; // NOLINT: the copy is the point
    QCOMPARE(&copy.tree(), &first.tree());
    QCOMPARE(copy.linear(), QStringLiteral("1/2 m v^2"));
    QVERIFY(Equation().isEmpty());
    QVERIFY(Equation::fromLinear(QStringLiteral("   ")).isEmpty());
}

QTEST_GUILESS_MAIN(tst_MathParser)
#include "tst_mathparser.moc"
