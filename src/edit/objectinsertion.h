#pragma once

#include "objecttypedialog.h"

#include <QCoreApplication>

#include <functional>
#include <optional>

class InsertionCommands;
class RichTextControl;
struct Platform;

// "&Objet": an object of another application, made from a file. With "Conserver la liaison
// lors de l'insertion" the object goes into exo linked to its file and opens for editing in
// the desktop's application for it; each change of the file, and its closing, take its picture
// again (a file that is gone leaves the last picture). Without it, the application opens on
// the file and, once it has closed, the file's last picture is pasted as a plain picture.
class ObjectInsertion
{
    Q_DECLARE_TR_FUNCTIONS(ObjectInsertion)
public:
    using Chooser = std::function<std::optional<ObjectChoice>()>;

    // `choose` stands for the object dialog; empty: the dialog `insertObjet` is shown.
    ObjectInsertion(RichTextControl &exo, InsertionCommands &insertion, const Platform &platform,
                    Chooser choose = {});

    void objet();

    // A new drawing's file in `folder`: "Dessin.png", else "Dessin 2.png", "Dessin 3.png"…
    static QString newDrawingPath(const QString &folder);
    static constexpr int drawingWidth = 480;
    static constexpr int drawingHeight = 320;

private:
    std::optional<ObjectChoice> choose();
    void updated(const QString &path); // the object's application changed its file
    void closed(const QString &path);  // … and has ended
    void recaptureLinked(const QString &path);

    RichTextControl &m_exo;
    InsertionCommands &m_insertion;
    const Platform &m_platform;
    Chooser m_choose;
};
