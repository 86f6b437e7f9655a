#pragma once

#include "recoveryentry.h"
#include "rtf/atomicfile.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

// The folder that holds the recovery copies, their index, the lock that gives the folder to
// one running editor, and "rejected", where copies that cannot be reopened are set aside.
//
// The index is the authority: a copy it does not name (left by a crash between writing a copy
// and writing the index, or put there by someone else) is a stray. Nothing here ever deletes a
// stray or a rejected copy; only clear() and removeCopy() delete, and only what the index named.
//
// Not thread-safe: one thread at a time (the copy writer's, once the editor runs).
class RecoveryFolder
{
    Q_DECLARE_TR_FUNCTIONS(RecoveryFolder)

public:
    static inline const QString indexName = QStringLiteral("index.json");
    static inline const QString lockName = QStringLiteral("veligram.lock");
    static inline const QString rejectedName = QStringLiteral("rejected");

    explicit RecoveryFolder(const QString &path);
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder &) = delete;
    RecoveryFolder &operator=(const RecoveryFolder &) = delete;

    // The user's data folder of the program, followed by "/recovery".
    static QString defaultPath();

    // Makes the folder this process's: false while another running editor holds it. A lock
    // left by a process that is gone (killed, crashed, power cut) is taken over.
    bool claim();
    bool owned() const;
    void release(); // on a clean quit, after the copies are gone

    QString path() const { return m_path; }
    QString filePath(const QString &name) const;
    QString rejectedPath() const;

    struct Leftovers
    {
        QList<RecoveryEntry> entries; // as the index lists them
        QStringList strays;           // other files of the folder, by name
        bool isEmpty() const { return entries.isEmpty() && strays.isEmpty(); }
    };
    Leftovers leftovers() const;

    struct ReadCopy
    {
        QByteArray rtf;
        QString problem; // French, for the message that names the copy; empty when it reads
        bool ok() const { return problem.isEmpty(); }
    };
    // The copy's bytes, checked against the index (size, checksum) and read as RTF.
    ReadCopy read(const RecoveryEntry &entry) const;

    // Moves a file of the folder into "rejected" under a name no other file there has, and
    // returns where it went; empty when it could not be moved (it then stays where it was).
    QString setAside(const QString &fileName) const;

    // Makes `rtf` the content of the copy `entry.file`, through the atomic save, and fills the
    // entry's size, checksum and time.
    AtomicFile::Written writeCopy(RecoveryEntry &entry, const QByteArray &rtf) const;
    AtomicFile::Written writeIndex(const QList<RecoveryEntry> &entries) const;
    void removeCopy(const QString &fileName) const;
    // The index and every copy it names; strays, "rejected" and the lock stay.
    void clear() const;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
