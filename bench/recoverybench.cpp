// The recovery copy of a long text: the longest pause it makes in the user-interface thread
// (a keystroke waits at most that long), and how soon the copy is complete on disk. Run by
// hand, not by ctest:
//   recoverybench [MB...]     generated exercise-like texts of these sizes (default 1)
// Each figure is the median of five copies in this process.
#include "recovery/copywriter.h"
#include "recovery/recoveryfolder.h"
#include "recovery/slicedcopy.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "samplertf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void print(const char *what, double ms, const char *target)
{
    std::printf("%-52s %9.2f ms   (target %s)\n", what, ms, target);
    std::fflush(stdout);
}

struct Figures
{
    double longestPause = 0; // between two passes of the event loop, copy included
    double longestPiece = 0;
    double handOver = 0; // the text given to the writer thread
    double onDisk = 0;   // from the first piece to the index naming the copy
    int pieces = 0;
};

// One copy as the tracker takes it: a piece per pass of the event loop, then the hand-over;
// the writer's thread works meanwhile. The pause is measured between passes, so whatever the
// event loop does besides the copy counts too.
Figures copyOnce(RichTextControl &text, RecoveryFolder &folder)
{
    Figures figures;
    CopyWriter writer(folder);
    SlicedCopy copy(text);
    QElapsedTimer total;
    total.start();
    QElapsedTimer gap;
    gap.start();
    bool handedOver = false;
    while (!handedOver) {
        QElapsedTimer piece;
        piece.start();
        if (copy.step()) {
            figures.longestPiece = std::max(figures.longestPiece, elapsedMs(piece));
            QElapsedTimer hand;
            hand.start();
            RecoveryEntry entry;
            entry.buffer = RecoveryEntry::document;
            entry.original = QStringLiteral("SANS NOM");
            writer.write(entry, copy.take());
            figures.handOver = elapsedMs(hand);
            handedOver = true;
        } else {
            figures.longestPiece = std::max(figures.longestPiece, elapsedMs(piece));
        }
        QApplication::processEvents(QEventLoop::AllEvents);
        figures.longestPause = std::max(figures.longestPause, elapsedMs(gap));
        gap.start();
    }
    writer.waitForDone();
    figures.onDisk = elapsedMs(total);
    figures.pieces = copy.steps();
    return figures;
}

QByteArray oneLongParagraph(qsizetype bytes)
{
    const QByteArray words = "mot {\\b gras} ";
    return QByteArray("{\\rtf1\\ansi ") + words.repeated(bytes / words.size()) + QByteArray("}");
}

bool measure(RichTextControl &text)
{
    QTemporaryDir dir;
    RecoveryFolder folder(dir.path());
    if (!folder.claim()) {
        std::fprintf(stderr, "cannot claim %s\n", qPrintable(dir.path()));
        return false;
    }
    QList<double> pauses, pieces, handOvers, onDisk, counts, whole;
    for (int run = 0; run < 5; ++run) {
        const Figures figures = copyOnce(text, folder);
        pauses << figures.longestPause;
        pieces << figures.longestPiece;
        handOvers << figures.handOver;
        onDisk << figures.onDisk;
        counts << figures.pieces;
        QElapsedTimer once;
        once.start();
        const QByteArray rtf = text.textRtf();
        whole << elapsedMs(once);
    }
    print("longest pause of the user-interface thread", median(pauses), "16 ms");
    print("  longest piece taken from the text", median(pieces), "-");
    print("  hand-over to the writer thread", median(handOvers), "-");
    std::printf("  %-50s %9.0f\n", "pieces per copy", median(counts));
    print("copy complete on disk, index included", median(onDisk), "-");
    print("for comparison: the whole RTF in one go (textRtf)", median(whole), "-");
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<double> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toDouble();
    if (sizes.isEmpty())
        sizes << 1.0;

    // The generated exercises, and the same size as one paragraph whose words alternate plain
    // and bold: a piece that starts inside a long paragraph walks it from its start.
    struct Kind
    {
        const char *name;
        QByteArray (*make)(qsizetype);
    };
    const Kind kinds[] = {
        {"generated exercises", sampleRtf},
        {"one paragraph, bold every other word", oneLongParagraph},
    };
    for (const double megabytes : sizes) {
        for (const Kind &kind : kinds) {
            std::unique_ptr<RichTextControl> text = createRichTextControl();
            text->setTextRtf(kind.make(qsizetype(megabytes * 1024 * 1024)));
            std::printf("text: %.0f MB, %s, %d positions\n", megabytes, kind.name, text->textLength());
            if (!measure(*text))
                return 1;
        }
    }
    return 0;
}
