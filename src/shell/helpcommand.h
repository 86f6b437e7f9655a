#pragma once

#include <QString>

class HelpViewer;

// The help file lives next to the executable; command 11 opens its topics window (contents,
// index and search).
constexpr int helpTopicsCommand = 11;

// `applicationDirectory` + exactly one separator + "QZ7.hlp", native separators.
QString helpFilePath(const QString &applicationDirectory);
void showHelp(HelpViewer &viewer, const QString &applicationDirectory);
