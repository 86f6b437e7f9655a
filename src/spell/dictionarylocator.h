#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The two files of a Hunspell dictionary.
struct DictionaryFiles
{
    QString name; // "fr_FR"
    QString affixPath;
    QString wordsPath;
    bool operator==(const DictionaryFiles &) const = default;
};

namespace DictionaryLocator {

// The Debian package that brings the French dictionary: what to tell the user who lacks it.
inline constexpr char kFrenchPackage[] = "hunspell-fr";

// Where Hunspell's own tools look for dictionaries: DICPATH first, then the system's and the
// user's data folders.
QStringList searchFolders();

// A French dictionary in `folders`: fr_FR where any folder has it, else the first other fr_*
// in name order, else plain fr. Both files must be there and readable.
std::optional<DictionaryFiles> findFrench(const QStringList &folders);

} // namespace DictionaryLocator
