#include "chem/chemformula.h"
#include "commands.h"
#include "math/equation.h"
#include "symbols/ionformulapicture.h"
#include "symbols/nuclidepicture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QtMath>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "veligram-tool: " << message << '\n';
    return 1;
}

bool readNumber(const QStringList &args, qsizetype &i, double low, double high, double &value)
{
    bool ok = false;
    const double number = i + 1 < args.size() ? args.at(i + 1).toDouble(&ok) : 0;
    if (!ok || number < low || number > high)
        return false;
    value = number;
    ++i;
    return true;
}

} // namespace

// chem [--size POINTS] [--normal] [--exponent-step N] [--index-step N] [--font NAME] FORMULA
// One JSON object a line for each run the formula is written as, in order.
int runChemCommand(const QStringList &args)
{
    ChemScriptSettings settings;
    double size = 10; // the editor's initial format: Arial 10
    QString fontName = QStringLiteral("Arial");
    QStringList words;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        double value = 0;
        if (arg == QLatin1String("--normal")) {
            settings.smallMode = false;
        } else if (arg == QLatin1String("--size")) {
            if (!readNumber(args, i, 1, 1638, value))
                return fail(QStringLiteral("--size wants a size in points"));
            size = value;
        } else if (arg == QLatin1String("--exponent-step") || arg == QLatin1String("--index-step")) {
            if (!readNumber(args, i, 1, 20, value) || value != int(value))
                return fail(arg + QStringLiteral(" wants a whole number from 1 to 20"));
            (arg == QLatin1String("--index-step") ? settings.indexStep : settings.exponentStep) = int(value);
        } else if (arg == QLatin1String("--font")) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("--font wants a font name"));
            fontName = args.at(++i);
        } else {
            words << arg;
        }
    }
    if (words.isEmpty())
        return fail(QStringLiteral("usage: chem [--size N] [--normal] [--exponent-step N] "
                                   "[--index-step N] [--font NAME] FORMULA"));
    const QString text = words.join(u' ');
    const QList<ChemRun> runs = ChemFormula::parse(text);
    QTextStream out(stdout);
    for (const ChemWrittenRun &run : ChemFormula::written(text, runs, size, settings)) {
        if (run.text.isEmpty() && run.picture.isEmpty())
            continue; // an empty {}: it only separated
        QJsonObject line{{"text", run.text}, {"offset", run.offset}, {"size", run.size}};
        if (!run.font.isEmpty())
            line.insert("font", run.font);
        if (run.italic)
            line.insert("italic", true);
        if (run.picture == QLatin1String("ion") || run.picture == QLatin1String("nuclide")) {
            IonFormulaStyle style;
            style.fontName = fontName;
            style.size = qMax(10.0, size);
            const IonFormula formula{run.text, run.upper, run.lower};
            const QImage picture = run.picture == QLatin1String("ion")
                                       ? IonFormulaPicture::compose(formula, style)
                                       : NuclidePicture::compose(formula, style);
            line.insert("picture", run.picture);
            line.insert("upper", run.upper);
            line.insert("lower", run.lower);
            line.insert("width", picture.width());
            line.insert("height", picture.height());
        } else if (run.picture == QLatin1String("equation")) {
            // An equation object, measured as the editor draws it at 96 dpi.
            const EquationMetrics metrics = equationMetrics(Equation::fromLinear(run.equation), size, 96);
            line.insert("picture", run.picture);
            line.insert("equation", run.equation);
            line.insert("upper", run.upper);
            line.insert("lower", run.lower);
            line.insert("width", qCeil(metrics.width));
            line.insert("height", qCeil(metrics.ascent + metrics.descent));
        } else if (run.picture == QLatin1String("arrows")) {
            line.insert("picture", run.picture);
            line.insert("width", 3 * qRound(size));
            line.insert("height", qRound(size));
        }
        out << QJsonDocument(line).toJson(QJsonDocument::Compact) << '\n';
    }
    return 0;
}
