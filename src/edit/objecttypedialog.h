#pragma once

#include <QDialog>
#include <QString>

class FileDialogs;
class QLineEdit;
class QListWidget;

// What the object dialog chooses: a type and the file the object is made from.
struct ObjectChoice
{
    enum class Type {
        Image,   // an image file, shown as itself
        Drawing, // a new drawing, made in the desktop's drawing program
        File,    // any file, shown as its icon with its name
    };
    Type type = Type::Image;
    QString path; // empty for a new drawing: the command creates its file

    static QString className(Type type); // "Image", "Dessin", "Package"
};

// The "Insérer un objet" dialog: the list of object types `List1`, the file box `Text1` with
// its browse button, and OK/Cancel. A new drawing needs no file.
class ObjectTypeDialog : public QDialog
{
    Q_OBJECT
public:
    ObjectTypeDialog(FileDialogs &files, QString folder, QWidget *parent = nullptr);

    ObjectChoice choice() const;

private:
    void browse();
    void updateState();

    FileDialogs &m_files;
    QString m_folder;
    QListWidget *m_types = nullptr;
    QLineEdit *m_path = nullptr;
    QWidget *m_browse = nullptr;
    QWidget *m_ok = nullptr;
};
