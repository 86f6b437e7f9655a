#include "objectinsertion.h"

#include "insertioncommands.h"
#include "platform/platform.h"
#include "richtext/richtextcontrol.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QWidget>

ObjectInsertion::ObjectInsertion(RichTextControl &exo, InsertionCommands &insertion, const Platform &platform,
                                 Chooser choose)
    : m_exo(exo), m_insertion(insertion), m_platform(platform), m_choose(std::move(choose))
{}

QString ObjectInsertion::newDrawingPath(const QString &folder)
{
    const QDir dir(folder);
    QString path = dir.absoluteFilePath(tr("Dessin") + QStringLiteral(".png"));
    for (int n = 2; QFileInfo::exists(path) && n < 10000; ++n)
        path = dir.absoluteFilePath(tr("Dessin") + QStringLiteral(" %1.png").arg(n));
    return path;
}

std::optional<ObjectChoice> ObjectInsertion::choose()
{
    if (m_choose)
        return m_choose();
    ObjectTypeDialog dialog(m_platform.files, m_insertion.dialogFolder(),
                            m_exo.widget() ? m_exo.widget()->window() : nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

void ObjectInsertion::objet()
{
    const std::optional<ObjectChoice> chosen = choose();
    if (!chosen)
        return;
    QString path = chosen->path;
    if (chosen->type == ObjectChoice::Type::Drawing) {
        path = newDrawingPath(m_insertion.dialogFolder());
        QImage blank(drawingWidth, drawingHeight, QImage::Format_RGB32);
        blank.fill(Qt::white);
        if (!blank.save(path, "PNG"))
            return;
    }
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return;
    path = file.absoluteFilePath();
    m_insertion.rememberFolder(path);

    if (m_insertion.linksObjects()) {
        // The application starts first: when it cannot, the text is left as it was.
        if (!m_platform.objects.open(
                path, [this, path] { recaptureLinked(path); }, [this, path] { recaptureLinked(path); }))
            return;
        if (!m_exo.addObjectFromFile(path, ObjectChoice::className(chosen->type)))
            return;
        m_exo.setFocus();
        return;
    }
    if (!m_platform.objects.open(
            path, [this, path] { updated(path); }, [this, path] { closed(path); }))
        return;
    m_insertion.picture5() = objectPictureOf(path, m_insertion.pictureWidth());
}

void ObjectInsertion::updated(const QString &path)
{
    if (m_insertion.linksObjects())
        return;
    if (m_platform.objects.isRunning(path)) {
        const QImage picture = objectPictureOf(path, m_insertion.pictureWidth());
        if (!picture.isNull())
            m_insertion.picture5() = picture;
    }
}

void ObjectInsertion::closed(const QString &path)
{
    if (m_insertion.linksObjects())
        return;
    const QImage last = objectPictureOf(path, m_insertion.pictureWidth());
    if (!last.isNull())
        m_insertion.picture5() = last;
    if (m_insertion.picture5().isNull())
        return;
    m_insertion.pastePicture5();
}

void ObjectInsertion::recaptureLinked(const QString &path)
{
    const QImage picture = objectPictureOf(path, m_insertion.pictureWidth());
    if (picture.isNull())
        return; // the file is gone: the objects keep their last picture
    for (int i = 0; i < m_exo.objectCount(); ++i) {
        if (m_exo.objectAt(i).sourcePath == path)
            m_exo.setObjectPicture(i, picture);
    }
}
