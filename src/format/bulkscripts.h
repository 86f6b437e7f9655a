#pragma once

#include "formateur.h"

#include <functional>
#include <memory>
#include <optional>

class RichTextControl;
struct EditorState;
struct Platform;

// The script state of the tool bar and the Indices menu that the bulk commands read.
struct ScriptSteps
{
    int exponentStep = 8;  // `udexp`
    int indexStep = 5;     // `udind`
    bool smallMode = true; // `check2` ticked
};

// What the bulk commands need from the script controls, wired by the main window.
struct BulkScriptHooks
{
    std::function<ScriptSteps()> steps;
    // Give `udexp` / `udind` a new value; that runs their step change (label and re-apply).
    std::function<void(int)> setExponentStep;
    std::function<void(int)> setIndexStep;
    // Tick or clear `check2`, the small scripts mode, without running its menu handler.
    std::function<void(bool)> setSmallMode;
};

// The commands of the "In&dices et exposants" menu that rework many characters at once:
// `toutexpo`, `toutindi` (with `Formateur`), `decaexp`, `decaind` and `decabiz`.
class BulkScripts
{
public:
    using ControlFactory = std::function<std::unique_ptr<RichTextControl>()>;
    using FormateurRunner = std::function<std::optional<FormateurSettings>(const FormateurSettings &)>;

    BulkScripts(EditorState &state, const Platform &platform, RichTextControl &exo, BulkScriptHooks hooks,
                ControlFactory createBuffer, FormateurRunner showFormateur);

    void toutexpo();
    void toutindi();
    void decaexp();
    void decaind();
    void decabiz();

    // "OK" of `Formateur`: the selection, worked on in the hidden buffer `iertf`, replaces
    // itself in one undo step.
    void applyFormateur(const FormateurSettings &settings);

    // A typed step read in the user's locale (the C form is accepted too), rounded down; empty
    // when it is not a number.
    static std::optional<int> parseStep(const QString &answer);

private:
    void openFormateur(int kind, const QString &emptySelectionMessage);
    void askStep(const QString &title, int current, const std::function<void(int)> &apply);
    void showMessage(const QString &text, const QString &title);
    ScriptSteps steps() const;

    EditorState &m_state;
    const Platform &m_platform;
    RichTextControl &m_exo;
    BulkScriptHooks m_hooks;
    ControlFactory m_createBuffer;
    FormateurRunner m_showFormateur;
};
