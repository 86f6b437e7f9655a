#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The words the teacher added ("Ajouter au dictionnaire"): a plain UTF-8 file, one word a line,
// in the user's data folder, read at start and written whole on each addition. A damaged file
// (not UTF-8, huge, binary) gives what can be read and is never rewritten from a failed read.
class PersonalDictionary
{
public:
    explicit PersonalDictionary(const QString &path);

    // The file in the program's data folder of this user.
    static QString defaultPath();

    const QString &path() const { return m_path; }
    const QStringList &words() const { return m_words; }
    bool contains(const QString &word) const { return m_known.contains(word); }

    // Reads the file; a missing file is an empty list. False when it could not be read.
    bool load();
    // Adds the word and writes the file; false when the write failed (the word is still known
    // for this run). A word that is no single word (empty, spaces, too long) is refused.
    bool add(const QString &word);

    static constexpr qint64 kMaximumFileSize = 8 * 1024 * 1024;
    static constexpr int kLongestWord = 100;

private:
    QString m_path;
    QStringList m_words;
    QSet<QString> m_known;
    bool m_readFailed = false;
};
