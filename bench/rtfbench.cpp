// Times the RTF reader, the control's load and save, and the writer on generated exercise
// texts, and reports the peak memory. Each size runs in a fresh process, so the peak of one
// does not hide the next.
//
//   rtfbench            1 MB and 10 MB
//   rtfbench 3 25       other sizes, in MB
//   rtfbench --write FILE MB    the generated sample, for timing other programs on it

#include "richtext/richtextfactory.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "samplertf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

// Peak resident memory of this process so far, in bytes; 0 where it cannot be measured.
double peakMemory()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
#ifdef Q_OS_MACOS
    return double(usage.ru_maxrss);
#else
    return double(usage.ru_maxrss) * 1024.0; // kilobytes
#endif
#else
    return 0;
#endif
}

class Stopwatch
{
public:
    void start()
    {
        m_wall.start();
        m_cpu = std::clock();
    }
    qint64 wallMs() const { return m_wall.elapsed(); }
    qint64 cpuMs() const { return qint64(std::clock() - m_cpu) * 1000 / CLOCKS_PER_SEC; }

private:
    QElapsedTimer m_wall;
    std::clock_t m_cpu = 0;
};

// Wall and processor milliseconds of one step.
struct Timing
{
    qint64 wallMs = 0;
    qint64 cpuMs = 0;
};

class Report
{
public:
    Report(double sizeMb, qsizetype bytes) : m_label(QStringLiteral("%1 MB").arg(sizeMb)), m_bytes(bytes) {}

    // Wall time is what the user waits; processor time shows the cost on a busy machine.
    void time(const QString &what, const Timing &timing, double megabytes, const QString &target = {})
    {
        const double seconds = qMax<qint64>(1, timing.wallMs) / 1000.0;
        line(QStringLiteral("%1 %2 ms (processor %3 ms) %4 MB/s")
                 .arg(what + QLatin1Char(':'), -34)
                 .arg(timing.wallMs, 6)
                 .arg(timing.cpuMs, 6)
                 .arg(megabytes / seconds, 6, 'f', 0) +
             (target.isEmpty() ? QString() : QStringLiteral("   (target < %1)").arg(target)));
    }
    // Peaks only grow: a later figure covers the earlier phases too.
    void memory(const QString &what, double baseline)
    {
        const double peak = peakMemory();
        if (peak <= 0) {
            line(what + QStringLiteral(": not measured on this platform"));
            return;
        }
        const double used = peak - baseline;
        line(QStringLiteral("%1: %2 MB above a %3 MB baseline = %4x the file size   (target < 15x)")
                 .arg(what)
                 .arg(used / kMegabyte, 0, 'f', 1)
                 .arg(baseline / kMegabyte, 0, 'f', 1)
                 .arg(used / double(m_bytes), 0, 'f', 1));
    }
    void line(const QString &text) { m_out << m_label << QStringLiteral(": ") << text << Qt::endl; }

private:
    QString m_label;
    qsizetype m_bytes;
    QTextStream m_out{stdout};
};

// Median wall and processor times of `runs` runs of `step`.
// `between` runs before each step, off the clock: it frees what the previous step made.
Timing timed(int runs, const std::function<void()> &step, const std::function<void()> &between = {})
{
    QList<qint64> walls;
    QList<qint64> cpus;
    for (int i = 0; i < runs; ++i) {
        if (between)
            between();
        Stopwatch watch;
        watch.start();
        step();
        walls << watch.wallMs();
        cpus << watch.cpuMs();
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls.at(runs / 2), cpus.at(runs / 2)};
}

int runOneSize(double sizeMb)
{
    const QByteArray rtf = sampleRtf(qsizetype(sizeMb * kMegabyte));
    Report report(sizeMb, rtf.size());
    report.line(QStringLiteral("generated %1 bytes; medians of 5 runs (3 for the control)").arg(rtf.size()));
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("sample.rtf"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
            report.line(QStringLiteral("cannot write the sample file"));
            return 1;
        }
    }
    const double baseline = peakMemory();
    const double megabytes = double(rtf.size()) / kMegabyte;

    RtfReadResult read;
    report.time(QStringLiteral("read (reader only)"),
                timed(
                    5, [&] { read = RtfReader::read(rtf); }, [&] { read = {}; }),
                megabytes);
    if (!read.ok)
        report.line(QStringLiteral("reader failed: %1").arg(read.message));
    qsizetype positions = 0;
    for (const Paragraph &paragraph : read.document.paragraphs) {
        positions += 1;
        for (const TextRun &run : paragraph.runs)
            positions += run.text.size();
    }
    report.line(
        QStringLiteral("%1 paragraphs, %2 positions").arg(read.document.paragraphs.size()).arg(positions));

    QByteArray written;
    report.time(QStringLiteral("save (writer only)"),
                timed(5, [&] { written = RtfWriter::write(read.document); }), megabytes,
                QStringLiteral("200 ms"));
    report.memory(QStringLiteral("peak memory, reader and writer"), baseline);
    read = {};
    written = {};

    std::unique_ptr<RichTextControl> control;
    bool loaded = true;
    report.time(QStringLiteral("load into the control"),
                timed(
                    3,
                    [&] {
                        control = createRichTextControl();
                        loaded = control->loadFile(input) && loaded;
                    },
                    [&] { control.reset(); }),
                megabytes, QStringLiteral("1000 ms"));
    if (!loaded)
        report.line(QStringLiteral("the control could not load the file"));
    report.line(QStringLiteral("control holds %1 positions").arg(control->textLength()));
    QByteArray saved;
    report.time(QStringLiteral("save (control textRtf)"),
                timed(
                    3, [&] { saved = control->textRtf(); }, [&] { saved = {}; }),
                megabytes, QStringLiteral("200 ms"));
    control.reset();
    report.memory(QStringLiteral("peak memory, control load and save"), baseline);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args.at(0) == QLatin1String("--one"))
        return runOneSize(args.at(1).toDouble());
    if (args.size() == 3 && args.at(0) == QLatin1String("--write")) {
        // The sample of that size as a file, for other programs to be timed on.
        QFile file(args.at(1));
        const QByteArray rtf = sampleRtf(qsizetype(args.at(2).toDouble() * kMegabyte));
        return file.open(QIODevice::WriteOnly) && file.write(rtf) == rtf.size() ? 0 : 1;
    }
    if (args.isEmpty())
        args = {QStringLiteral("1"), QStringLiteral("10")};
    int status = 0;
    for (const QString &size : args) {
        if (size.toDouble() <= 0) {
            QTextStream(stderr) << "rtfbench: not a size in MB: " << size << Qt::endl;
            return 1;
        }
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), size});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            status = 1;
    }
    return status;
}
