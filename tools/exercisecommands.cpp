#include "commands.h"
#include "exercise/exercisefile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <optional>

namespace {

int fail(const QString &message)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << message << '\n';
    return 1;
}

int usage()
{
    return fail(QStringLiteral(
        "usage: veligram-tool exercise show FILE\n"
        "       veligram-tool exercise write FILE [--statement S] [--initial-parameters P] [--correction C]\n"
        "             [--correction-parameters Q] [--difficulty N] [--scroll N] [--description D] [--title "
        "T]"));
}

// The same two lines a message box would show: the title, then the text.
int failWith(const ExerciseFileResult &result)
{
    return fail(result.title + QLatin1Char('\n') + result.message);
}

int show(const QString &path)
{
    ExerciseData page;
    if (const ExerciseFileResult result = ExerciseFile::read(path, page); !result)
        return failWith(result);
    const QJsonObject json{
        {QStringLiteral("statement"), page.files[0]},
        {QStringLiteral("initialParameters"), page.files[1]},
        {QStringLiteral("correction"), page.files[2]},
        {QStringLiteral("correctionParameters"), page.files[3]},
        {QStringLiteral("difficulty"), page.difficulty},
        {QStringLiteral("scroll"), page.scroll},
        {QStringLiteral("description"), page.description},
        {QStringLiteral("title"), page.title},
    };
    QTextStream(stdout) << QJsonDocument(json).toJson(QJsonDocument::Compact) << '\n';
    return 0;
}

std::optional<int> number(const QString &text, int minimum, int maximum)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

int write(const QString &path, QStringList options)
{
    ExerciseData data;
    while (!options.isEmpty()) {
        const QString name = options.takeFirst();
        if (options.isEmpty())
            return usage();
        const QString value = options.takeFirst();
        if (name == QLatin1String("--statement")) {
            data.files[0] = value;
        } else if (name == QLatin1String("--initial-parameters")) {
            data.files[1] = value;
        } else if (name == QLatin1String("--correction")) {
            data.files[2] = value;
        } else if (name == QLatin1String("--correction-parameters")) {
            data.files[3] = value;
        } else if (name == QLatin1String("--difficulty")) {
            const std::optional<int> difficulty = number(value, 0, ExerciseData::difficultyCount - 1);
            if (!difficulty)
                return fail(QStringLiteral("veligram-tool: --difficulty takes 0 to 3"));
            data.difficulty = *difficulty;
        } else if (name == QLatin1String("--scroll")) {
            const std::optional<int> scroll =
                number(value, ExerciseData::scrollMinimum, ExerciseData::scrollMaximum);
            if (!scroll)
                return fail(QStringLiteral("veligram-tool: --scroll takes %1 to %2")
                                .arg(ExerciseData::scrollMinimum)
                                .arg(ExerciseData::scrollMaximum));
            data.scroll = *scroll;
        } else if (name == QLatin1String("--description")) {
            data.description = value;
        } else if (name == QLatin1String("--title")) {
            data.title = value;
        } else {
            return usage();
        }
    }
    if (const ExerciseFileResult result = ExerciseFile::write(path, data); !result)
        return failWith(result);
    return 0;
}

} // namespace

int runExerciseCommand(const QStringList &args)
{
    if (args.size() == 2 && args[0] == QLatin1String("show"))
        return show(args[1]);
    if (args.size() >= 2 && args[0] == QLatin1String("write"))
        return write(args[1], args.mid(2));
    return usage();
}
