#pragma once

#include <QStringList>

// Each returns the process exit status: 0 on success, 1 with a one-line message on stderr.
int runRtfCommand(const QStringList &args);
int runExerciseCommand(const QStringList &args);
int runChemCommand(const QStringList &args);
int runMathCommand(const QStringList &args);
// 0 when every word is known, 1 when some are not, 2 when something cannot be read.
int runSpellCommand(const QStringList &args);
