#pragma once

#include <QString>

class HelpViewer;
class SystemInfo;

// The help file lives next to the executable; command 11 opens its topics window (contents,
// index and search).
constexpr int helpTopicsCommand = 11;

// `applicationDirectory` + exactly one separator + "QZ7.hlp", native separators.
QString helpFilePath(const QString &applicationDirectory);
// Where an installed program keeps its help: the data folder beside the programs' folder
// (`prefix/bin` -> `prefix/share/veligram`), native separators.
QString installedHelpFilePath(const QString &applicationDirectory);
// The help file beside the executable (a build tree, a folder copied whole), else the
// installed one; beside the executable when neither exists, for the viewer to report.
QString findHelpFile(const SystemInfo &system);
void showHelp(HelpViewer &viewer, const SystemInfo &system);
