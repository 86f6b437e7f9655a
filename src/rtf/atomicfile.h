#pragma once

#include <QByteArray>
#include <QString>

// Whole-file writes that never leave a damaged file behind. Every document, exercise file and
// state file the editor writes goes through here.
namespace AtomicFile {

struct [[nodiscard]] Written
{
    bool ok = false;
    QString reason; // the system's message when the write failed ("No space left on device", …)
    explicit operator bool() const { return ok; }
};

// Makes `bytes` the whole content of `path`. The bytes go to a new file beside it, which
// replaces the old one only once it is complete: a full disk, a read-only folder or a folder
// that vanished leaves the previous file as it was, and `reason` says why.
Written write(const QString &path, const QByteArray &bytes);

} // namespace AtomicFile
