#include "copywriter.h"

#include "recoveryfolder.h"
#include "recoverylog.h"
#include "rtf/rtfwriter.h"
#include "slicedcopy.h"

#include <QDateTime>

CopyWriter::CopyWriter(RecoveryFolder &folder) : m_folder(folder)
{
    m_pool.setMaxThreadCount(1);
    // A copy waiting behind a slow disk must not keep a thread of its own forever.
    m_pool.setExpiryTimeout(2000);
}

CopyWriter::~CopyWriter()
{
    m_pool.waitForDone();
}

void CopyWriter::run(std::function<void()> job)
{
    m_pool.start(std::move(job));
}

void CopyWriter::adopt(const QList<RecoveryEntry> &entries)
{
    run([this, entries] { m_entries = entries; });
}

void CopyWriter::write(const RecoveryEntry &entry, QList<RichDocument> pieces)
{
    RecoveryEntry named = entry;
    named.file =
        QStringLiteral("%1-%2-%3.rtf")
            .arg(entry.buffer, QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")))
            .arg(++m_serial);
    run([this, named, pieces = std::move(pieces)]() mutable {
        RecoveryEntry written = named;
        const QByteArray rtf = RtfWriter::write(SlicedCopy::join(std::exchange(pieces, {})));
        if (const AtomicFile::Written copy = m_folder.writeCopy(written, rtf); !copy) {
            qCWarning(lcRecovery) << "recovery copy not written:" << copy.reason;
            return;
        }
        QList<RecoveryEntry> entries = m_entries;
        QString replaced;
        const auto same = std::find_if(entries.begin(), entries.end(),
                                       [&](const RecoveryEntry &e) { return e.buffer == written.buffer; });
        if (same != entries.end()) {
            replaced = same->file;
            *same = written;
        } else {
            entries.append(written);
        }
        if (const AtomicFile::Written index = m_folder.writeIndex(entries); !index) {
            qCWarning(lcRecovery) << "recovery index not written:" << index.reason;
            m_folder.removeCopy(written.file);
            return;
        }
        m_entries = entries;
        if (!replaced.isEmpty() && replaced != written.file)
            m_folder.removeCopy(replaced);
    });
}

void CopyWriter::remove(const QString &buffer)
{
    run([this, buffer] {
        qsizetype at = 0;
        while (at < m_entries.size() && m_entries.at(at).buffer != buffer)
            ++at;
        if (at == m_entries.size())
            return;
        const QString file = m_entries.at(at).file;
        QList<RecoveryEntry> entries = m_entries;
        entries.removeAt(at);
        if (const AtomicFile::Written index = m_folder.writeIndex(entries); !index) {
            qCWarning(lcRecovery) << "recovery index not written:" << index.reason;
            return;
        }
        m_entries = entries;
        m_folder.removeCopy(file);
    });
}

void CopyWriter::clear()
{
    run([this] {
        m_folder.clear();
        m_entries.clear();
    });
}

void CopyWriter::waitForDone()
{
    m_pool.waitForDone();
}
