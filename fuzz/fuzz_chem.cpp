#include "chem/chemformula.h"
#include "math/chemmath.h"
#include "math/equation.h"

#include <cstddef>
#include <cstdint>

// Any text read as chemistry gives runs that cover it in order without gap and that write in
// both script modes: the command writes the runs from the right by their spans, so a gap or an
// overlap would eat or double what the teacher typed. Reading is one pass, so the fuzzer's
// timeout also catches a reading that turns quadratic.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<ChemRun> runs = ChemFormula::parse(text);
    int at = 0;
    for (const ChemRun &run : runs) {
        if (run.start != at || run.length < 0)
            __builtin_trap();
        at += run.length;
    }
    if (at != text.size())
        __builtin_trap();
    for (const bool small : {true, false}) {
        ChemScriptSettings settings;
        settings.smallMode = small;
        if (ChemFormula::written(text, runs, 12, settings).size() != runs.size())
            __builtin_trap();
    }
    (void)ChemFormula::changesText(text, runs);
    // The same text inside an equation: the chemistry's nodes, and the equation's text written
    // back reading to the same tree (labels read as chemistry once, so the tree stays shallow).
    if (ChemMath::toMath(text).text() != text)
        __builtin_trap();
    // Unbalanced braces end \ce{ early or never: the rest is an equation's, fuzzed elsewhere.
    int level = 0;
    for (const QChar c : text) {
        level += c == u'{' ? 1 : c == u'}' ? -1 : 0;
        if (level < 0)
            return 0;
    }
    if (level != 0)
        return 0;
    const Equation equation = Equation::fromLinear(QStringLiteral("E = \\ce{") + text + u'}');
    if (!(Equation::fromLinear(equation.normalizedLinear()).tree() == equation.tree()))
        __builtin_trap();
    return 0;
}
