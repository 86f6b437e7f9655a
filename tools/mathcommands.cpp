#include "commands.h"
#include "math/equation.h"

#include <QFile>
#include <QTextStream>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "veligram-tool: " << message << '\n';
    return 1;
}

const char usage[] =
    "usage: math --mathml FORMULA | --linear FORMULA | --svg FILE [--size N] [--display] FORMULA"
    " | --png FILE [--size N] [--scale N] [--display] FORMULA";

} // namespace

// math --mathml FORMULA | --linear FORMULA | --svg FILE … | --png FILE …
// The formula is the last argument, taken as it is even when it starts with "-" (-2/3, ->).
int runMathCommand(const QStringList &args)
{
    if (args.size() < 2)
        return fail(QLatin1String(usage));
    const QString mode = args.first();
    const QString formula = args.last();
    const Equation equation = Equation::fromLinear(formula);
    if (mode == QLatin1String("--mathml") || mode == QLatin1String("--linear")) {
        if (args.size() != 2)
            return fail(QLatin1String(usage));
        QTextStream(stdout) << (mode == QLatin1String("--mathml") ? equation.mathml()
                                                                  : equation.normalizedLinear())
                            << '\n';
        return 0;
    }
    if (mode != QLatin1String("--svg") && mode != QLatin1String("--png"))
        return fail(QLatin1String(usage));
    if (args.size() < 3)
        return fail(QLatin1String(usage));
    const QString path = args.at(1);
    double size = 12;
    double scale = 1;
    MathStyle style = MathStyle::Text;
    for (qsizetype i = 2; i + 1 < args.size(); ++i) {
        const QString &option = args.at(i);
        bool ok = true;
        if (option == QLatin1String("--size") && i + 2 < args.size()) {
            size = args.at(++i).toDouble(&ok);
            ok = ok && size >= 1 && size <= 1000;
        } else if (option == QLatin1String("--scale") && i + 2 < args.size()) {
            scale = args.at(++i).toDouble(&ok);
            ok = ok && scale > 0 && scale <= 20;
        } else if (option == QLatin1String("--display")) {
            style = MathStyle::Display;
        } else {
            ok = false;
        }
        if (!ok)
            return fail(QStringLiteral("bad option ") + option);
    }
    if (mode == QLatin1String("--svg")) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(QStringLiteral("cannot write ") + path);
        file.write(equationSvg(equation, size, style));
        return 0;
    }
    const QImage image = equationImage(equation, size, scale, Qt::black, style);
    if (image.isNull() || !image.save(path, "PNG"))
        return fail(QStringLiteral("cannot write ") + path);
    return 0;
}
