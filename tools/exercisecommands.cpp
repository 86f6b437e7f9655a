#include "commands.h"

#include <QTextStream>

int runExerciseCommand(const QStringList &)
{
    QTextStream(stderr) << "veligram-tool: exercise commands not available yet\n";
    return 1;
}
