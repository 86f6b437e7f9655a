#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// One recovery copy as the index describes it.
//
// `buffer` says where the text lived: "exo" for a text document shown in the editor,
// "sujetampon" or "corectampon" for the statement or the correction of the exercise named by
// `exercise` (wherever it was shown). `original` is the file the text belongs to, "SANS NOM"
// for a text that has none yet.
struct RecoveryEntry
{
    static inline const QString document = QStringLiteral("exo");
    static inline const QString statement = QStringLiteral("sujetampon");
    static inline const QString correction = QStringLiteral("corectampon");

    QString file; // the copy's name inside the recovery folder
    QString buffer;
    QString original;
    QString exercise;
    bool shown = false; // exo showed this text
    QDateTime time;     // when the copy was written
    qint64 size = 0;    // the copy's bytes and their SHA-256, to tell a damaged copy
    QByteArray sha256;  // hexadecimal

    bool isExerciseText() const { return buffer == statement || buffer == correction; }
    friend bool operator==(const RecoveryEntry &, const RecoveryEntry &) = default;
};

// The index file: a small JSON document listing the copies. Unknown keys are ignored, so a
// later version may add some; anything malformed reads as no index at all.
namespace RecoveryIndex {

QByteArray write(const QList<RecoveryEntry> &entries);
// Nothing when the bytes are not an index: every copy is then a stray, set aside unread.
std::optional<QList<RecoveryEntry>> read(const QByteArray &bytes);

} // namespace RecoveryIndex
