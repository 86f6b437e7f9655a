#include "moduletable.h"

#include "platform/editorstate.h"

QString ModuleTable::prompt()
{
    return tr("Choisir dans la liste");
}

const QList<SimulatorModule> &ModuleTable::modules()
{
    // Display texts are product names and stay untranslated. The list order is the one users
    // know; the extension numbering follows the alphabetical order of the names instead.
    static const QList<SimulatorModule> table = {
        {QStringLiteral("Dulmoret"), QStringLiteral("E04"), QStringLiteral("*.P04")},
        {QStringLiteral("Borvane"), QStringLiteral("E02"), QStringLiteral("*.P02")},
        {QStringLiteral("Korlim"), QStringLiteral("E11"), QStringLiteral("*.C04")},
        {QStringLiteral("Fardelle"), QStringLiteral("E06"), QStringLiteral("*.C01")},
        {QStringLiteral("Galmerin"), QStringLiteral("E07"), QStringLiteral("*.C02")},
        {QStringLiteral("Lumbrel"), QStringLiteral("E12"), QStringLiteral("*.C05")},
        {QStringLiteral("Holvaran"), QStringLiteral("E08"), QStringLiteral("*.C03")},
        {QStringLiteral("Cadrillon"), QStringLiteral("E03"), QStringLiteral("*.P03")},
        {QStringLiteral("Jastrel"), QStringLiteral("E10"), QStringLiteral("*.P07")},
        {QStringLiteral("Ambrel"), QStringLiteral("E01"), QStringLiteral("*.P01")},
        {QStringLiteral("Ivrelle"), QStringLiteral("E09"), QStringLiteral("*.P06")},
        {QStringLiteral("Esperlin"), QStringLiteral("E05"), QStringLiteral("*.P05")},
    };
    return table;
}

QStringList ModuleTable::listEntries()
{
    QStringList entries{prompt()};
    for (const SimulatorModule &module : modules())
        entries << module.displayText;
    return entries;
}

std::optional<QString> ModuleTable::extensionForDisplayText(const QString &displayText)
{
    for (const SimulatorModule &module : modules()) {
        if (module.displayText == displayText)
            return module.extension;
    }
    return std::nullopt;
}

std::optional<QString> ModuleTable::parameterPattern(const QString &extension)
{
    for (const SimulatorModule &module : modules()) {
        if (module.extension == extension)
            return module.parameterPattern;
    }
    return std::nullopt;
}

std::optional<QString> ModuleTable::displayTextForExtension(const QString &extension)
{
    for (const SimulatorModule &module : modules()) {
        if (module.extension == extension)
            return module.displayText;
    }
    return std::nullopt;
}

void ModuleTable::modulePicked(const QString &displayText, EditorState &state)
{
    if (const std::optional<QString> extension = extensionForDisplayText(displayText))
        state.moduleExtension = *extension;
}
