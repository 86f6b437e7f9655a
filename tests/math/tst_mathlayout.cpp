#include "math/equation.h"
#include "math/mathfont.h"
#include "math/mathlayout.h"
#include "math/mathpainter.h"
#include "math/mathparser.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

// The layout measured against the MATH constants it claims to follow, with the program's math
// font at 12 pt on a 96 dpi screen (16 pixels per em).
class tst_MathLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fractionBarOnAxis_data();
    void fractionBarOnAxis();
    void superscriptShift_data();
    void superscriptShift();
    void radicalGap_data();
    void radicalGap();
    void vectorArrowSpansItsBase_data();
    void vectorArrowSpansItsBase();
    void reactionArrowCoversItsLabels_data();
    void reactionArrowCoversItsLabels();
    void limitsBesideInlineAboveInDisplay_data();
    void limitsBesideInlineAboveInDisplay();
    void delimitersCoverTheirContent_data();
    void delimitersCoverTheirContent();
    void spacingBetweenAtoms_data();
    void spacingBetweenAtoms();
    void lettersItalicNamesAndUnitsUpright_data();
    void lettersItalicNamesAndUnitsUpright();
    void hugeInputLaysOutQuickly_data();
    void hugeInputLaysOutQuickly();
    void withoutMathFont();
    void paintingFollowsTheTransform();

private:
    std::shared_ptr<const MathFont> m_font;
};

namespace {

constexpr qreal em = 16; // 12 pt at 96 dpi

MathBox layOut(const MathFont &font, const QString &linear, MathStyle style = MathStyle::Text)
{
    return MathLayout(font, em).layout(MathParser::parse(linear), style);
}

struct Ink
{
    qreal left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
};

Ink inkOf(const MathFont &font, const MathGlyph &g)
{
    const MathFont::GlyphMetrics m = font.metrics(g.id);
    const qreal scale = g.size / font.unitsPerEm();
    return {g.x + m.left * scale, g.x + m.right * scale, g.y - m.ascent * scale, g.y + m.descent * scale};
}

Ink inkOf(const MathFont &font, const QList<MathGlyph> &glyphs)
{
    Ink all;
    for (const MathGlyph &g : glyphs) {
        const Ink ink = inkOf(font, g);
        all = {std::min(all.left, ink.left), std::max(all.right, ink.right), std::min(all.top, ink.top),
               std::max(all.bottom, ink.bottom)};
    }
    return all;
}

// The leftmost sign, whole: a grown bracket or radical is a stack of parts at one x.
QList<MathGlyph> stackedAtLeft(const QList<MathGlyph> &glyphs)
{
    QList<MathGlyph> stack;
    for (const MathGlyph &g : glyphs) {
        if (qAbs(g.x - glyphs.first().x) < 0.01)
            stack.append(g);
    }
    return stack;
}

} // namespace

void tst_MathLayout::initTestCase()
{
    m_font = MathFont::defaultFont();
    QVERIFY2(m_font->hasMathTable(), "fonts-texgyre-math or fonts-stix must be installed");
}

void tst_MathLayout::fractionBarOnAxis_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<MathStyle>("style");
    QTest::newRow("a/b inline") << "a/b" << MathStyle::Text;
    QTest::newRow("a/b display") << "a/b" << MathStyle::Display;
    QTest::newRow("tall numerator") << "(x^2)/y" << MathStyle::Text;
    QTest::newRow("deep denominator") << "1/(g_i)" << MathStyle::Display;
}

void tst_MathLayout::fractionBarOnAxis()
{
    QFETCH(QString, linear);
    QFETCH(MathStyle, style);
    const MathConstants &c = m_font->constants();
    const MathLayout layout(*m_font, em);
    const MathBox box = layout.layout(MathParser::parse(linear), style);
    QCOMPARE(box.rules.size(), 1);
    const QRectF bar = box.rules.first();
    QVERIFY(qAbs(-bar.center().y() - layout.pixels(c.axisHeight)) < 0.01);
    QVERIFY(qAbs(bar.height() - layout.pixels(c.fractionRuleThickness)) < 0.01);
    // Numerator and denominator clear the bar by at least the minimum gaps.
    const qreal gap = layout.pixels(style == MathStyle::Display ? c.fractionNumDisplayStyleGapMin
                                                                : c.fractionNumeratorGapMin);
    const Ink all = inkOf(*m_font, box.glyphs);
    QVERIFY(bar.top() - all.top > gap);
    QVERIFY(all.bottom - bar.bottom() > 0);
}

