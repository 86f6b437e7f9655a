#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// Random-access files of 128-byte records, shared by exercise files and the state file
// "TEMPO.SPC". Records are numbered from 1; record n starts at byte (n - 1) * 128. A string
// record is a 16-bit little-endian length L (at most 126) followed by L single-byte
// characters; the rest of the record is zero on writing and ignored on reading.
//
// Other programs read these files: the bytes are the contract.
class RecordFile
{
public:
    static constexpr int recordSize = 128;
    static constexpr int maxStringLength = recordSize - 2;

    // The 128 bytes of a string record; empty optional when the text is longer than 126 bytes.
    static std::optional<QByteArray> encodeString(const QByteArray &text);
    // The text of a string record. Bytes past the end of the data read as an empty string, and
    // a length larger than what the record holds is cut to the record.
    static QByteArray decodeString(const QByteArray &fileBytes, int recordNumber);

    // Numbers as the records store them: " 2", " 0", "-1"; read back by the leading-number rule
    // (leading spaces skipped, optional sign, digits up to the first non-digit; none gives 0).
    static QByteArray formatNumber(int value);
    static double parseNumber(const QByteArray &text);

    // Writes the given records (number -> string) into the file, creating it when missing. The
    // other records and any bytes past the last written record are kept as they were. Every
    // string is checked before anything is written, and the file is replaced atomically: a
    // failed write leaves the previous file unchanged. Returns false on any failure; `reason`,
    // when given, receives the system's message for a failure of the file itself (empty when a
    // string was refused).
    [[nodiscard]] static bool writeStrings(const QString &path, const QMap<int, QByteArray> &records,
                                           QString *reason = nullptr);

    // The whole file; empty optional when it does not exist or cannot be read.
    static std::optional<QByteArray> readAll(const QString &path);
};
