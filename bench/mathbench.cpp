// Equations: parse, layout and paint of the physics examples; run by hand, not by ctest.
//   mathbench      µs per equation for each step, and the bytes a parsed equation keeps
// Target: an editor with 1 000 equations lays them out in well under a second, and keeps
// their trees in a few hundred kilobytes.
#include "math/equation.h"
#include "math/mathfont.h"
#include "math/mathlayout.h"
#include "math/mathpainter.h"
#include "math/mathparser.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList examples = {
        QStringLiteral("1/2 m v^2"),           QStringLiteral("vec(F)"),
        QStringLiteral("sqrt(2 g h)"),         QStringLiteral("sum_(i=1)^n"),
        QStringLiteral("int_0^T v(t) dt"),     QStringLiteral("[[a,b],[c,d]]"),
        QStringLiteral("(Delta x)/(Delta t)"), QStringLiteral("K = ([C]^c [D]^d)/([A]^a [B]^b)"),
    };
    const std::shared_ptr<const MathFont> font = MathFont::defaultFont();
    out << "math font: " << font->familyName() << (font->hasMathTable() ? "" : " (no MATH table)") << "\n";
    out << qSetFieldWidth(36) << Qt::left << "equation" << qSetFieldWidth(10) << Qt::right << "parse µs"
        << "layout µs"
        << "paint µs"
        << "bytes" << qSetFieldWidth(0) << "\n";
    const int rounds = 2000;
    QImage image(400, 100, QImage::Format_ARGB32_Premultiplied);
    for (const QString &linear : examples) {
        QElapsedTimer timer;
        timer.start();
        MathNode tree;
        for (int i = 0; i < rounds; ++i)
            tree = MathParser::parse(linear);
        const double parse = timer.nsecsElapsed() / 1000.0 / rounds;

        timer.restart();
        MathBox box;
        for (int i = 0; i < rounds; ++i)
            box = MathLayout(*font, 16).layout(tree, MathStyle::Text);
        const double layout = timer.nsecsElapsed() / 1000.0 / rounds;

        QPainter painter(&image);
        timer.restart();
        for (int i = 0; i < rounds; ++i)
            MathPainter::paint(painter, box, *font, QPointF(10, 60), Qt::black);
        const double paint = timer.nsecsElapsed() / 1000.0 / rounds;
        painter.end();

        const qsizetype bytes = tree.memoryUsage() + linear.capacity() * 2 + 64; // + the shared header
        out << qSetFieldWidth(36) << Qt::left << linear << qSetFieldWidth(10) << Qt::right
            << QString::number(parse, 'f', 1) << QString::number(layout, 'f', 1)
            << QString::number(paint, 'f', 1) << bytes << qSetFieldWidth(0) << "\n";
    }
    return 0;
}
