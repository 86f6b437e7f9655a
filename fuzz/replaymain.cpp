// A driver for the fuzz targets in ordinary builds (gcc, no libFuzzer): it feeds the target every
// seed file, then a fixed number of inputs mutated from them with a fixed random sequence, so
// the suite and its sanitizer run catch a fault the seeds or their near neighbours reach, the
// same on every machine. Longer, guided searches stay with scripts/fuzz.sh.
//
//   replay_TARGET [-runs=N] [-dict=FILE] SEED-FILE-OR-FOLDER...
//
// A failing input is written to replay-TARGET-failing before the target is called, so the run
// that trapped leaves it behind to reproduce.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

// xorshift64*: small, and the same sequence everywhere.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed ? seed : 1) {}
    std::uint64_t next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 0x2545F4914F6CDD1DULL;
    }
    qsizetype below(qsizetype bound) { return bound > 0 ? qsizetype(next() % std::uint64_t(bound)) : 0; }

private:
    std::uint64_t m_state;
};

// A libFuzzer dictionary: one "token" per line, with \\, \" and \xNN escapes; # starts a comment.
QList<QByteArray> readDictionary(const QString &path)
{
    QList<QByteArray> tokens;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tokens;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype open = line.indexOf('"');
        const qsizetype close = line.lastIndexOf('"');
        if (line.startsWith('#') || open < 0 || close <= open)
            continue;
        QByteArray token;
        for (qsizetype i = open + 1; i < close; ++i) {
            if (line[i] == '\\' && i + 1 < close) {
                if (line[i + 1] == 'x' && i + 3 < close) {
                    token += char(line.mid(i + 2, 2).toInt(nullptr, 16));
                    i += 3;
                } else {
                    token += line[++i];
                }
            } else {
                token += line[i];
            }
        }
        tokens += token;
    }
    return tokens;
}

QByteArray mutated(const QList<QByteArray> &seeds, const QList<QByteArray> &dictionary, Random &random)
{
    QByteArray input = seeds[random.below(seeds.size())];
    const int steps = 1 + int(random.below(4));
    for (int step = 0; step < steps; ++step) {
        const qsizetype at = random.below(input.size() + 1);
        switch (random.below(7)) {
        case 0: // flip a bit
            if (!input.isEmpty())
                input[random.below(input.size())] ^= char(1 << random.below(8));
            break;
        case 1: // a dictionary token, or a random byte where there is no dictionary
            input.insert(at, dictionary.isEmpty() ? QByteArray(1, char(random.below(256)))
                                                  : dictionary[random.below(dictionary.size())]);
            break;
        case 2: // remove a stretch
            input.remove(at, 1 + random.below(16));
            break;
        case 3: // repeat a stretch many times (deep nesting, long runs)
            if (!input.isEmpty()) {
                const qsizetype from = random.below(input.size());
                const QByteArray piece = input.mid(from, 1 + random.below(8));
                input.insert(at, piece.repeated(int(1 + random.below(400))));
            }
            break;
        case 4: // cut the end off
            input.truncate(at);
            break;
        case 5: // splice in part of another seed
        {
            const QByteArray &other = seeds[random.below(seeds.size())];
            input.insert(at, other.mid(random.below(other.size() + 1), random.below(64)));
            break;
        }
        default: // a random byte
            input.insert(at, char(random.below(256)));
            break;
        }
    }
    return input.left(65536);
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int runs = 1000;
    QList<QByteArray> dictionary;
    QList<QByteArray> seeds;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(QLatin1String("-runs="))) {
            runs = argument.mid(6).toInt();
        } else if (argument.startsWith(QLatin1String("-dict="))) {
            dictionary = readDictionary(argument.mid(6));
        } else if (QFileInfo(argument).isDir()) {
            QDirIterator it(argument, QDir::Files, QDirIterator::Subdirectories);
            QStringList files;
            while (it.hasNext())
                files += it.next();
            files.sort(); // the same order, hence the same inputs, everywhere
            for (const QString &path : files) {
                QFile file(path);
                if (file.open(QIODevice::ReadOnly))
                    seeds += file.read(1 << 20);
            }
        } else {
            QFile file(argument);
            if (file.open(QIODevice::ReadOnly))
                seeds += file.read(1 << 20);
        }
    }
    if (seeds.isEmpty())
        seeds += QByteArray();

    const QString name = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    QFile failing(name + QLatin1String("-failing"));
    const auto run = [&failing](const QByteArray &input) {
        if (failing.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            failing.write(input);
            failing.close();
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.constData()),
                               std::size_t(input.size()));
    };
    for (const QByteArray &seed : std::as_const(seeds))
        run(seed);
    Random random(0x5eed);
    for (int i = 0; i < runs; ++i)
        run(mutated(seeds, dictionary, random));
    failing.remove();
    std::printf("%s: %lld seeds and %d mutated inputs, no fault\n", qPrintable(name),
                static_cast<long long>(seeds.size()), runs);
    return 0;
}
