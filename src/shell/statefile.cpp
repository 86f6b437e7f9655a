#include "statefile.h"

#include "exercise/recordfile.h"

#include <QDir>

StateFile::StateFile(const QString &applicationDirectory)
{
    QString directory = QDir::fromNativeSeparators(applicationDirectory);
    if (!directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    m_path = QDir::toNativeSeparators(directory + QStringLiteral("TEMPO.SPC"));
}

bool StateFile::markOpen() const
{
    return RecordFile::writeStrings(m_path, {{openRecord, QByteArrayLiteral("OUI")}});
}

bool StateFile::markClosed() const
{
    return RecordFile::writeStrings(m_path, {{openRecord, QByteArrayLiteral("NON")}});
}
