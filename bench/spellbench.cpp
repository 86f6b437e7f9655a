// Spell checking in the editor offscreen, with the French dictionary: the first page checked
// after opening, the background pass over the rest, keystrokes with checking on and off, and
// memory. Run by hand, not by ctest:
//   spellbench [MB]        the generated exercise-like document of MB megabytes (default 10)
#include "mainwindowfixture.h"
#include "richtext/richtextcontrol.h"
#include "samplertf.h"
#include "spell/dictionarylocator.h"
#include "spell/hunspellengine.h"
#include "spell/spellchecker.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <time.h>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

double timeMs(const std::function<void()> &step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return double(clock.nsecsElapsed()) / 1e6;
}

void print(const char *what, double ms, const char *target)
{
    std::printf("%-52s %9.1f ms   (target %s)\n", what, ms, target);
}

double peakMb()
{
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? double(usage.ru_maxrss) / 1024.0 : 0;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void paint(QWidget *exo)
{
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(exo))
        area->viewport()->repaint();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int megabytes = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    const double before = peakMb();
    const auto files = DictionaryLocator::findFrench(DictionaryLocator::searchFolders());
    if (!files) {
        std::printf("no French dictionary: install hunspell-fr\n");
        return 1;
    }
    std::unique_ptr<HunspellEngine> engine;
    print("loading the French dictionary", timeMs([&] { engine = HunspellEngine::open(*files); }), "-");
    std::printf("%-52s %9.1f MB\n", "peak memory, dictionary loaded (process)", peakMb());
    std::printf("%-52s %9.1f MB\n", "of which the dictionary", peakMb() - before);
    engine.reset();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exercice.rtf"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    out.write(sampleRtf(qsizetype(megabytes) * 1024 * 1024));
    out.close();

    MainWindowFixture w(QRect(0, 0, 1280, 1024));
    w.window->show();
    w.window->repaint();
    QWidget *exo = w.exo().widget();
    auto *checker = w.exo().findChild<SpellChecker *>();
    QAction *option = w.window->command(QStringLiteral("checkSpelling"));
    if (!checker || !option->isChecked()) {
        std::printf("checking is not on\n");
        return 1;
    }

    w.window->openFromCommandLine(path);
    paint(exo);
    // From the first paint until every paragraph on screen is checked and painted again.
    const TextRange visible = w.exo().visibleParagraphs();
    QElapsedTimer sinceFirstPaint;
    sinceFirstPaint.start();
    const auto screenChecked = [&] {
        for (int i = visible.start; i < visible.end(); ++i)
            if (!checker->isChecked(i))
                return false;
        return true;
    };
    while (!screenChecked() && sinceFirstPaint.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents);
    paint(exo);
    print("first page checked and underlined, after its paint", double(sinceFirstPaint.nsecsElapsed()) / 1e6,
          "50 ms");

    {
        QElapsedTimer total;
        total.start();
        QElapsedTimer gap;
        gap.start();
        double longest = 0;
        const qint64 scannedBefore = checker->wordsScanned();
        while (!checker->isComplete() && total.elapsed() < 600000) {
            QApplication::processEvents(QEventLoop::AllEvents);
            longest = std::max(longest, double(gap.nsecsElapsed()) / 1e6);
            gap.start();
        }
        const double ms = double(total.nsecsElapsed()) / 1e6;
        print("whole text checked in the background", ms, "-");
        print("longest pause of the event loop meanwhile", longest, "16 ms");
        const double words = double(checker->wordsScanned() - scannedBefore);
        std::printf("%-52s %9.0f words/s   (%.0f words, %lld asked of Hunspell)\n",
                    "words checked per second", words / (ms / 1000.0), words,
                    static_cast<long long>(checker->wordsChecked()));
    }
    {
        // The checker's own share of those pauses: its slices, run one after the other.
        checker->recheckAll();
        QList<double> slices;
        QList<double> cpu;
        bool more = true;
        while (more) {
            const double before = threadCpuMs();
            slices << timeMs([&] { more = checker->checkSlice(); });
            cpu << threadCpuMs() - before;
        }
        print("longest checking slice, whole text again", *std::max_element(slices.begin(), slices.end()),
              "8 ms");
        print("median checking slice", median(slices), "-");
        // On a loaded machine the wall clock also counts the time other processes ran.
        print("longest checking slice, processor time of the thread",
              *std::max_element(cpu.begin(), cpu.end()), "8 ms");
    }
    std::printf("%-52s %9.1f MB\n", "peak memory of the process so far", peakMb());

    const auto keystrokes = [&](bool atEnd) {
        QList<double> times;
        QTest::keyClick(exo, atEnd ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
        paint(exo);
        for (int run = 0; run < 9; ++run)
            times << timeMs([&] {
                QTest::keyClick(exo, Qt::Key_A);
                paint(exo);
            });
        return median(times);
    };
    const double startOn = keystrokes(false);
    const double endOn = keystrokes(true);
    option->trigger(); // off
    const double startOff = keystrokes(false);
    const double endOff = keystrokes(true);
    option->trigger(); // on again, as it was: the setting is kept
    print("keystroke at the start, checking on (painted)", startOn, "16 ms");
    print("keystroke at the start, checking off (painted)", startOff, "-");
    print("  difference", startOn - startOff, "2 ms");
    print("keystroke at the end, checking on (painted)", endOn, "16 ms");
    print("keystroke at the end, checking off (painted)", endOff, "-");
    print("  difference", endOn - endOff, "2 ms");
    return 0;
}
