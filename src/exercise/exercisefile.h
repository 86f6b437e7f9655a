#pragma once

#include "exercisedata.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QMap>
#include <QString>

#include <optional>

// Outcome of reading or writing an exercise file: on failure, the message box to show.
struct [[nodiscard]] ExerciseFileResult
{
    bool ok = true;
    QString title;
    QString message;
    explicit operator bool() const { return ok; }
};

// The exercise file: eleven string records of the record file layout.
//   1-4  file names of ficex 0..3 (statement, initial parameters, correction, its parameters)
//   5    difficulty as a number, 6 the scroll value as a number
//   7-10 the description in pieces of 120 characters, 11 the title
class ExerciseFile
{
    Q_DECLARE_TR_FUNCTIONS(ExerciseFile)
public:
    static constexpr int descriptionPieceLength = 120;
    static constexpr int firstDescriptionRecord = 7;
    static constexpr int descriptionRecordCount = 4;
    static constexpr int titleRecord = 11;

    // The bytes of records 1 to 11; empty optional when a field cannot be stored: a character
    // Windows-1252 cannot hold, a record longer than 126 bytes, a description or title longer
    // than its box allows. Checked as a whole so that a refused write touches nothing.
    static std::optional<QMap<int, QByteArray>> encode(const ExerciseData &data);

    // Writes records 1 to 11 into `path`, creating the file when missing. Bytes past record 11
    // of an existing longer file are kept. Either the whole write happens or the file is left
    // as it was.
    static ExerciseFileResult write(const QString &path, const ExerciseData &data);

    // Fills `page` from the file in record order. On failure (missing or unreadable file, a
    // number that its control cannot show) the fields read so far keep their new values and
    // the others their old ones. Reading never creates the file.
    static ExerciseFileResult read(const QString &path, ExerciseData &page);

    // Records 1 and 3, as exercise activation wants them; a missing file gives empty names.
    struct TextNames
    {
        QString statement;
        QString correction;
    };
    static TextNames readTextNames(const QString &path);

    // The message of a failed write, followed by the system's reason when there is one.
    static ExerciseFileResult writeFailure(const QString &reason = {});
    static ExerciseFileResult readFailure();

    // Leading and trailing spaces removed, nothing else: a piece holding only a line break is
    // not blank.
    static QString trimSpaces(const QString &text);
};