void tst_MathLayout::superscriptShift_data()
{
    QTest::addColumn<QString>("linear");
    QTest::newRow("x^2") << "x^2";
    QTest::newRow("v^2 after a fraction") << "1/2 m v^2";
    QTest::newRow("exponent on a bracket") << "[C]^c";
    QTest::newRow("x_i^2") << "x_i^2";
}

void tst_MathLayout::superscriptShift()
{
    QFETCH(QString, linear);
    const MathLayout layout(*m_font, em);
    const MathBox box = layout.layout(MathParser::parse(linear), MathStyle::Text);
    // The script is the last glyph drawn smaller than the text size, above the baseline.
    const MathGlyph *script = nullptr;
    for (const MathGlyph &g : box.glyphs) {
        if (g.size < em && g.y < 0)
            script = &g;
    }
    QVERIFY(script);
    QVERIFY2(-script->y >= layout.pixels(m_font->constants().superscriptShiftUp) - 0.01,
             qPrintable(QString::number(-script->y)));
}

void tst_MathLayout::radicalGap_data()
{
    QTest::addColumn<QString>("radicand");
    QTest::addColumn<MathStyle>("style");
    QTest::newRow("x inline") << "x" << MathStyle::Text;
    QTest::newRow("2 g h inline") << "2 g h" << MathStyle::Text;
    QTest::newRow("fraction display") << "a/b" << MathStyle::Display;
    QTest::newRow("tall matrix") << "[[a],[b],[c]]" << MathStyle::Text;
}

void tst_MathLayout::radicalGap()
{
    QFETCH(QString, radicand);
    QFETCH(MathStyle, style);
    const MathConstants &c = m_font->constants();
    const MathLayout layout(*m_font, em);
    const MathBox alone = layout.layout(MathParser::parse(radicand), style);
    const MathBox root = layout.layout(MathParser::parse(QStringLiteral("sqrt(") + radicand + u')'), style);
    QRectF rule = root.rules.first(); // the overbar is the highest rule
    for (const QRectF &r : root.rules) {
        if (r.top() < rule.top())
            rule = r;
    }
    const qreal gap =
        layout.pixels(style == MathStyle::Display ? c.radicalDisplayStyleVerticalGap : c.radicalVerticalGap);
    QVERIFY2(-rule.bottom() - alone.ascent >= gap - 0.01,
             qPrintable(QString::number(-rule.bottom() - alone.ascent)));
    QVERIFY(qAbs(rule.height() - layout.pixels(c.radicalRuleThickness)) < 0.01);
    // The sign reaches down to the radicand's depth.
    const Ink sign = inkOf(*m_font, stackedAtLeft(root.glyphs));
    QVERIFY(sign.bottom >= alone.descent - 0.5);
    QVERIFY(sign.top <= rule.top() + 0.5);
}

void tst_MathLayout::vectorArrowSpansItsBase_data()
{
    QTest::addColumn<QString>("base");
    QTest::newRow("AB") << "AB";
    QTest::newRow("OM") << "OM";
    QTest::newRow("F_1 F_2") << "F_1 F_2";
}

void tst_MathLayout::vectorArrowSpansItsBase()
{
    QFETCH(QString, base);
    const MathBox alone = layOut(*m_font, base);
    const MathBox vector = layOut(*m_font, QStringLiteral("vec(") + base + u')');
    const QList<MathGlyph> arrow = vector.glyphs.mid(alone.glyphs.size());
    QVERIFY(!arrow.isEmpty());
    const Ink arrowInk = inkOf(*m_font, arrow);
    const Ink baseInk = inkOf(*m_font, alone.glyphs);
    QVERIFY2(
        arrowInk.right - arrowInk.left >= (baseInk.right - baseInk.left) * 0.9,
        qPrintable(
            QStringLiteral("%1 < %2").arg(arrowInk.right - arrowInk.left).arg(baseInk.right - baseInk.left)));
    QVERIFY(arrowInk.bottom <= baseInk.top); // above the letters, not through them
}

void tst_MathLayout::reactionArrowCoversItsLabels_data()
{
    QTest::addColumn<QString>("linear");
    QTest::newRow("long label over ->") << "\\ce{->[{chauffage au reflux}]}";
    QTest::newRow("labels over and under <=>") << "\\ce{<=>[{catalyseur}][{450 °C}]}";
    QTest::newRow("label under <-") << "\\ce{<-[][{lumière intense}]}";
    QTest::newRow("formula over <-->") << "\\ce{<-->[+ H2O + CO2 + NaCl]}";
}

