#pragma once

#include <QString>

#include <functional>

class QAction;
class QWidget;
class RichTextControl;

// The start-up steps of the main window, in the order they run. A module that owns a step
// registers an action for it (ShellHost::addStartupStep); a step nobody registered is skipped,
// so a module starts taking part in start-up the day it is wired, without touching the sequence.
enum class StartupStep {
    InitialIndents,    // exo: left indent 19, right indent 12
    PaletteButtons,    // symbol palettes: button font size and special captions
    RulerMarkers,      // ruler: the ten tab markers out of sight
    SharedDefaults,    // mirror font-box guard off, special-characters font "Wingdings"
    StateFileOpen,     // "OUI" into record 5 of TEMPO.SPC
    WindowPlacement,   // size, state and position from the screen width
    DocumentSaved,     // documentSaved = 1
    InitialFormat,     // exo: plain Arial 10, black, left, no offset
    Title,             // "VELIGRAM - " + currentDocumentPath
    FontSizeBox,       // `taille` from `UpDown1`, applied to exo
    FontList,          // `Combo1` filled with the screen fonts, set to "Arial"
    RulerIndent,       // ruler's left-indent shape `gauche` from exo
    ModuleList,        // `Combo2` filled, first entry selected
    InstructionsPanel, // instructions painted once
    DifficultyList,    // `ComboZ1` filled, entry 0 selected
    ExercisePage,      // the page read from `Text1` when it names a file
};

// Where a module's widget goes in the main window.
enum class WindowArea {
    Palettes,       // above the editor, under the tool bar
    Ruler,          // right above exo
    ExercisePage,   // above exo, in the editor column; the page shows and hides itself
    ExercisePanel,  // right of the editor (module list, workflow buttons, instructions)
    ToolBar,        // appended to the main tool bar (font box, size box…)
    SymbolPalettes, // left of the editor, beside exo (the symbol palettes `SSTab1`)
    FormatBar,      // the second tool-bar row: character and script formats
};

// What the main window offers the feature modules. They sit below the shell and cannot include
// it, so they take this interface in their constructors; the main window implements it and the
// shell's wiring (MainWindow::installModules) hands it over.
//
// Item names are the given control names: menu items (`Nouv`, `q21`, `az55`…) and tool-bar
// buttons (`Command2`…); a control array element is named with its index in parentheses, as
// `Check1(1)`, `optcoul(0)`, `Option3(2)`. Every item starts disabled until a module binds it, so
// no item pretends to work; the File and Exercise menus then apply their own enabling rules.
class ShellHost
{
public:
    virtual ~ShellHost() = default;

    // exo is the visible editor; the others are hidden buffers that live as long as the window.
    virtual RichTextControl &exo() = 0;
    virtual RichTextControl &sujetampon() = 0;
    virtual RichTextControl &corectampon() = 0;
    virtual RichTextControl &tamponrtf() = 0;
    virtual RichTextControl &Rtfinsert() = 0;

    // The menu item or tool-bar button of that name; nullptr when there is none. Modules may set
    // its checked state; checkable buttons of one array are not grouped (the mirror sets them).
    virtual QAction *command(const QString &name) = 0;
    // Connects `handler` to the item's `triggered` and enables the item.
    virtual void bindCommand(const QString &name, std::function<void()> handler) = 0;

    virtual void addStartupStep(StartupStep step, std::function<void()> action) = 0;
    virtual void placeWidget(WindowArea area, QWidget *widget) = 0; // the window takes ownership

    // --- Text documents ---
    // `Command4`: save statement and correction when an exercise with both texts is open (and
    // the shown text too when it is neither), otherwise save. True when everything was saved.
    virtual bool saveDispatcher() = 0;
    // "Enregistrer modifications ?" when documentSaved is 0; Yes runs saveDispatcher. False
    // means the calling command must stop: the user said Yes and the save did not happen.
    virtual bool confirmSaveChanges() = 0;
    virtual bool newText() = 0;     // the New command, prompt included; false when it stopped
    virtual void updateTitle() = 0; // after changing currentDocumentPath

    // --- The exercise entries of the File menu ---
    // `textexo` and `textcor` show full paths (kept as given: a '&' in a path is not a
    // mnemonic). `sepatext` is shown exactly when `textexo` is.
    virtual void setStatementItem(const QString &path, bool visible) = 0;
    virtual void setCorrectionItem(const QString &path, bool visible) = 0;
    virtual QString statementItemPath() const = 0;
    virtual QString correctionItemPath() const = 0;
    virtual bool statementItemVisible() const = 0;
    virtual bool correctionItemVisible() const = 0;

    // The exercise path box `Text1`, for the Exercise menu's rule ("&Fermer exercice" enabled
    // exactly when it is not empty). Without a source the path counts as empty.
    virtual void setExercisePathSource(std::function<QString()> source) = 0;
};
