#include "dictionarylocator.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

std::optional<DictionaryFiles> filesIn(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    const QFileInfo affix(dir.filePath(name + QStringLiteral(".aff")));
    const QFileInfo words(dir.filePath(name + QStringLiteral(".dic")));
    if (!affix.isFile() || !affix.isReadable() || !words.isFile() || !words.isReadable() || words.size() == 0)
        return std::nullopt;
    return DictionaryFiles{name, affix.absoluteFilePath(), words.absoluteFilePath()};
}

} // namespace

namespace DictionaryLocator {

QStringList searchFolders()
{
    QStringList folders;
    for (const QString &folder :
         qEnvironmentVariable("DICPATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders.append(folder);
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        folders.append(data + QStringLiteral("/hunspell"));
        folders.append(data + QStringLiteral("/myspell"));
        folders.append(data + QStringLiteral("/myspell/dicts"));
    }
    for (const char *folder : {"/usr/share/hunspell", "/usr/share/myspell", "/usr/share/myspell/dicts",
                               "/usr/local/share/hunspell", "/usr/local/share/myspell", "/Library/Spelling"})
        folders.append(QString::fromLatin1(folder));
    folders.removeDuplicates();
    return folders;
}

std::optional<DictionaryFiles> findFrench(const QStringList &folders)
{
    for (const QString &folder : folders)
        if (auto files = filesIn(folder, QStringLiteral("fr_FR")))
            return files;
    for (const QString &folder : folders) {
        const QStringList affixes =
            QDir(folder).entryList({QStringLiteral("fr_*.aff")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &affix : affixes)
            if (auto files = filesIn(folder, QFileInfo(affix).completeBaseName()))
                return files;
    }
    for (const QString &folder : folders)
        if (auto files = filesIn(folder, QStringLiteral("fr")))
            return files;
    return std::nullopt;
}

} // namespace DictionaryLocator
