#include "exercise/exercisefile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// Any bytes as an exercise file: reading fills what it can and never writes; writing the page
// back and reading it again gives the same page.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("E01"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ExerciseData page;
    const bool read = ExerciseFile::read(path, page).ok;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != qint64(size))
        __builtin_trap(); // reading changed the file
    file.close();
    (void)ExerciseFile::readTextNames(path);
    if (!read || !ExerciseFile::encode(page))
        return 0;
    const QString copy = dir.filePath(QStringLiteral("E02"));
    QFile::remove(copy);
    if (!ExerciseFile::write(copy, page).ok)
        __builtin_trap();
    ExerciseData again;
    if (!ExerciseFile::read(copy, again).ok)
        __builtin_trap();
    // A piece of the description holding only spaces is skipped on reading, as the format
    // says: spaces may go, nothing else.
    const auto withoutSpaces = [](ExerciseData data) {
        data.description.remove(QLatin1Char(' '));
        return data;
    };
    if (!(withoutSpaces(again) == withoutSpaces(page)))
        __builtin_trap();
    return 0;
}
