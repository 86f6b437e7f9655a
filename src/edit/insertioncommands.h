#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class RichTextControl;
struct EditorState;
struct Platform;

// What the insertion commands need from the rest of the window.
struct InsertionHooks
{
    std::function<void()> memoriser; // the format memory, before program-made material is pasted
    std::function<std::unique_ptr<RichTextControl>()> createBuffer; // a hidden control for drawing text
    std::function<void(const QString &)> showStatus;                // a message in the status bar
};

// The insertion menu's image and text commands, paste special and the two link options of the
// Options menu. Material that does not go in as an object becomes a picture held in
// `picture5`, goes on the clipboard and is pasted by Shift+Insert, so that the document keeps
// a plain picture and the format memory puts the insertion point's format back afterwards.
class InsertionCommands
{
    Q_DECLARE_TR_FUNCTIONS(InsertionCommands)
public:
    InsertionCommands(RichTextControl &exo, RichTextControl &Rtfinsert, EditorState &state,
                      const Platform &platform, InsertionHooks hooks);

    void ima(); // "Ima&ge (incorporée)"
    // The image file `path` inserted at the caret as "Ima&ge (incorporée)" inserts the file its
    // dialog gives (an image dropped on the text).
    void insertImageFile(const QString &path);
    void insertext();  // "&Texte"
    void supercolle(); // "Colla&ge spécial"
    void lierobj() { m_lierobj = !m_lierobj; }
    void liercolle() { m_liercolle = !m_liercolle; }
    bool linksObjects() const { return m_lierobj; } // "Conserver la liaison lors de l'insertion"
    bool linksPaste() const { return m_liercolle; } // "… lors du collage spécial"

    // Clipboard, Shift+Insert, holder emptied: the last leg of every picture insertion.
    void pastePicture5();
    QImage &picture5() { return m_picture5; }
    // The widest picture the text shows: what images are scaled to when read.
    int pictureWidth() const;

    // Where the editor's file dialogs open: the folder of the open exercise or document, else
    // the last folder chosen in this run, else the user's documents folder.
    QString dialogFolder() const;
    void rememberFolder(const QString &path);

    static const char *imageFilter();
    static const char *textFilter();

private:
    void insertChosenImage(const QString &path);

    RichTextControl &m_exo;
    RichTextControl &m_Rtfinsert;
    EditorState &m_state;
    const Platform &m_platform;
    InsertionHooks m_hooks;
    QImage m_picture5;
    bool m_lierobj = true;
    bool m_liercolle = true;
    QString m_lastFolder;
};
