#include "commands.h"

#include <QTextStream>

int runRtfCommand(const QStringList &)
{
    QTextStream(stderr) << "veligram-tool: rtf commands not available yet\n";
    return 1;
}
