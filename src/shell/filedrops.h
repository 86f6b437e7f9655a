#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;
class RichTextControl;
struct FileDrop;

// Files dropped on the main window. A text (".rtf", ".txt") opens as "&Ouvrir un fichier
// texte" opens it, an exercise file (".E01" to ".E12") as "&Ouvrir un exercice" does, wherever
// they are dropped; an image dropped on the text goes in at the drop point as "Ima&ge
// (incorporée)" inserts it. Anything else is refused while it is dragged, without a word. Of
// several files dragged together, the first decides.
//
// The command runs once the drop is over: its prompts must not keep the program the files
// come from waiting for the end of the drop.
class FileDrops : public QObject
{
    Q_OBJECT
public:
    enum class Kind { Text, Exercise, Image, Other };

    struct Commands
    {
        std::function<void(const QString &path)> openText;
        std::function<void(const QString &path)> openExercise;
        std::function<void(const QString &path, int position)> insertImage;
    };

    FileDrops(QWidget &window, RichTextControl &exo, Commands commands);

    static Kind kindOf(const QString &path);
    // Whether a drop of `paths` does something: on the text (where the user may insert), or
    // elsewhere on the window.
    static bool takes(const QStringList &paths, bool onEditableText);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dropped(const QString &path, bool onText, int position);

    Commands m_commands;
};
