#include "math/equation.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

// Any bytes read as linear text lay out and draw in both styles, in bounded time and stack. With
// VELIGRAM_FUZZ_STRICT set, the tree must also read back the same from its normalised text: a
// property the saved files do not depend on (they keep the text as typed), checked by longer runs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool strict = qEnvironmentVariableIsSet("VELIGRAM_FUZZ_STRICT");
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const Equation equation = Equation::fromLinear(text);
    if (strict && !(Equation::fromLinear(equation.normalizedLinear()).tree() == equation.tree()))
        __builtin_trap();
    if (!equation.mathml().startsWith(QLatin1String("<math")))
        __builtin_trap();
    for (const MathStyle style : {MathStyle::Text, MathStyle::Display}) {
        const EquationMetrics metrics = equationMetrics(equation, 12, 96, style);
        if (!(metrics.width >= 0 && metrics.ascent >= 0 && metrics.descent >= 0))
            __builtin_trap();
        QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        paintEquation(painter, QPointF(0, 20), equation, 12, 96, Qt::black, style);
    }
    return 0;
}
