#pragma once

#include <QString>

#include <cstdint>

// The editor's application-wide state: one instance, owned by main(), handed by reference to
// the modules that read or write it. User-interface thread only.
struct EditorState
{
    static inline const QString untitled = QStringLiteral("SANS NOM");

    int16_t documentSaved = 1;              // 1: the text in exo has no unsaved changes
    QString currentDocumentPath = untitled; // the title follows it
    QString moduleExtension;                // "E01".."E12", empty before a choice
    QString exerciseDirectory;              // folder of the current exercise, ending with a separator
    int16_t mirrorPhase = 0;                // 0 idle, 1 or 2 while the mirror sets controls
    int16_t sizeBeforeScript = 0;           // font size saved when leaving normal scripts
    int16_t bulkScriptKind = 0;             // 1 exponents, 2 indices
    int16_t formatRestorePending = 0;       // a remembered format waits for the next selection change
    int16_t ionFormulaReady = 0;            // the ion composer put a picture on the clipboard
    QString specialCharsFont = QStringLiteral("Wingdings");
    QString searchText;
    QString replaceText;
    int findOptions = 0;           // 2 whole word, 4 match case
    int32_t lastFoundPosition = 0; // so the first continue-search starts at 1
    int16_t replaceReported = 0;
    // 1 while the save-as flow runs (its dialogs move the selection): the selection handler
    // then leaves a pending format restore alone.
    int16_t savingAs = 0;

    QString windowTitle() const { return QStringLiteral("VELIGRAM - ") + currentDocumentPath; }
};
