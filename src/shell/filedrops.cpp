#include "filedrops.h"

#include "exercise/exercisecontroller.h"
#include "richtext/richtextcontrol.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

QStringList localFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << QDir::toNativeSeparators(url.toLocalFile());
    }
    return paths;
}

} // namespace

FileDrops::FileDrops(QWidget &window, RichTextControl &exo, Commands commands)
    : QObject(&window), m_commands(std::move(commands))
{
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    connect(&exo, &RichTextControl::fileDragged, this,
            [](FileDrop &drop) { drop.accepted = takes(drop.paths, drop.editable); });
    connect(&exo, &RichTextControl::filesDropped, this, [this](const FileDrop &drop) {
        if (takes(drop.paths, drop.editable))
            dropped(drop.paths.first(), true, drop.position);
    });
}

FileDrops::Kind FileDrops::kindOf(const QString &path)
{
    if (ExerciseController::isExercisePath(path))
        return Kind::Exercise;
    const QString suffix = QFileInfo(QDir::fromNativeSeparators(path)).suffix().toLower();
    if (suffix == QLatin1String("rtf") || suffix == QLatin1String("txt"))
        return Kind::Text;
    // The formats "Ima&ge (incorporée)" offers.
    static const QStringList images = {QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("jpg"),
                                       QStringLiteral("jpeg"), QStringLiteral("png")};
    if (images.contains(suffix))
        return Kind::Image;
    return Kind::Other;
}

bool FileDrops::takes(const QStringList &paths, bool onEditableText)
{
    if (paths.isEmpty())
        return false;
    switch (kindOf(paths.first())) {
    case Kind::Text:
    case Kind::Exercise:
        return true;
    case Kind::Image:
        return onEditableText;
    case Kind::Other:
        break;
    }
    return false;
}

bool FileDrops::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (takes(localFiles(drag->mimeData()), false))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = localFiles(drop->mimeData());
        if (!takes(paths, false)) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        dropped(paths.first(), false, 0);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void FileDrops::dropped(const QString &path, bool onText, int position)
{
    const Kind kind = kindOf(path);
    QTimer::singleShot(0, this, [this, kind, path, onText, position] {
        switch (kind) {
        case Kind::Text:
            if (m_commands.openText)
                m_commands.openText(path);
            break;
        case Kind::Exercise:
            if (m_commands.openExercise)
                m_commands.openExercise(path);
            break;
        case Kind::Image:
            if (onText && m_commands.insertImage)
                m_commands.insertImage(path, position);
            break;
        case Kind::Other:
            break;
        }
    });
}
