#include "failingfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// The injected full disk: while armed, writes to files under `folder` share `budget` bytes,
// then fail with ENOSPC, as a real disk does.
struct InjectedDisk
{
    std::atomic<bool> armed = false;
    std::string folder; // canonical, ending with '/'
    std::atomic<qint64> budget = 0;
};

InjectedDisk &injectedDisk()
{
    static InjectedDisk disk;
    return disk;
}

bool isUnderInjectedFolder(int fd)
{
    char link[4096];
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(proc.c_str(), link, sizeof link - 1);
    if (length <= 0)
        return false;
    return std::string(link, size_t(length)).rfind(injectedDisk().folder, 0) == 0;
}

} // namespace

// Takes the place of the C library's write() in the test program, Qt's file engine included;
// unarmed it only passes the call on.
extern "C" ssize_t write(int fd, const void *data, size_t size)
{
    using Write = ssize_t (*)(int, const void *, size_t);
    static const auto next = reinterpret_cast<Write>(::dlsym(RTLD_NEXT, "write"));
    InjectedDisk &disk = injectedDisk();
    if (!disk.armed.load() || !isUnderInjectedFolder(fd))
        return next(fd, data, size);
    const qint64 budget = disk.budget.load();
    if (budget <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = next(fd, data, std::min<size_t>(size, size_t(budget)));
    if (written > 0)
        disk.budget -= written;
    return written;
}

const char *faultName(SaveFault fault)
{
    switch (fault) {
    case SaveFault::FullDisk:
        return "full disk";
    case SaveFault::NearlyFullDisk:
        return "disk filling up during the write";
    case SaveFault::ReadOnlyFolder:
        return "read-only folder";
    case SaveFault::VanishedFolder:
        return "vanished folder";
    }
    return "?";
}

FailingFolder::FailingFolder(SaveFault fault) : m_fault(fault)
{
    m_folder = m_root.filePath(QStringLiteral("folder"));
    if (!m_root.isValid() || !QDir().mkpath(m_folder)) {
        m_unavailable = QStringLiteral("no scratch folder");
        return;
    }
    m_folder = QFileInfo(m_folder).canonicalFilePath();
    if (fault == SaveFault::VanishedFolder)
        return;
    const bool root = ::geteuid() == 0;
    if (root && ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                        "size=256k,mode=0700") == 0) {
        m_mounted = true;
        m_method = Method::Mount;
    } else if (fault == SaveFault::ReadOnlyFolder) {
        m_method = Method::Permissions;
        if (root)
            m_unavailable = QStringLiteral("running as root where mounting is not permitted: no folder is "
                                           "read-only for root");
    } else {
        m_method = Method::Injection;
    }
}

FailingFolder::~FailingFolder()
{
    stop();
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

QString FailingFolder::filePath(const QString &name) const
{
    return QDir::toNativeSeparators(m_folder + QLatin1Char('/') + name);
}

bool FailingFolder::put(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QStringList FailingFolder::names() const
{
    QStringList names = QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    names.removeAll(QStringLiteral("filler"));
    return names;
}

QByteArray FailingFolder::read(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool FailingFolder::fill()
{
    // tmpfs counts whole pages: the filler takes everything, then gives back the spare room.
    const QByteArray encoded = QFile::encodeName(filePath(QStringLiteral("filler")));
    const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray chunk(4096, 'f');
    qint64 size = 0;
    for (ssize_t written; (written = ::write(fd, chunk.constData(), size_t(chunk.size()))) > 0;)
        size += written;
    const int spare = m_fault == SaveFault::NearlyFullDisk ? spareBytes : 0;
    const bool filled = errno == ENOSPC && ::ftruncate(fd, std::max<qint64>(0, size - spare)) == 0;
    ::close(fd);
    return filled;
}

bool FailingFolder::start()
{
    if (!m_unavailable.isEmpty() || m_started)
        return false;
    const QByteArray encoded = QFile::encodeName(m_folder);
    bool started = false;
    switch (m_method) {
    case Method::Removal:
        started = QDir(m_folder).removeRecursively();
        break;
    case Method::Permissions:
        started = QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        break;
    case Method::Mount:
        if (m_fault == SaveFault::ReadOnlyFolder)
            started = ::mount(nullptr, encoded.constData(), nullptr,
                              MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
        else
            started = fill();
        break;
    case Method::Injection: {
        InjectedDisk &disk = injectedDisk();
        disk.folder = m_folder.toStdString() + '/';
        disk.budget = m_fault == SaveFault::NearlyFullDisk ? spareBytes : 0;
        disk.armed = true;
        started = true;
        break;
    }
    }
    m_started = started;
    return started;
}

void FailingFolder::stop()
{
    if (!m_started)
        return;
    m_started = false;
    const QByteArray encoded = QFile::encodeName(m_folder);
    switch (m_method) {
    case Method::Removal:
        break;
    case Method::Permissions:
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        break;
    case Method::Mount:
        if (m_fault == SaveFault::ReadOnlyFolder)
            ::mount(nullptr, encoded.constData(), nullptr, MS_REMOUNT | MS_NOSUID | MS_NODEV, nullptr);
        else
            QFile::remove(filePath(QStringLiteral("filler")));
        break;
    case Method::Injection:
        injectedDisk().armed = false;
        break;
    }
}

QString FailingFolder::expectedReason() const
{
    switch (m_fault) {
    case SaveFault::FullDisk:
    case SaveFault::NearlyFullDisk:
        return qt_error_string(ENOSPC);
    case SaveFault::ReadOnlyFolder:
        // On a read-only file system Qt refuses before trying, with its own words; a folder
        // without write permission refuses the new file beside the old one.
        return m_method == Method::Mount ? QStringLiteral("is not writable") : qt_error_string(EACCES);
    case SaveFault::VanishedFolder:
        return qt_error_string(ENOENT);
    }
    return {};
}
