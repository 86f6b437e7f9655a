#include "recoveryentry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int formatVersion = 1;

bool isPlainFileName(const QString &name)
{
    // The index names files in its own folder only: a damaged or foreign index must not make
    // the editor read, move or remove anything elsewhere.
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

bool isKnownBuffer(const QString &buffer)
{
    return buffer == RecoveryEntry::document || buffer == RecoveryEntry::statement ||
           buffer == RecoveryEntry::correction;
}

} // namespace

namespace RecoveryIndex {

QByteArray write(const QList<RecoveryEntry> &entries)
{
    QJsonArray copies;
    for (const RecoveryEntry &entry : entries) {
        QJsonObject copy;
        copy[QLatin1String("file")] = entry.file;
        copy[QLatin1String("buffer")] = entry.buffer;
        copy[QLatin1String("original")] = entry.original;
        copy[QLatin1String("exercise")] = entry.exercise;
        copy[QLatin1String("shown")] = entry.shown;
        copy[QLatin1String("time")] = entry.time.toString(Qt::ISODateWithMs);
        copy[QLatin1String("size")] = double(entry.size);
        copy[QLatin1String("sha256")] = QString::fromLatin1(entry.sha256);
        copies.append(copy);
    }
    QJsonObject index;
    index[QLatin1String("version")] = formatVersion;
    index[QLatin1String("copies")] = copies;
    return QJsonDocument(index).toJson(QJsonDocument::Indented);
}

std::optional<QList<RecoveryEntry>> read(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return std::nullopt;
    const QJsonObject index = json.object();
    if (index.value(QLatin1String("version")).toInt() != formatVersion ||
        !index.value(QLatin1String("copies")).isArray())
        return std::nullopt;
    QList<RecoveryEntry> entries;
    for (const QJsonValue &value : index.value(QLatin1String("copies")).toArray()) {
        const QJsonObject copy = value.toObject();
        RecoveryEntry entry;
        entry.file = copy.value(QLatin1String("file")).toString();
        entry.buffer = copy.value(QLatin1String("buffer")).toString();
        entry.original = copy.value(QLatin1String("original")).toString();
        entry.exercise = copy.value(QLatin1String("exercise")).toString();
        entry.shown = copy.value(QLatin1String("shown")).toBool();
        entry.time = QDateTime::fromString(copy.value(QLatin1String("time")).toString(), Qt::ISODateWithMs);
        entry.size = qint64(copy.value(QLatin1String("size")).toDouble(-1));
        entry.sha256 = copy.value(QLatin1String("sha256")).toString().toLatin1();
        if (!isPlainFileName(entry.file) || !isKnownBuffer(entry.buffer) || entry.original.isEmpty() ||
            entry.size < 0)
            return std::nullopt;
        entries.append(entry);
    }
    return entries;
}

} // namespace RecoveryIndex
