#include "commands.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // A GUI application without a display: pictures and fonts work, no window opens.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString group = args.isEmpty() ? QString() : args.takeFirst();
    if (group == QLatin1String("rtf"))
        return runRtfCommand(args);
    if (group == QLatin1String("exercise"))
        return runExerciseCommand(args);
    if (group == QLatin1String("chem"))
        return runChemCommand(args);
    if (group == QLatin1String("math"))
        return runMathCommand(args);
    if (group == QLatin1String("spell"))
        return runSpellCommand(args);
    QTextStream(stderr) << "usage: veligram-tool rtf text FILE | rtf roundtrip IN OUT | rtf pdf IN OUT.pdf\n"
                           "       veligram-tool exercise show FILE | exercise write FILE [options]\n"
                           "       veligram-tool chem [options] FORMULA\n"
                           "       veligram-tool math --mathml FORMULA | math --linear FORMULA\n"
                           "       veligram-tool math --svg FILE [--size N] [--display] FORMULA\n"
                           "       veligram-tool math --png FILE [--size N] [--scale N] [--display] FORMULA\n"
                           "       veligram-tool spell FILE...\n";
    return 1;
}
