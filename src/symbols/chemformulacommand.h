#pragma once

#include "chem/chemformula.h"
#include "richtext/textrange.h"

#include <QByteArray>
#include <QHash>
#include <QImage>

#include <functional>

class RichTextControl;
struct EditorState;

// "Mettre en forme la formule chimique": writes the chemical formula typed in exo's selection,
// or at a caret the one that ends there, with the editor's own scripts and pictures. Counts and
// charges become the indices and exponents "&Indice" and "E&xposant" would write with the
// current steps and small mode; stacked ions become the ion composer's picture in the text's
// format; "<=>" becomes the reversible arrows of the "Math II" palette. One undo step.
class ChemFormulaCommand
{
public:
    using SettingsSource = std::function<ChemScriptSettings()>;

    ChemFormulaCommand(EditorState &state, RichTextControl &exo, SettingsSource settings);

    // The screen's device pixels per pixel, for the ion pictures; by default that of exo's widget,
    // as the composer draws them.
    void setDevicePixelRatioSource(std::function<qreal()> source) { m_ratio = std::move(source); }

    // Returns whether the text changed; a text that is no formula is left alone, silently.
    bool run();

    // The text the command works on: the selection, or back from a caret to the previous blank
    // (space, tab, line or paragraph break, object) or the start of the text.
    static TextRange formulaRange(const QByteArray &text, TextRange selection);

private:
    // Writes one run over its typed span at `start`; returns the number of positions written.
    int write(const ChemRun &run, int start, const QString &typed);
    void applyScript(ChemRun::Kind kind, TextRange range);

    EditorState &m_state;
    RichTextControl &m_exo;
    SettingsSource m_settings;
    ChemScriptSettings m_current;
    std::function<qreal()> m_ratio;
    QHash<QString, QImage> m_pictures; // drawn during one run, by formula and format
};
