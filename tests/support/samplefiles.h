#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The RTF files tests read in place: the real-world samples (folder named by VELIGRAM_SAMPLES,
// absent on some machines) and the project's own fixtures.
namespace SampleFiles {

QByteArray read(const QString &path);          // empty when unreadable
QStringList rtfFilesIn(const QString &folder); // sorted; empty for a missing folder
QString samplesFolder();                       // empty when VELIGRAM_SAMPLES names no existing folder

} // namespace SampleFiles
