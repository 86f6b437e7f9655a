#include "filedialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QStringList toQtNameFilters(const QString &filter)
{
    if (filter.trimmed().isEmpty())
        return {};
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() == 1) // a bare pattern list such as "*.RTF": one entry, shown as written
        return {parts.front().split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).trimmed()};
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns =
            parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters;
}

QString defaultDocumentFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString withDefaultExtension(const QString &path, const QString &extension)
{
    const QFileInfo typed(QDir::fromNativeSeparators(path));
    if (path.isEmpty() || typed.fileName().isEmpty() || !typed.suffix().isEmpty())
        return path;
    // "ex1." ends with an empty extension: the dot stays and the extension follows it.
    if (path.endsWith(QLatin1Char('.')))
        return path + extension;
    return path + QLatin1Char('.') + extension;
}
