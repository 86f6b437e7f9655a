#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct EditorState;

// One simulator module: the text the module list shows, the extension of its exercise files
// and the pattern of the parameter files its simulator writes.
struct SimulatorModule
{
    QString displayText;
    QString extension;
    QString parameterPattern;
};

// The twelve simulator modules in the order of the module list `Combo2`. The list is not
// sorted and its first entry is a prompt, not a module: callers that ask "is a module chosen?"
// test the list index, never moduleExtension, which keeps the last module after the prompt is
// chosen again.
class ModuleTable
{
    Q_DECLARE_TR_FUNCTIONS(ModuleTable)
public:
    static QString prompt();
    // The thirteen entries of the module list: the prompt at index 0, then the modules.
    static QStringList listEntries();
    static const QList<SimulatorModule> &modules(); // list order, without the prompt

    // The extension of a module given by its exact, case-sensitive display text; empty for the
    // prompt or any other text.
    static std::optional<QString> extensionForDisplayText(const QString &displayText);
    // The parameter-file pattern of an extension "E01".."E12" (exact case); empty otherwise,
    // so that the caller keeps its own default.
    static std::optional<QString> parameterPattern(const QString &extension);
    static std::optional<QString> displayTextForExtension(const QString &extension);

    // A module was picked in the list: moduleExtension follows a module and keeps its value
    // when the prompt is picked.
    static void modulePicked(const QString &displayText, EditorState &state);
};
