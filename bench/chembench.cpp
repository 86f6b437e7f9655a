// Ctrl+Maj+F over a long text full of formulas: the reader alone, and the command writing the
// runs into a real control (offscreen). Run by hand, not by ctest:
//   QT_QPA_PLATFORM=offscreen chembench [MB] [reader]   a generated text of MB megabytes (default
//                                                        1); "reader": the reader alone
#include "chem/chemformula.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "symbols/chemformulacommand.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>

namespace {

// Sentences of an exercise's correction, each with its formulas, as a teacher types them.
const char *const kSentences[] = {
    "L'eau H2O et le dioxyde de carbone CO2 se forment. ",
    "On verse 25 cm3 de solution de Fe^3+ dans l'erlenmeyer. ",
    "2H2 + O2 -> 2H2O ; CH3COOH <=> CH3COO- + H+ ; ",
    "Ba^2+ + SO4^2- -> BaSO4 v et Cu^2+(aq) + 2 HO- -> Cu(OH)2(s). ",
    "N2 + 3 H2 <=>[{Fe}][{450 \xb0"
    "C}] 2 NH3, puis ^{238}_{92}U -> ^{234}_{90}Th + ^{4}_{2}He. ",
    "R = 8,314 J.K-1.mol-1 et c = 0,10 mol//L ; CuSO4.5H2O est bleu. ",
};

QByteArray sampleText(qsizetype bytes)
{
    QByteArray text;
    int sentence = 0;
    while (text.size() < bytes) {
        text += kSentences[sentence % std::size(kSentences)];
        if (++sentence % 12 == 0)
            text += '\r'; // a paragraph now and then
    }
    return text;
}

// The process's processor time, in seconds: on a machine shared with other jobs the wall
// clock says more about them than about the command.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Timing
{
    QElapsedTimer wall;
    double cpu = cpuSeconds();
    Timing() { wall.start(); }
    QString figure() const
    {
        return QStringLiteral("%1 s (processor %2 s)")
            .arg(double(wall.nsecsElapsed()) / 1e9, 0, 'f', 3)
            .arg(cpuSeconds() - cpu, 0, 'f', 3);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const double megabytes = argc > 1 ? QByteArray(argv[1]).toDouble() : 1.0;
    const QByteArray bytes = sampleText(qsizetype(megabytes * 1024 * 1024));
    const QString typed = Cp1252::decode(bytes);

    const Timing reading;
    const QList<ChemRun> runs = ChemFormula::parse(typed);
    const QString reader = reading.figure();
    qsizetype changed = 0;
    for (const ChemRun &run : runs)
        changed += run.kind != ChemRun::Baseline || run.raised ? 1 : 0;
    std::printf("text: %.2f MB, %lld runs, %lld of them formatted\n", double(bytes.size()) / 1048576,
                static_cast<long long>(runs.size()), static_cast<long long>(changed));
    std::printf("reader alone:              %s\n", qPrintable(reader));
    if (argc > 2 && QByteArray(argv[2]) == "reader")
        return 0;

    EditorState state;
    const auto exo = createRichTextControl();
    exo->setText(bytes);
    exo->setSelection({0, int(bytes.size())});
    ChemFormulaCommand command(state, *exo, [] { return ChemScriptSettings{}; });
    command.setDevicePixelRatioSource([] { return 1.0; });
    const Timing writing;
    const bool done = command.run();
    const QString written = writing.figure();
    std::printf("command on the control:    %s (%s, %d objects)\n", qPrintable(written),
                done ? "formatted" : "NOTHING CHANGED", exo->objectCount());
    const Timing undoing;
    exo->undo();
    std::printf("undo:                      %s\n", qPrintable(undoing.figure()));
    return 0;
}
