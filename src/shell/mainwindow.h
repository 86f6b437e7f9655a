#pragma once

#include "exercisefileitems.h"
#include "platform/shellhost.h"
#include "startupsequence.h"

#include <QHash>
#include <QMainWindow>
#include <QSet>

#include <functional>
#include <map>
#include <memory>

class DocumentController;
class ExerciseController;
class QBoxLayout;
class QToolBar;
class EditModule;
class Ruler;
class SelectionMirror;
class ScriptFormat;
struct EditorState;
struct Platform;

// The main window `veligram`: the editor `exo`, the hidden buffers, the menus and the tool bar,
// start-up and the close guard. It builds its menus and tool bar from the command tables and
// connects them to the controllers that own the commands; it holds no command logic itself.
//
// Hooks for the modules that come after the shell (all through ShellHost, which they receive):
// - start-up: a module registers its actions for the StartupStep it owns (font list, module
//   list, difficulty list, exercise page…) in installModules(); start() runs them in order.
// - commands: bindCommand() connects a menu item or tool-bar button and enables it; items no
//   module bound stay disabled. `az51`/`az52` stay disabled when bound: exercise activation
//   enables them. `az55` is enabled when the Exercise menu opens if bound and the source given
//   to setExercisePathSource() returns a non-empty path; `sauvetout` when the File menu opens
//   if both exercise entries are visible.
// - exercise workflow: sujetampon()/corectampon(), setStatementItem()/setCorrectionItem() for
//   the File menu's `textexo`/`textcor` (and `sepatext`), saveDispatcher(),
//   confirmSaveChanges() and newText() for its prompts and the "Nouveau" flow, updateTitle()
//   after it sets currentDocumentPath.
// - layout: placeWidget() puts the exercise panel (`Picture4`, which carries the instructions,
//   the module list and the workflow buttons) right of the editor, the exercise page above exo,
//   the ruler and the palettes above the editor, extra boxes (font, size) on the tool bar.
// - formatting: the edit module (undo, format memory `memoriser`/`restituer`), the ruler
//   (`majregle`) and the format module (the mirror `maj`, the second tool-bar row, scripts)
//   are reachable below for the modules that paste, insert or change tab stops.
class MainWindow : public QMainWindow, public ShellHost
{
    Q_OBJECT
public:
    using ControlFactory = std::function<std::unique_ptr<RichTextControl>()>;

    MainWindow(EditorState &state, Platform &platform, const ControlFactory &createControl,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Runs the start-up sequence once; call before show().
    void start();
    // A file named on the command line, after start(): an exercise file (".E01" to ".E12", any
    // case) opens as the current exercise with its module selected; any other file opens as text.
    bool openFromCommandLine(const QString &path);
    // The exercise path box `Text1`: the open exercise's file, empty when none.
    QString exercisePath() const { return m_exercisePath ? m_exercisePath() : QString(); }
    DocumentController &documents() { return *m_documents; }
    EditModule &edit() { return *m_edit; }
    Ruler &ruler() { return *m_ruler; }
    SelectionMirror &mirror() { return *m_mirror; }
    ScriptFormat &scripts() { return *m_scripts; }

    // ShellHost
    RichTextControl &exo() override { return *m_exo; }
    RichTextControl &sujetampon() override { return *m_sujetampon; }
    RichTextControl &corectampon() override { return *m_corectampon; }
    RichTextControl &tamponrtf() override { return *m_tamponrtf; }
    RichTextControl &Rtfinsert() override { return *m_Rtfinsert; }
    QAction *command(const QString &name) override { return m_commands.value(name); }
    void bindCommand(const QString &name, std::function<void()> handler) override;
    void addStartupStep(StartupStep step, std::function<void()> action) override;
    void placeWidget(WindowArea area, QWidget *widget) override;
    bool saveDispatcher() override;
    bool confirmSaveChanges() override;
    bool newText() override;
    void updateTitle() override;
    void setStatementItem(const QString &path, bool visible) override;
    void setCorrectionItem(const QString &path, bool visible) override;
    QString statementItemPath() const override { return m_exerciseItems.statementPath(); }
    QString correctionItemPath() const override { return m_exerciseItems.correctionPath(); }
    bool statementItemVisible() const override { return m_exerciseItems.statementVisible(); }
    bool correctionItemVisible() const override { return m_exerciseItems.correctionVisible(); }
    void setExercisePathSource(std::function<QString()> source) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildLayout();
    void buildMenus();
    void buildToolBar();
    void installModules();
    void addShellStartupSteps();
    void applyInitialFormat();
    void placeOnScreen();
    void updateFileMenu();
    void updateExerciseMenu();
    void shutdown();

    EditorState &m_state;
    Platform &m_platform;
    ControlFactory m_createControl; // hidden buffers that dialogs make for themselves (`iertf`)
    std::unique_ptr<RichTextControl> m_exo;
    std::unique_ptr<RichTextControl> m_sujetampon;
    std::unique_ptr<RichTextControl> m_corectampon;
    std::unique_ptr<RichTextControl> m_tamponrtf;
    std::unique_ptr<RichTextControl> m_Rtfinsert;
    ExerciseFileItems m_exerciseItems;
    std::unique_ptr<DocumentController> m_documents;
    ExerciseController *m_exercise = nullptr; // owned by the exercise panel
    EditModule *m_edit = nullptr;             // owned by exo
    Ruler *m_ruler = nullptr;                 // owned by the ruler widget
    SelectionMirror *m_mirror = nullptr;      // owned by the format bar
    ScriptFormat *m_scripts = nullptr;        // owned by the format bar
    QToolBar *m_formatBar = nullptr;
    StartupSequence m_startup;
    QHash<QString, QAction *> m_commands;
    QSet<QString> m_bound;
    std::function<QString()> m_exercisePath;
    QToolBar *m_toolBar = nullptr;
    std::map<WindowArea, QBoxLayout *> m_areas;
    bool m_started = false;
    bool m_shutDown = false;
};
