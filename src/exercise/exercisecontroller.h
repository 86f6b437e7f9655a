#pragma once

#include "exercisepanel.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QObject>

#include <optional>

class ExercisePage;
class RichTextControl;
class ShellHost;
struct EditorState;
struct ExerciseFileResult;

// The exercise workflow: module choice, the exercise page's commands, opening, saving and
// closing an exercise, the activation `transessai` that follows every change of the exercise
// path `Text1`, and the switching of `exo` between the statement and the correction kept in
// `sujetampon` and `corectampon`.
//
// Which text `exo` shows is read from currentDocumentPath alone: the statement when it equals
// the statement item's path, the correction when it equals the correction item's path.
class ExerciseController : public QObject
{
    Q_OBJECT
public:
    ExerciseController(EditorState &state, const Platform &platform, ShellHost &host, ExercisePage &page,
                       ExercisePanel &panel, QObject *parent = nullptr);

    // --- Start-up steps, in the order the main window runs them ---
    void fillModuleList();
    void paintInstructions();
    void fillDifficultyList();
    void readPageAtStartup(); // the page read from `Text1` when it names a file

    // An exercise file named on the command line, after start-up: its module is selected by its
    // extension (any case) and the exercise is opened and read into the page. False, with the
    // "Lecture impossible" message for a missing file, when nothing was opened.
    bool openFromCommandLine(const QString &path);
    // Opens the exercise file `path` as openExercise() opens the one its dialog gives (a
    // recent file, a dropped file), with the module its extension names selected first: the
    // unsaved-changes prompt, then activation. False when nothing was opened.
    bool openExerciseFile(const QString &path);
    // Whether `path` ends with the extension of a module (".E01" to ".E12", any case).
    static bool isExercisePath(const QString &path);

    // --- Commands ---
    void modulePicked(const QString &displayText);
    void showPage();               // Image2, az53
    void hidePage();               // Command19
    void chooseSlotFile(int slot); // CommandZ10(i)
    void clearSlot(int slot);      // CommandZ14(i)
    void saveExercise();           // Command20
    void openExercise();           // command10, az54
    void newExercise();            // Command14, az55
    void editStatement();          // Image3, az52
    void editCorrection();         // Image4, az51
    void transessai();             // runs on every change of `Text1`

    bool moduleSelected() const;

Q_SIGNALS:
    // An exercise file was opened or written, full path.
    void exerciseFileUsed(const QString &path);

private:
    enum class Text { Statement, Correction };

    bool moduleCheck();
    void selectModuleOf(const QString &path);
    // An existing exercise file becomes the page's, its module and folder chosen; the full
    // path, or nothing (reported) when there is no such file.
    std::optional<QString> takeExercisePath(const QString &path);
    void readPage();
    void switchTo(Text text);
    bool showsStatement() const;
    bool showsCorrection() const;
    void setExerciseCommandsEnabled(bool statement, bool correction);
    void loadBuffer(RichTextControl &buffer, const QString &path);
    void report(const ExerciseFileResult &result);

    EditorState &m_state;
    Platform m_platform;
    ShellHost &m_host;
    ExercisePage &m_page;
    ExercisePanel &m_panel;
};
