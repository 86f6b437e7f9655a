// Equations in a long text, offscreen: opening a 1 MB text that holds 1 000 equations against the
// same text with plain words in their place, scrolling through it a frame at a time, and the
// memory an equation costs. Run by hand, not by ctest:
//   equationbench [EQUATIONS]     (default 1000, about 1 kB of text around each)
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

const char *const kEquations[] = {
    "1/2 m v^2",       "vec(F) = m vec(a)",      "v = sqrt(2 g h)",     "sum_(i=1)^n F_i = 0",
    "int_0^T v(t) dt", "[[a,b],[c,d]]",          "(Delta x)/(Delta t)", "K = ([C]^c [D]^d)/([A]^a [B]^b)",
    "g = 9,81 m.s^-2", "lim_(x->0) sin(x)/x = 1"};

double timeMs(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Resident memory now, from the kernel's own count.
double residentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// The text: paragraphs of about 1 kB, each with one equation (or its linear text as words).
QByteArray textWith(int count, bool equations)
{
    auto text = createRichTextControl();
    const QByteArray filler =
        QByteArray("Un mobile parcourt la distance d pendant la duree t; on mesure sa vitesse. ")
            .repeated(13);
    for (int i = 0; i < count; ++i) {
        const char *equation = kEquations[std::size_t(i) % std::size(kEquations)];
        text->setSelStart(text->textLength());
        text->setSelText(filler.left(filler.size() / 2));
        if (equations)
            text->insertEquation(QString::fromLatin1(equation));
        else
            text->setSelText(equation);
        text->setSelText(filler.mid(filler.size() / 2) + "\r");
    }
    return text->textRtf();
}

struct Opened
{
    double ms = 0;
    std::unique_ptr<RichTextControl> control;
};

Opened open(const QByteArray &rtf)
{
    Opened opened;
    opened.control = createRichTextControl();
    QWidget *view = opened.control->widget();
    view->resize(800, 600);
    view->show();
    if (!QTest::qWaitForWindowExposed(view))
        std::fprintf(stderr, "the view did not show\n");
    opened.ms = timeMs([&] {
        opened.control->setTextRtf(rtf);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        view->repaint();
    });
    return opened;
}

// Scrolled through once, half a page a frame: every paragraph typeset, every equation drawn.
QList<double> scrollThrough(RichTextControl &control)
{
    QList<double> frames;
    auto *area = qobject_cast<QAbstractScrollArea *>(control.widget());
    if (!area)
        return frames;
    QScrollBar *bar = area->verticalScrollBar();
    const int step = qMax(1, area->viewport()->height() / 2);
    // The layout typesets lazily and the scroll range grows as it goes: a frame is the events
    // that come in (the background typesetting among them) and the repaint.
    for (int value = 0; value <= bar->maximum() && frames.size() < 5000; value += step) {
        frames << timeMs([&] {
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            bar->setValue(value);
            area->viewport()->repaint();
        });
    }
    return frames;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: equationbench [EQUATIONS]\n");
        return 2;
    }
    const QByteArray withEquations = textWith(count, true);
    const QByteArray withWords = textWith(count, false);
    std::printf("text: %d paragraphs; RTF %.2f MB with equations (pictures included), %.2f MB with words\n",
                count, double(withEquations.size()) / 1048576.0, double(withWords.size()) / 1048576.0);

    QList<double> plain, equations;
    for (int run = 0; run < 3; ++run) {
        plain << open(withWords).ms;
        equations << open(withEquations).ms;
    }
    std::printf("%-46s %9.1f ms\n", "open to the painted first page, words", median(plain));
    std::printf("%-46s %9.1f ms   (target: at most 300 ms more)\n",
                "open to the painted first page, equations", median(equations));

    const double start = residentMb();
    Opened words = open(withWords);
    scrollThrough(*words.control);
    const double wordsMb = residentMb() - start;
    words.control.reset();
    const double again = residentMb();
    Opened opened = open(withEquations);
    QList<double> frames = scrollThrough(*opened.control);
    const double equationsMb = residentMb() - again;
    std::sort(frames.begin(), frames.end());
    std::printf("%-46s %9.2f ms   (target 16 ms)\n", "scrolling, median frame", median(frames));
    std::printf("%-46s %9.2f ms\n", "scrolling, slowest frame", frames.isEmpty() ? 0.0 : frames.last());
    std::printf("%-46s %9.1f kB\n", "memory per equation (resident, vs words)",
                (equationsMb - wordsMb) * 1024.0 / count);
    return 0;
}
