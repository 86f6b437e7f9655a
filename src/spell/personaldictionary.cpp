#include "personaldictionary.h"

#include "spelllog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

bool isWord(const QString &word)
{
    if (word.isEmpty() || word.size() > PersonalDictionary::kLongestWord)
        return false;
    return std::none_of(word.cbegin(), word.cend(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter ||
               c.isNull();
    });
}

} // namespace

PersonalDictionary::PersonalDictionary(const QString &path) : m_path(path)
{}

QString PersonalDictionary::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/dictionnaire-personnel.txt");
}

bool PersonalDictionary::load()
{
    m_words.clear();
    m_known.clear();
    m_readFailed = false;
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_readFailed = true;
        qCWarning(lcSpell) << "cannot read" << m_path << file.errorString();
        return false;
    }
    // Past the cap the rest is ignored, and the file is kept as it is: rewriting it from a part
    // would lose the teacher's words.
    if (file.size() > kMaximumFileSize) {
        m_readFailed = true;
        qCWarning(lcSpell) << m_path << "is larger than" << kMaximumFileSize
                           << "bytes; only its start is read";
    }
    const QByteArray bytes = file.read(kMaximumFileSize);
    for (const QByteArray &line : bytes.split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (isWord(word) && !m_known.contains(word)) {
            m_known.insert(word);
            m_words.append(word);
        }
    }
    return !m_readFailed;
}

bool PersonalDictionary::add(const QString &word)
{
    const QString clean = word.trimmed();
    if (!isWord(clean))
        return false;
    if (!m_known.contains(clean)) {
        m_known.insert(clean);
        m_words.append(clean);
    }
    if (m_readFailed) {
        qCWarning(lcSpell) << "not rewriting" << m_path << "which could not be read whole";
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcSpell) << "cannot write" << m_path << file.errorString();
        return false;
    }
    file.write(m_words.join(QLatin1Char('\n')).toUtf8() + '\n');
    if (!file.commit()) {
        qCWarning(lcSpell) << "cannot write" << m_path << file.errorString();
        return false;
    }
    return true;
}
