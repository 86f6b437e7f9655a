#include "recordfile.h"

#include "rtf/atomicfile.h"

#include <QFile>

#include <cmath>

std::optional<QByteArray> RecordFile::encodeString(const QByteArray &text)
{
    if (text.size() > maxStringLength)
        return std::nullopt;
    QByteArray record(recordSize, '\0');
    record[0] = char(text.size() & 0xFF);
    record[1] = char((text.size() >> 8) & 0xFF);
    std::copy(text.begin(), text.end(), record.begin() + 2);
    return record;
}

QByteArray RecordFile::decodeString(const QByteArray &fileBytes, int recordNumber)
{
    if (recordNumber < 1)
        return {};
    const qsizetype offset = qsizetype(recordNumber - 1) * recordSize;
    if (offset + 2 > fileBytes.size())
        return {};
    const int length = uchar(fileBytes[offset]) | (uchar(fileBytes[offset + 1]) << 8);
    const qsizetype available = std::min<qsizetype>(fileBytes.size() - offset - 2, maxStringLength);
    return fileBytes.mid(offset + 2, std::min<qsizetype>(length, available));
}

QByteArray RecordFile::formatNumber(int value)
{
    return value < 0 ? QByteArray::number(value) : ' ' + QByteArray::number(value);
}

double RecordFile::parseNumber(const QByteArray &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 1e15)
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    return negative ? -value : value;
}

bool RecordFile::writeStrings(const QString &path, const QMap<int, QByteArray> &records, QString *reason)
{
    if (reason)
        reason->clear();
    QByteArray bytes = readAll(path).value_or(QByteArray());
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        const std::optional<QByteArray> record = encodeString(it.value());
        if (!record || it.key() < 1)
            return false;
        const qsizetype offset = qsizetype(it.key() - 1) * recordSize;
        if (bytes.size() < offset + recordSize)
            bytes.resize(offset + recordSize, '\0');
        std::copy(record->begin(), record->end(), bytes.begin() + offset);
    }
    const AtomicFile::Written written = AtomicFile::write(path, bytes);
    if (reason)
        *reason = written.reason;
    return written.ok;
}

std::optional<QByteArray> RecordFile::readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}
