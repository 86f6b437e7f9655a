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

double seconds(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const double megabytes = argc > 1 ? QByteArray(argv[1]).toDouble() : 1.0;
    const QByteArray bytes = sampleText(qsizetype(megabytes * 1024 * 1024));
    const QString typed = Cp1252::decode(bytes);

    QElapsedTimer clock;
    clock.start();
    const QList<ChemRun> runs = ChemFormula::parse(typed);
    const double reader = seconds(clock);
    qsizetype changed = 0;
    for (const ChemRun &run : runs)
        changed += run.kind != ChemRun::Baseline || run.raised ? 1 : 0;
    std::printf("text: %.2f MB, %lld runs, %lld of them formatted\n", double(bytes.size()) / 1048576,
                static_cast<long long>(runs.size()), static_cast<long long>(changed));
    std::printf("reader alone:              %.3f s\n", reader);
    if (argc > 2 && QByteArray(argv[2]) == "reader")
        return 0;

    EditorState state;
    const auto exo = createRichTextControl();
    exo->setText(bytes);
    exo->setSelection({0, int(bytes.size())});
    ChemFormulaCommand command(state, *exo, [] { return ChemScriptSettings{}; });
    command.setDevicePixelRatioSource([] { return 1.0; });
    clock.restart();
    const bool done = command.run();
    const double written = seconds(clock);
    std::printf("command on the control:    %.3f s (%s, %d objects)\n", written,
                done ? "formatted" : "NOTHING CHANGED", exo->objectCount());
    clock.restart();
    exo->undo();
    std::printf("undo:                      %.3f s\n", seconds(clock));
    return 0;
}
