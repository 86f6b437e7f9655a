#include "atomicfile.h"

#include <QSaveFile>

namespace AtomicFile {

Written write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, and the rest written again after a short write: a disk that fills up part way
    // first takes what fits without an error, and only the next call names the reason. Through
    // Qt's buffer that reason would be lost ("Unknown error") or, worse, a short write of a
    // large block would go unnoticed and be committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return {false, reason};
        }
        done += written;
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace AtomicFile
