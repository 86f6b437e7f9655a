#include "insertioncommands.h"

#include "platform/editorstate.h"
#include "platform/filedialogs.h"
#include "platform/platform.h"
#include "richtext/richtextcontrol.h"
#include "rtf/cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr int fallbackTextWidth = 600;

// Reads a picture file at most `maxWidth` wide: the reader scales while decoding.
QImage readPicture(const QString &path, int maxWidth)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && size.width() > maxWidth)
        reader.setScaledSize(QSize(maxWidth, qMax(1, int(qint64(size.height()) * maxWidth / size.width()))));
    return reader.read();
}

} // namespace

InsertionCommands::InsertionCommands(RichTextControl &exo, RichTextControl &Rtfinsert, EditorState &state,
                                     const Platform &platform, InsertionHooks hooks)
    : m_exo(exo), m_Rtfinsert(Rtfinsert), m_state(state), m_platform(platform), m_hooks(std::move(hooks))
{}

const char *InsertionCommands::imageFilter()
{
    return QT_TR_NOOP(
        "Image bitmap(*.bmp)|*.bmp|Image gif|*.gif|image JPEG|*.JPG|Image PNG|*.png|Tous (*.*)|*.*");
}

const char *InsertionCommands::textFilter()
{
    return QT_TR_NOOP("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*");
}

int InsertionCommands::pictureWidth() const
{
    const double width = m_exo.rightMargin();
    return width >= 100 ? int(width) : fallbackTextWidth;
}

QString InsertionCommands::dialogFolder() const
{
    if (!m_state.exerciseDirectory.isEmpty() && QFileInfo(m_state.exerciseDirectory).isDir())
        return m_state.exerciseDirectory;
    if (m_state.currentDocumentPath != EditorState::untitled && !m_state.currentDocumentPath.isEmpty()) {
        const QString folder = QFileInfo(m_state.currentDocumentPath).absolutePath();
        if (QFileInfo(folder).isDir())
            return QDir::toNativeSeparators(folder);
    }
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    return QDir::toNativeSeparators(defaultDocumentFolder());
}

void InsertionCommands::rememberFolder(const QString &path)
{
    m_lastFolder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

void InsertionCommands::ima()
{
    m_state.formatRestorePending = 1;
    if (m_hooks.memoriser)
        m_hooks.memoriser();
    FileDialogRequest request;
    request.title = tr("Insertion d'une image");
    request.initialName = QStringLiteral("*.bmp");
    request.filter = tr(imageFilter());
    request.initialDirectory = dialogFolder();
    request.cancelIsError = true;
    const FileDialogResult chosen = m_platform.files.open(request);
    if (!chosen.accepted())
        return; // the remembered format stays pending: the next selection change restores it
    rememberFolder(chosen.path);
    insertChosenImage(chosen.path);
}

void InsertionCommands::insertImageFile(const QString &path)
{
    m_state.formatRestorePending = 1;
    if (m_hooks.memoriser)
        m_hooks.memoriser();
    insertChosenImage(path);
}

void InsertionCommands::insertChosenImage(const QString &path)
{
    if (m_lierobj) {
        if (!m_exo.addObjectFromFile(path))
            return;
        // The new object stays linked to its file: editing the file shows in the text.
        const QString source = QFileInfo(path).absoluteFilePath();
        for (int i = m_exo.objectCount() - 1; i >= 0; --i) {
            if (m_exo.objectAt(i).sourcePath == source) {
                m_exo.setObjectLinked(i, true);
                break;
            }
        }
        m_exo.setFocus();
        return;
    }
    m_picture5 = readPicture(path, pictureWidth());
    if (m_picture5.isNull())
        return; // not a picture: the clipboard is left alone
    pastePicture5();
}

void InsertionCommands::pastePicture5()
{
    m_platform.clipboard.clear();
    m_platform.clipboard.setImage(m_picture5);
    m_exo.setFocus();
    m_platform.keys.send(m_exo.widget(), QStringLiteral("+{INSERT}"));
    m_picture5 = QImage(); // the empty picture of `picture6`
    m_exo.setFocus();
}

void InsertionCommands::insertext()
{
    FileDialogRequest request;
    request.title = tr("Insertion d'un texte");
    request.filter = tr(textFilter());
    request.initialName = QStringLiteral("*.rtf");
    request.initialDirectory = dialogFolder();
    request.cancelIsError = true;
    const FileDialogResult chosen = m_platform.files.open(request);
    if (!chosen.accepted())
        return;
    rememberFolder(chosen.path);
    if (!m_Rtfinsert.loadFile(chosen.path))
        return;
    m_exo.setSelRtf(m_Rtfinsert.textRtf());
    m_Rtfinsert.setText(QByteArray());
    m_exo.setFocus();
}

void InsertionCommands::supercolle()
{
    m_state.formatRestorePending = 1;
    if (m_hooks.memoriser)
        m_hooks.memoriser();
    if (!m_liercolle) {
        Clipboard &clipboard = m_platform.clipboard;
        QImage picture;
        if (clipboard.hasImage()) {
            picture = clipboard.image();
        } else if (m_hooks.createBuffer) {
            // Text becomes the picture of itself, drawn as the text shows it.
            const std::unique_ptr<RichTextControl> buffer = m_hooks.createBuffer();
            if (clipboard.hasRtf())
                buffer->setTextRtf(clipboard.rtf());
            else
                buffer->setText(Cp1252::encode(clipboard.text()));
            picture = buffer->textLength() > 0 ? buffer->picture(pictureWidth()) : QImage();
        }
        m_picture5 = picture;
        clipboard.clear();
        if (!m_picture5.isNull())
            clipboard.setImage(m_picture5);
    }
    m_platform.keys.send(m_exo.widget(), QStringLiteral("+{INSERT}"));
    m_exo.setFocus();
}
