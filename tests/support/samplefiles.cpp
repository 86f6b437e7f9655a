#include "samplefiles.h"

#include <QDir>
#include <QFile>

namespace SampleFiles {

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList rtfFilesIn(const QString &folder)
{
    QStringList files;
    if (folder.isEmpty() || !QDir(folder).exists())
        return files;
    const QDir dir(folder);
    for (const QString &name :
         dir.entryList({QStringLiteral("*.rtf"), QStringLiteral("*.RTF")}, QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

QString samplesFolder()
{
    const QString folder = qEnvironmentVariable("VELIGRAM_SAMPLES");
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

} // namespace SampleFiles
