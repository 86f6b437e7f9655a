#include "math/equation.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

// What the text control and the exports get from an equation: metrics on the baseline, pictures,
// SVG, and the command-line tool's answers.
class tst_Equation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void metricsScaleWithSizeAndResolution_data();
    void metricsScaleWithSizeAndResolution();
    void drawnOnTheBaseline_data();
    void drawnOnTheBaseline();
    void imageIsTransparentAroundTheInk();
    void svgIsOneWellFormedDocument();
    void treesStayCompact_data();
    void treesStayCompact();
    void tool_data();
    void tool();
    void toolWritesPictures();
};

namespace {

// The rows of an image where some pixel is mostly opaque.
std::pair<int, int> inkRows(const QImage &image)
{
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return {top, bottom};
}

} // namespace

void tst_Equation::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_Equation::metricsScaleWithSizeAndResolution_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<MathStyle>("style");
    QTest::newRow("half m v squared, inline") << "1/2 m v^2" << MathStyle::Text;
    QTest::newRow("sum with limits, display") << "sum_(i=1)^n F_i" << MathStyle::Display;
    QTest::newRow("matrix") << "M = [[a,b],[c,d]]" << MathStyle::Text;
}

// The cache is keyed by size and style: a second size must not get the first one's boxes.
void tst_Equation::metricsScaleWithSizeAndResolution()
{
    QFETCH(QString, linear);
    QFETCH(MathStyle, style);
    const Equation equation = Equation::fromLinear(linear);
    const EquationMetrics small = equationMetrics(equation, 12, 96, style);
    const EquationMetrics large = equationMetrics(equation, 24, 96, style);
    const EquationMetrics printed = equationMetrics(equation, 12, 192, style);
    QVERIFY(small.width > 0 && small.ascent > 0);
    QVERIFY(qAbs(large.width - 2 * small.width) < 0.01);
    QVERIFY(qAbs(large.ascent - 2 * small.ascent) < 0.01);
    QVERIFY(qAbs(printed.descent - large.descent) < 0.01);
    const EquationMetrics again = equationMetrics(equation, 12, 96, style);
    QCOMPARE(again.width, small.width);
    const EquationMetrics otherStyle =
        equationMetrics(equation, 12, 96, style == MathStyle::Text ? MathStyle::Display : MathStyle::Text);
    if (linear.contains(u'/') || linear.contains(QLatin1String("sum")))
        QVERIFY(otherStyle.ascent != small.ascent);
}

void tst_Equation::drawnOnTheBaseline_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<bool>("descends");
    QTest::newRow("x sits on the baseline") << "x" << false;
    QTest::newRow("a fraction reaches below") << "a/b" << true;
    QTest::newRow("a subscript reaches below") << "F_i" << true;
}

void tst_Equation::drawnOnTheBaseline()
{
    QFETCH(QString, linear);
    QFETCH(bool, descends);
    const Equation equation = Equation::fromLinear(linear);
    const EquationMetrics metrics = equationMetrics(equation, 24, 96);
    const int baseline = 40;
    QImage image(int(metrics.width) + 20, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintEquation(painter, QPointF(10, baseline), equation, 24, 96, Qt::black);
    painter.end();
    const auto [top, bottom] = inkRows(image);
    QVERIFY(top >= baseline - metrics.ascent - 1);
    QVERIFY(bottom <= baseline + metrics.descent + 1);
    if (descends)
        QVERIFY2(bottom > baseline + 1, qPrintable(QString::number(bottom)));
    else
        QVERIFY2(qAbs(bottom - baseline) <= 1, qPrintable(QString::number(bottom)));
}

void tst_Equation::imageIsTransparentAroundTheInk()
{
    const Equation equation = Equation::fromLinear(QStringLiteral("v = sqrt(2 g h)"));
    const QImage image = equationImage(equation, 12, 2, Qt::red);
    const EquationMetrics metrics = equationMetrics(equation, 12, 192);
    QVERIFY(image.hasAlphaChannel());
    QVERIFY(qAbs(image.width() - metrics.width) <= 3);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    const auto [top, bottom] = inkRows(image);
    QVERIFY(top >= 0 && bottom > top);
    QVERIFY(!equationImage(Equation(), 12, 1, Qt::black).isNull());
}

void tst_Equation::svgIsOneWellFormedDocument()
{
    const QByteArray svg = equationSvg(Equation::fromLinear(QStringLiteral("K = ([C]^c)/([A]^a)")), 12);
    QXmlStreamReader xml(svg);
    int paths = 0;
    int rects = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            paths += xml.name() == QLatin1String("path");
            rects += xml.name() == QLatin1String("rect");
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(paths >= 8); // K = [ C ] c [ A ] a, at least
    QCOMPARE(rects, 1);  // the fraction bar
}

void tst_Equation::treesStayCompact_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<int>("maxBytes");
    QTest::newRow("half m v squared") << "1/2 m v^2" << 1024;
    QTest::newRow("equilibrium constant") << "K = ([C]^c [D]^d)/([A]^a [B]^b)" << 3072;
}

// A document may hold a thousand equations: their trees must stay in the kilobyte range.
void tst_Equation::treesStayCompact()
{
    QFETCH(QString, linear);
    QFETCH(int, maxBytes);
    const qsizetype bytes = Equation::fromLinear(linear).tree().memoryUsage();
    QVERIFY2(bytes <= maxBytes, qPrintable(QString::number(bytes)));
}

void tst_Equation::tool_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("MathML of a formula starting with a minus")
        << QStringList{"--mathml", "-2/3"}
        << "<math "
           "xmlns=\"http://www.w3.org/1998/Math/MathML\"><mo>−</mo><mfrac><mn>2</mn><mn>3</mn></mfrac></"
           "math>\n";
    QTest::newRow("MathML of an arrow alone")
        << QStringList{"--mathml", "->"}
        << "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mo>→</mo></math>\n";
    QTest::newRow("normalised text") << QStringList{"--linear", "v=(Delta x)/(Delta t)"}
                                     << "v = (Delta x)/(Delta t)\n";
    QTest::newRow("units and LaTeX names")
        << QStringList{"--linear", "g=9,81 m*s^-2 \\times \\alpha"} << "g = 9,81 m.s^-2 xx alpha\n";
}

void tst_Equation::tool()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QProcess tool;
    tool.start(QStringLiteral(VELIGRAM_TOOL), QStringList{"math"} + arguments);
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), expected);
}

void tst_Equation::toolWritesPictures()
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("e.png"));
    const QString svg = dir.filePath(QStringLiteral("e.svg"));
    QProcess tool;
    tool.start(QStringLiteral(VELIGRAM_TOOL),
               {"math", "--png", png, "--size", "12", "--scale", "2", "--display", "sum_(i=1)^n F_i = 0"});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    const QImage image(png);
    QVERIFY(image.width() > 40 && image.height() > 40);
    tool.start(QStringLiteral(VELIGRAM_TOOL), {"math", "--svg", svg, "1/2 m v^2"});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<svg"));
}

QTEST_MAIN(tst_Equation)
#include "tst_equation.moc"
