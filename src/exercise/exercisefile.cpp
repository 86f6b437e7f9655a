#include "exercisefile.h"

#include "exerciselog.h"
#include "platform/messageboxes.h"
#include "recordfile.h"
#include "rtf/cp1252.h"

#include <cmath>
#include <limits>

namespace {

std::optional<QByteArray> encodeText(const QString &text)
{
    // A character the code page cannot hold would otherwise be written as '?', silently
    // changing a file name or the title.
    if (!Cp1252::canEncode(text))
        return std::nullopt;
    const QByteArray bytes = Cp1252::encode(text);
    if (bytes.size() > RecordFile::maxStringLength)
        return std::nullopt;
    return bytes;
}

QString decodeRecord(const QByteArray &bytes, int record)
{
    return Cp1252::decode(RecordFile::decodeString(bytes, record));
}

// A stored number as its control takes it: rounded half to even into 16 bits, then checked
// against the control's range.
std::optional<int> readNumber(const QByteArray &bytes, int record, int minimum, int maximum)
{
    const double value = std::nearbyint(RecordFile::parseNumber(RecordFile::decodeString(bytes, record)));
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    const int number = int(value);
    if (number < minimum || number > maximum)
        return std::nullopt;
    return number;
}

} // namespace

QString ExerciseFile::trimSpaces(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

ExerciseFileResult ExerciseFile::writeFailure(const QString &reason)
{
    return {false, tr("Sauvegarde impossible"),
            withSystemReason(tr("Vérifier:\n- le nom du fichier,\n- l'espace disponible sur le disque\n- la "
                                "protection en écriture."),
                             reason)};
}

ExerciseFileResult ExerciseFile::readFailure()
{
    return {false, tr("Lecture impossible"), tr("Vérifier:\n- le nom du fichier,\n- l'état du lecteur.")};
}

std::optional<QMap<int, QByteArray>> ExerciseFile::encode(const ExerciseData &data)
{
    if (data.description.size() > ExerciseData::maxDescriptionLength ||
        data.title.size() > ExerciseData::maxTitleLength)
        return std::nullopt;
    QMap<int, QByteArray> records;
    for (int i = 0; i < int(data.files.size()); ++i) {
        const std::optional<QByteArray> name = encodeText(data.files[i]);
        if (!name)
            return std::nullopt;
        records.insert(i + 1, *name);
    }
    records.insert(5, RecordFile::formatNumber(data.difficulty));
    records.insert(6, RecordFile::formatNumber(data.scroll));
    for (int i = 0; i < descriptionRecordCount; ++i)
        records.insert(firstDescriptionRecord + i, QByteArray());
    // Pieces are cut by character count, so a line break "\r\n" may straddle two records.
    QString remaining = data.description;
    int record = firstDescriptionRecord;
    while (remaining.size() > descriptionPieceLength) {
        const std::optional<QByteArray> piece = encodeText(remaining.left(descriptionPieceLength));
        if (!piece)
            return std::nullopt;
        records.insert(record++, *piece);
        remaining.remove(0, descriptionPieceLength);
    }
    const std::optional<QByteArray> last = encodeText(remaining);
    const std::optional<QByteArray> title = encodeText(data.title);
    if (!last || !title)
        return std::nullopt;
    records.insert(record, *last);
    records.insert(titleRecord, *title);
    return records;
}

ExerciseFileResult ExerciseFile::write(const QString &path, const ExerciseData &data)
{
    const std::optional<QMap<int, QByteArray>> records = encode(data);
    if (!records) {
        qCWarning(lcExercise) << "exercise fields cannot be stored in" << path;
        return writeFailure();
    }
    if (QString reason; !RecordFile::writeStrings(path, *records, &reason)) {
        qCWarning(lcExercise) << "cannot write" << path << reason;
        return writeFailure(reason);
    }
    return {};
}

ExerciseFileResult ExerciseFile::read(const QString &path, ExerciseData &page)
{
    const std::optional<QByteArray> bytes = RecordFile::readAll(path);
    if (!bytes)
        return readFailure();
    for (int i = 0; i < int(page.files.size()); ++i)
        page.files[i] = decodeRecord(*bytes, i + 1);
    const std::optional<int> difficulty = readNumber(*bytes, 5, 0, ExerciseData::difficultyCount - 1);
    if (!difficulty)
        return readFailure();
    page.difficulty = *difficulty;
    const std::optional<int> scroll =
        readNumber(*bytes, 6, ExerciseData::scrollMinimum, ExerciseData::scrollMaximum);
    if (!scroll)
        return readFailure();
    page.scroll = *scroll;
    page.description.clear();
    for (int i = 0; i < descriptionRecordCount; ++i) {
        const QString piece = decodeRecord(*bytes, firstDescriptionRecord + i);
        if (!trimSpaces(piece).isEmpty())
            page.description += piece;
    }
    page.title = trimSpaces(decodeRecord(*bytes, titleRecord));
    return {};
}

ExerciseFile::TextNames ExerciseFile::readTextNames(const QString &path)
{
    const QByteArray bytes = RecordFile::readAll(path).value_or(QByteArray());
    return {decodeRecord(bytes, 1), decodeRecord(bytes, 3)};
}
