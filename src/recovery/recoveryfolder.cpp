#include "recoveryfolder.h"

#include "recoverylog.h"
#include "rtf/rtfreader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

constexpr qint64 maxCopyBytes = qint64(1) << 31;

} // namespace

RecoveryFolder::RecoveryFolder(const QString &path) : m_path(QDir::cleanPath(path))
{}

RecoveryFolder::~RecoveryFolder() = default;

QString RecoveryFolder::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery");
}

bool RecoveryFolder::claim()
{
    if (owned())
        return true;
    if (!QDir().mkpath(m_path)) {
        qCWarning(lcRecovery) << "cannot create" << m_path;
        return false;
    }
    auto lock = std::make_unique<QLockFile>(filePath(lockName));
    // Never stale by age: an editor left open for days still owns its copies. A lock whose
    // process is gone is stale whatever its age, and QLockFile takes it over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        qint64 pid = 0;
        QString host;
        QString application;
        lock->getLockInfo(&pid, &host, &application);
        qCInfo(lcRecovery) << "recovery folder held by process" << pid << "on" << host << "; no copies here";
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

bool RecoveryFolder::owned() const
{
    return m_lock && m_lock->isLocked();
}

void RecoveryFolder::release()
{
    m_lock.reset();
}

QString RecoveryFolder::filePath(const QString &name) const
{
    return m_path + QLatin1Char('/') + name;
}

QString RecoveryFolder::rejectedPath() const
{
    return filePath(rejectedName);
}

RecoveryFolder::Leftovers RecoveryFolder::leftovers() const
{
    Leftovers found;
    const QDir folder(m_path);
    QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    // QLockFile's own helpers live beside the lock while it is being taken.
    files.removeIf([](const QString &name) { return name.startsWith(lockName); });
    if (files.removeAll(indexName) > 0) {
        QFile index(filePath(indexName));
        std::optional<QList<RecoveryEntry>> entries;
        if (index.open(QIODevice::ReadOnly))
            entries = RecoveryIndex::read(index.read(1 << 20));
        if (!entries) {
            qCWarning(lcRecovery) << "unreadable index, every copy set aside";
            found.strays.append(indexName);
        } else {
            for (const RecoveryEntry &entry : *entries) {
                if (files.removeAll(entry.file) > 0)
                    found.entries.append(entry);
                else
                    qCWarning(lcRecovery) << "index names a missing copy" << entry.file;
            }
        }
    }
    found.strays.append(files);
    return found;
}

RecoveryFolder::ReadCopy RecoveryFolder::read(const RecoveryEntry &entry) const
{
    QFile file(filePath(entry.file));
    if (!file.open(QIODevice::ReadOnly))
        return {{}, tr("La copie ne peut pas être ouverte : %1").arg(file.errorString())};
    // The index says how long the copy is: a file of another size is not the copy it names, and
    // a size no file of ours reaches is not believed, whatever the index says.
    if (file.size() < entry.size)
        return {{}, tr("La copie est incomplète.")};
    if (file.size() > entry.size || entry.size > maxCopyBytes)
        return {{}, tr("La copie ne correspond pas à son index.")};
    const QByteArray bytes = file.read(entry.size);
    if (bytes.size() != entry.size)
        return {{}, tr("La copie est incomplète.")};
    if (QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() != entry.sha256)
        return {{}, tr("La copie est abîmée.")};
    if (!RtfReader::looksLikeRtf(bytes))
        return {{}, tr("La copie n'est pas un texte RTF.")};
    if (const RtfReadResult read = RtfReader::read(bytes); !read.ok)
        return {{}, read.message};
    return {bytes, {}};
}

QString RecoveryFolder::setAside(const QString &fileName) const
{
    const QString rejected = rejectedPath();
    if (!QDir().mkpath(rejected))
        return {};
    const QFileInfo source(fileName);
    QString target = rejected + QLatin1Char('/') + fileName;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target =
            rejected + QStringLiteral("/%1-%2.%3").arg(source.completeBaseName()).arg(n).arg(source.suffix());
    if (!QFile::rename(filePath(fileName), target)) {
        qCWarning(lcRecovery) << "cannot set aside" << fileName;
        return {};
    }
    return target;
}

AtomicFile::Written RecoveryFolder::writeCopy(RecoveryEntry &entry, const QByteArray &rtf) const
{
    if (!QDir().mkpath(m_path))
        return {false, tr("Le dossier %1 ne peut pas être créé.").arg(m_path)};
    entry.size = rtf.size();
    entry.sha256 = QCryptographicHash::hash(rtf, QCryptographicHash::Sha256).toHex();
    entry.time = QDateTime::currentDateTimeUtc();
    return AtomicFile::write(filePath(entry.file), rtf);
}

AtomicFile::Written RecoveryFolder::writeIndex(const QList<RecoveryEntry> &entries) const
{
    if (entries.isEmpty()) {
        QFile::remove(filePath(indexName));
        return {true, {}};
    }
    return AtomicFile::write(filePath(indexName), RecoveryIndex::write(entries));
}

void RecoveryFolder::removeCopy(const QString &fileName) const
{
    if (!QFile::remove(filePath(fileName)) && QFileInfo::exists(filePath(fileName)))
        qCWarning(lcRecovery) << "cannot remove" << fileName;
}

void RecoveryFolder::clear() const
{
    const Leftovers left = leftovers();
    // The index goes first: a crash half way leaves strays, which are set aside, never copies
    // that an index still offers.
    QFile::remove(filePath(indexName));
    for (const RecoveryEntry &entry : left.entries)
        removeCopy(entry.file);
}
