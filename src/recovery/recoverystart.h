#pragma once

#include "recoveryentry.h"

#include <QCoreApplication>
#include <QStringList>

#include <functional>

class MessageBoxes;
class RecoveryFolder;
class ShellHost;
struct EditorState;

// What the editor does at start when an earlier run left recovery copies behind: ask, then put
// each text back in its place or remove the copies. A copy that does not read, or that has no
// place to go back to, is moved to "rejected" and named in a message; it is never deleted.
class RecoveryStart
{
    Q_DECLARE_TR_FUNCTIONS(RecoveryStart)

public:
    using OpenExercise = std::function<bool(const QString &path)>;

    RecoveryStart(RecoveryFolder &folder, MessageBoxes &messages);

    // Before the start-up sequence shows the texts. True when copies were left and the user
    // answered "Oui"; on "Non" the copies are removed. Either way, unreadable copies are set
    // aside.
    bool ask();
    // After the start-up sequence, when ask() said yes: a text document in exo under its
    // original path, or the exercise opened with its statement and correction, every text
    // marked modified. Returns the copies that now stand for the texts on screen.
    QList<RecoveryEntry> restore(EditorState &state, ShellHost &host, const OpenExercise &openExercise);

    static QString question();

private:
    struct Copy
    {
        RecoveryEntry entry;
        QByteArray rtf;
        bool placed = false;
    };

    void setAside(const QString &file, const QString &what, const QString &problem);
    void reportSetAside();
    Copy *find(const QString &buffer);

    RecoveryFolder &m_folder;
    MessageBoxes &m_messages;
    QList<Copy> m_copies;
    QStringList m_setAside; // one line per copy, for the message
};
