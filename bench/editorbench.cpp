// Timings of the editor as a teacher meets it, offscreen: start-up, opening a long document,
// moving and typing in it, and the selection mirror. Run by hand, not by ctest:
//   editorbench [MB]        the generated exercise-like document of MB megabytes (default 10)
// Each figure is the median of several runs in this process.
#include "format/selectionmirror.h"
#include "mainwindowfixture.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "samplertf.h"
#include "scriptedplatform.h"
#include "shell/mainwindow.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace {

struct Window : MainWindowFixture
{
    Window() : MainWindowFixture(QRect(0, 0, 1280, 1024))
    {
        window->show();
        window->repaint();
    }
    QWidget *exo() { return window->exo().widget(); }
    // Paints what the editor shows now, as the next frame would.
    void paint()
    {
        auto *area = qobject_cast<QAbstractScrollArea *>(exo());
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (area)
            area->viewport()->repaint();
        else
            exo()->repaint();
    }
    SelectionMirror *mirror() { return window->findChild<SelectionMirror *>(); }
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// User and system time of every thread of the process: a worker thread's share (reading the
// dictionary) shows here even when a free core hides it from the wall clock.
double processorMs()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double timeMs(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e6;
}

void print(const char *what, double ms, const char *target)
{
    std::printf("%-44s %9.2f ms   (target %s)\n", what, ms, target);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const double megabytes = argc > 1 ? QByteArray(argv[1]).toDouble() : 10.0;
    if (megabytes <= 0) {
        std::fprintf(stderr, "usage: editorbench [MB]\n");
        return 2;
    }

    QList<double> startUp, startUpProcessor;
    for (int run = 0; run < 5; ++run) {
        const double before = processorMs();
        startUp << timeMs([] { Window w; });
        startUpProcessor << processorMs() - before;
    }
    print("start-up to the painted window", median(startUp), "250 ms");
    print("  its processor time, every thread", median(startUpProcessor), "-");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.rtf"));
    {
        QFile file(path);
        const QByteArray rtf = sampleRtf(qsizetype(megabytes * 1024 * 1024));
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
            std::fprintf(stderr, "cannot write the sample\n");
            return 1;
        }
    }
    std::printf("document: %.0f MB of generated exercises\n", megabytes);

    QList<double> open, openProcessor;
    std::unique_ptr<Window> w;
    for (int run = 0; run < 3; ++run) {
        w.reset();
        w = std::make_unique<Window>();
        const double before = processorMs();
        open << timeMs([&] {
            w->window->openFromCommandLine(path);
            w->paint();
        });
        openProcessor << processorMs() - before;
    }
    print("open to the painted first page", median(open), "1000 ms");
    print("  its processor time, every thread", median(openProcessor), "-");
    {
        rusage usage{};
        if (getrusage(RUSAGE_SELF, &usage) == 0)
            std::printf("%-44s %9.1f MB   (target 150 MB for 10 MB)\n", "peak memory of the process so far",
                        double(usage.ru_maxrss) / 1024.0);
    }

    {
        // The rest of the text is laid out in the background: how long, and the longest pause
        // it makes in the event loop (a keystroke waits at most that long).
        auto *edit = qobject_cast<QTextEdit *>(w->exo());
        QElapsedTimer total;
        total.start();
        QElapsedTimer gap;
        gap.start();
        double longest = 0;
        // One pass over the pending events at a time, without waiting for more: the gap between
        // passes is what the events took.
        while (edit && !edit->document()->lastBlock().layout()->lineCount() && total.elapsed() < 60000) {
            QApplication::processEvents(QEventLoop::AllEvents);
            longest = std::max(longest, double(gap.nsecsElapsed()) / 1e6);
            gap.start();
        }
        print("background layout of the whole text", double(total.nsecsElapsed()) / 1e6, "-");
        print("longest pause it makes", longest, "16 ms");
    }

    QWidget *exo = w->exo();
    RichTextControl &control = w->window->exo();
    QList<double> typedAtStart, caretMoves, mirrorCaret;
    for (int run = 0; run < 9; ++run) {
        caretMoves << timeMs([&] {
            QTest::keyClick(exo, Qt::Key_Right);
            w->paint();
        });
        if (SelectionMirror *mirror = w->mirror())
            mirrorCaret << timeMs([&] { mirror->maj(); });
        typedAtStart << timeMs([&] {
            QTest::keyClick(exo, Qt::Key_A);
            w->paint();
        });
    }
    print("caret move (key Right, painted)", median(caretMoves), "16 ms");
    print("mirror on a caret move", median(mirrorCaret), "2 ms");
    print("keystroke at the start (painted)", median(typedAtStart), "16 ms");
    QList<double> enterAtStart;
    for (int run = 0; run < 5; ++run)
        enterAtStart << timeMs([&] {
            QTest::keyClick(exo, Qt::Key_Return);
            w->paint();
        });
    print("Enter at the start, a new paragraph (painted)", median(enterAtStart), "16 ms");

    const double toEnd = timeMs([&] {
        QTest::keyClick(exo, Qt::Key_End, Qt::ControlModifier);
        w->paint();
    });
    print("Ctrl+End (painted)", toEnd, "-");

    QList<double> typedAtEnd;
    for (int run = 0; run < 9; ++run)
        typedAtEnd << timeMs([&] {
            QTest::keyClick(exo, Qt::Key_A);
            w->paint();
        });
    print("keystroke at the end (painted)", median(typedAtEnd), "16 ms");

    QList<double> selectAll, mirrorAll;
    for (int run = 0; run < 5; ++run) {
        control.setSelection({0, 0});
        selectAll << timeMs([&] {
            QTest::keyClick(exo, Qt::Key_A, Qt::ControlModifier);
            w->paint();
        });
        if (SelectionMirror *mirror = w->mirror())
            mirrorAll << timeMs([&] { mirror->maj(); });
    }
    std::printf("selection after Ctrl+A: %d of %d positions\n", control.selLength(), control.textLength());
    print("select all (Ctrl+A, mirror, painted)", median(selectAll), "-");
    print("mirror on a select-all", median(mirrorAll), "50 ms");
    w->fake.dropPendingAnswers();
    return 0;
}