void tst_MathLayout::reactionArrowCoversItsLabels()
{
    QFETCH(QString, linear);
    const MathBox box = layOut(*m_font, linear);
    // The arrow's pieces sit on the baseline; the labels above or below it.
    QList<MathGlyph> arrow;
    QList<MathGlyph> labels;
    for (const MathGlyph &g : box.glyphs)
        (qAbs(g.y) < 0.01 ? arrow : labels).append(g);
    QVERIFY(!arrow.isEmpty());
    QVERIFY(!labels.isEmpty());
    const Ink arrowInk = inkOf(*m_font, arrow);
    const Ink labelInk = inkOf(*m_font, labels);
    QVERIFY2(arrowInk.left <= labelInk.left && arrowInk.right >= labelInk.right,
             qPrintable(QStringLiteral("arrow %1..%2, labels %3..%4")
                            .arg(arrowInk.left)
                            .arg(arrowInk.right)
                            .arg(labelInk.left)
                            .arg(labelInk.right)));
}

void tst_MathLayout::limitsBesideInlineAboveInDisplay_data()
{
    QTest::addColumn<QString>("linear");
    QTest::newRow("sum") << "sum_(i=1)^n";
    QTest::newRow("prod") << "prod_(k=0)^N";
    QTest::newRow("lim") << "lim_(x->0)";
}

void tst_MathLayout::limitsBesideInlineAboveInDisplay()
{
    QFETCH(QString, linear);
    for (const MathStyle style : {MathStyle::Text, MathStyle::Display}) {
        const MathBox box = layOut(*m_font, linear, style);
        QList<MathGlyph> base;
        QList<MathGlyph> limits;
        for (const MathGlyph &g : box.glyphs)
            (g.size < em ? limits : base).append(g);
        const Ink op = inkOf(*m_font, base);
        const Ink scripts = inkOf(*m_font, limits);
        if (style == MathStyle::Text) {
            QVERIFY2(scripts.left >= op.right - 1, "inline: the limits follow the operator");
        } else {
            QVERIFY2(scripts.left < op.right && scripts.right > op.left,
                     "display: the limits are centred on it");
            QVERIFY(scripts.bottom > op.bottom); // something below it
        }
    }
}

void tst_MathLayout::delimitersCoverTheirContent_data()
{
    QTest::addColumn<QString>("linear");
    QTest::newRow("matrix 2 x 2") << "[[a,b],[c,d]]";
    QTest::newRow("matrix 3 x 1") << "((1),(2),(3))";
    QTest::newRow("fraction in parentheses") << "((a/b)/(c/d))";
}

void tst_MathLayout::delimitersCoverTheirContent()
{
    QFETCH(QString, linear);
    const MathBox box = layOut(*m_font, linear, MathStyle::Display);
    const Ink bracket = inkOf(*m_font, stackedAtLeft(box.glyphs));
    QList<MathGlyph> inside;
    for (const MathGlyph &g : box.glyphs) {
        if (g.x > bracket.right)
            inside.append(g);
    }
    const Ink content = inkOf(*m_font, inside);
    QVERIFY2(
        bracket.bottom - bracket.top >= 0.9 * (content.bottom - content.top),
        qPrintable(
            QStringLiteral("%1 < %2").arg(bracket.bottom - bracket.top).arg(content.bottom - content.top)));
}

void tst_MathLayout::spacingBetweenAtoms_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<int>("glyph");   // the glyph after the space
    QTest::addColumn<qreal>("space"); // in mu (1/18 em)
    QTest::newRow("binary plus: medium") << "1+2" << 1 << 4.0;
    QTest::newRow("relation: thick") << "1=2" << 1 << 5.0;
    QTest::newRow("unary minus: none") << "-2" << 1 << 0.0;
    QTest::newRow("minus after a relation: none") << "x=-2" << 3 << 0.0;
    QTest::newRow("comma: thin after") << "1, 2" << 2 << 3.0;
    QTest::newRow("number and unit: thin") << "3 kg" << 1 << 3.0;
    QTest::newRow("unit dot: none") << "3 m.s" << 2 << 0.0;
    QTest::newRow("quoted word: a word space") << "1 \"si\"" << 1 << 4.5; // Termes's space: 250 units
}

void tst_MathLayout::spacingBetweenAtoms()
{
    QFETCH(QString, linear);
    QFETCH(int, glyph);
    QFETCH(qreal, space);
    const MathBox box = layOut(*m_font, linear);
    QVERIFY(box.glyphs.size() > glyph);
    const MathGlyph &before = box.glyphs.at(glyph - 1);
    const qreal end = before.x + m_font->metrics(before.id).advance * em / m_font->unitsPerEm();
    QVERIFY2(qAbs(box.glyphs.at(glyph).x - end - space * em / 18) < 0.01,
             qPrintable(QString::number((box.glyphs.at(glyph).x - end) * 18 / em)));
}

