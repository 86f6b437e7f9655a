#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The ways a save fails on a teacher's machine.
enum class SaveFault {
    FullDisk,       // not one more byte fits
    NearlyFullDisk, // the write starts, and the disk fills up part way through it
    ReadOnlyFolder, // nothing can be created or replaced in the folder
    VanishedFolder, // the folder is gone (a deleted directory, a USB stick pulled out)
};

const char *faultName(SaveFault fault);

// A scratch folder where saves fail for real, through the ordinary file layer of the code under
// test: no test hook in the product. Where the test may mount (root), the folder is a small
// tmpfs, filled up for a full disk and remounted read-only for a read-only folder. Elsewhere a
// full disk is a write error given by this process's write() for the files of the folder, and a
// read-only folder is one without write permission (impossible for root without mounting:
// unavailable() says so, for QSKIP).
class FailingFolder
{
public:
    // Room left by NearlyFullDisk; the files a test writes there must be larger.
    static constexpr int spareBytes = 8192;

    explicit FailingFolder(SaveFault fault);
    ~FailingFolder();
    FailingFolder(const FailingFolder &) = delete;
    FailingFolder &operator=(const FailingFolder &) = delete;

    // Why this machine cannot make the fault; empty when it can.
    QString unavailable() const { return m_unavailable; }
    QString path() const { return m_folder; }
    QString filePath(const QString &name) const;
    // The files the folder holds, sorted, without the one that fills the disk.
    QStringList names() const;
    // Puts a file in the folder before the fault starts; false when it could not.
    bool put(const QString &name, const QByteArray &bytes) const;
    // The file's bytes, empty when it cannot be read.
    QByteArray read(const QString &name) const;
    // Starts the fault, which lasts until stop() or the end of the object.
    bool start();
    void stop();
    // Whether the files put there are still there once the fault started.
    bool keepsFiles() const { return m_fault != SaveFault::VanishedFolder; }
    // What the system says when a save of a file put there before fails.
    QString expectedReason() const;

private:
    enum class Method { Mount, Injection, Permissions, Removal };

    bool fill();

    SaveFault m_fault;
    Method m_method = Method::Removal;
    QTemporaryDir m_root;
    QString m_folder;
    QString m_unavailable;
    bool m_mounted = false;
    bool m_started = false;
};
