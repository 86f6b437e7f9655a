#pragma once

#include "recoveryentry.h"
#include "rtf/richdocument.h"

#include <QThreadPool>

class RecoveryFolder;

// Writes the recovery copies away from the user-interface thread: the RTF writing, the atomic
// save of the copy and of the index run on one thread of their own, one job after the other,
// in the order they were asked for. The user-interface thread only hands over the text.
//
// A new copy goes under a new name, the index then names it, and only then is the previous
// copy of the same text removed: whenever the editor stops, the index names complete copies.
class CopyWriter
{
public:
    explicit CopyWriter(RecoveryFolder &folder);
    ~CopyWriter(); // waits for the jobs under way
    CopyWriter(const CopyWriter &) = delete;
    CopyWriter &operator=(const CopyWriter &) = delete;

    // Copies already in the folder that this run goes on with (recovered at start-up).
    void adopt(const QList<RecoveryEntry> &entries);
    // `entry` says what the text is (buffer, original, exercise, shown); its file, size,
    // checksum and time are filled here. Replaces the copy of the same buffer. `pieces` are a
    // SlicedCopy's, joined here on the writer's thread.
    void write(const RecoveryEntry &entry, QList<RichDocument> pieces);
    void remove(const QString &buffer);
    void clear();
    void waitForDone();

private:
    void run(std::function<void()> job);

    RecoveryFolder &m_folder;
    QList<RecoveryEntry> m_entries; // the writer thread's, as the index on disk has them
    int m_serial = 0;
    QThreadPool m_pool;
};