void tst_MathLayout::lettersItalicNamesAndUnitsUpright_data()
{
    QTest::addColumn<QString>("linear");
    QTest::addColumn<int>("glyph");
    QTest::addColumn<uint>("character");
    QTest::newRow("variable x: math italic") << "x" << 0 << uint(0x1D465);
    QTest::newRow("h: Planck's italic h") << "h" << 0 << uint(0x210E);
    QTest::newRow("alpha: italic") << "alpha" << 0 << uint(0x1D6FC);
    QTest::newRow("Delta: upright") << "Delta" << 0 << uint(0x394);
    QTest::newRow("sin: upright") << "sin x" << 0 << uint('s');
    QTest::newRow("unit m: upright") << "9,81 m" << 4 << uint('m');
    QTest::newRow("product m v: italic") << "m v" << 0 << uint(0x1D45A);
    QTest::newRow("decimal comma in the number") << "9,81" << 1 << uint(',');
}

void tst_MathLayout::lettersItalicNamesAndUnitsUpright()
{
    QFETCH(QString, linear);
    QFETCH(int, glyph);
    QFETCH(uint, character);
    const MathBox box = layOut(*m_font, linear);
    QVERIFY(box.glyphs.size() > glyph);
    QCOMPARE(box.glyphs.at(glyph).id, m_font->glyph(character));
}

void tst_MathLayout::hugeInputLaysOutQuickly_data()
{
    QTest::addColumn<QString>("linear");
    QTest::newRow("10 000 nested pairs") << QString(10000, u'(') + u'x' + QString(10000, u')');
    QTest::newRow("functions nested to the cap") << QStringLiteral("sin ").repeated(10000) + u'x';
    QTest::newRow("roots nested to the cap") << QStringLiteral("sqrt ").repeated(10000) + u'x';
    QTest::newRow("fractions nested to the cap") << QStringLiteral("(a/").repeated(10000) + u'b';
    QTest::newRow("exponents nested to the cap") << QStringLiteral("x^").repeated(10000) + u'x';
    QTest::newRow("100 kB of formulas")
        << QStringLiteral("(a_i^2 + 9,81 m.s^-2)/[[1, 2],[3, 4]] ").repeated(2700);
}

// Nesting is capped by the reader; the layout must not cost more than once per node on top.
void tst_MathLayout::hugeInputLaysOutQuickly()
{
    // Ending at all, within the test's time limit and without exhausting the stack, is the check;
    // how fast is bench/mathbench's business (a timed test fails on a loaded or instrumented run).
    QFETCH(QString, linear);
    const MathBox box = layOut(*m_font, linear, MathStyle::Display);
    QVERIFY(box.width > 0);
}

// Without any math font the equation still lays out and draws, with approximate constants.
void tst_MathLayout::withoutMathFont()
{
    const auto plain = MathFont::load({QStringLiteral("No Such Font For Veligram")});
    QVERIFY(plain->constants().axisHeight > 0);
    QVERIFY(plain->constants().fractionRuleThickness > 0);
    QVERIFY(plain->constants().scriptPercentScaleDown > 0);
    for (const char *linear :
         {"v = (Delta x)/(Delta t)", "sqrt(2 g h)", "vec(AB)", "[[a,b],[c,d]]", "sum_(i=1)^n"}) {
        const MathBox box = layOut(*plain, QString::fromUtf8(linear), MathStyle::Display);
        QVERIFY2(box.width > 0 && box.ascent > 0, linear);
        QImage image(int(box.width) + 2, int(box.ascent + box.descent) + 2,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        MathPainter::paint(painter, box, *plain, QPointF(1, 1 + box.ascent), Qt::black);
    }
}

void tst_MathLayout::paintingFollowsTheTransform()
{
    const Equation equation = Equation::fromLinear(QStringLiteral("1/2 m v^2"));
    const EquationMetrics metrics = equationMetrics(equation, 12, 96);
    const auto inkWidth = [&](qreal zoom) {
        QImage image(
            QSize(int(metrics.width * zoom) + 20, int((metrics.ascent + metrics.descent) * zoom) + 20),
            QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.scale(zoom, zoom);
        paintEquation(painter, QPointF(2, 2 + metrics.ascent), equation, 12, 96, Qt::black);
        painter.end();
        int left = image.width();
        int right = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) > 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return qreal(right - left);
    };
    const qreal once = inkWidth(1);
    const qreal twice = inkWidth(2);
    QVERIFY(once > 10);
    QVERIFY2(qAbs(twice / once - 2) < 0.15, qPrintable(QStringLiteral("%1 / %2").arg(twice).arg(once)));
}

QTEST_MAIN(tst_MathLayout)
#include "tst_mathlayout.moc"
