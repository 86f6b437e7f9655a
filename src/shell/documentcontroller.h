#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

class ExerciseFileItems;
class RichTextControl;
struct EditorState;
struct Platform;

// The text-document commands of the File menu and tool bar: new, open, save, save as, save the
// statement and correction together, and open the statement or correction file. They keep
// documentSaved and currentDocumentPath, and call `updateTitle` whenever the path changes.
//
// Every flow says whether it did its work, so that a caller can stop: the user who answers Yes
// to "Enregistrer modifications ?" and then cancels the save dialog (or whose save fails) keeps
// the text, instead of losing it to the command that asked.
class DocumentController
{
    Q_DECLARE_TR_FUNCTIONS(DocumentController)

public:
    DocumentController(EditorState &state, Platform &platform, RichTextControl &exo,
                       RichTextControl &sujetampon, RichTextControl &corectampon,
                       const ExerciseFileItems &exerciseItems, std::function<void()> updateTitle);

    // "Enregistrer modifications ?" when documentSaved is 0: Yes runs the save dispatcher, No
    // goes on. False when the command must stop (Yes, and nothing was saved).
    bool confirmSaveChanges();

    bool newText();
    bool open();
    // Loads `path` (command line): no prompt, a failure is reported.
    bool openPath(const QString &path);
    // Opens `path` as open() opens the file its dialog gives (a recent file, a dropped file):
    // the unsaved-changes prompt, then the load; a load that fails changes nothing.
    bool openFile(const QString &path);
    // Told the path of every text document opened or saved, once the file is read or written.
    void setFileUsedHandler(std::function<void(const QString &path)> handler)
    {
        m_fileUsed = std::move(handler);
    }
    bool save();
    bool saveAs();
    bool saveAll();
    bool saveDispatcher();
    bool openStatement();
    bool openCorrection();

    // The formatting a new text starts with, at the insertion point of `text`.
    static void resetTypingFormat(RichTextControl &text);

private:
    enum class ExerciseText { Statement, Correction };

    bool openExerciseText(ExerciseText which);
    bool showsStatement() const;
    bool showsCorrection() const;
    void setPath(const QString &path);
    bool loadChosen(const QString &path);
    void fileUsed(const QString &path);

    EditorState &m_state;
    Platform &m_platform;
    RichTextControl &m_exo;
    RichTextControl &m_sujetampon;
    RichTextControl &m_corectampon;
    const ExerciseFileItems &m_items;
    std::function<void()> m_updateTitle;
    std::function<void(const QString &)> m_fileUsed;
};
