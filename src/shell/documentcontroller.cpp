#include "documentcontroller.h"

#include "exercisefileitems.h"
#include "platform/editorstate.h"
#include "platform/platform.h"
#include "richtext/richtextcontrol.h"
#include "shelllog.h"

namespace {

constexpr QRgb black = 0xff000000;

// Resets savingAs however the save-as flow ends.
class SavingAsGuard
{
public:
    explicit SavingAsGuard(EditorState &state) : m_state(state) { m_state.savingAs = 1; }
    ~SavingAsGuard() { m_state.savingAs = 0; }
    SavingAsGuard(const SavingAsGuard &) = delete;
    SavingAsGuard &operator=(const SavingAsGuard &) = delete;

private:
    EditorState &m_state;
};

} // namespace

DocumentController::DocumentController(EditorState &state, Platform &platform, RichTextControl &exo,
                                       RichTextControl &sujetampon, RichTextControl &corectampon,
                                       const ExerciseFileItems &exerciseItems,
                                       std::function<void()> updateTitle)
    : m_state(state), m_platform(platform), m_exo(exo), m_sujetampon(sujetampon), m_corectampon(corectampon),
      m_items(exerciseItems), m_updateTitle(std::move(updateTitle))
{
    // Any change of exo's text is work the close guard must offer to save, whatever road it took
    // (a key, a menu, a dialog, a drop, an undo); loading a whole text is no change.
    QObject::connect(&m_exo, &RichTextControl::edited, &m_exo, [&state] { state.documentSaved = 0; });
}

bool DocumentController::confirmSaveChanges()
{
    if (m_state.documentSaved != 0)
        return true;
    const MessageAnswer answer = m_platform.messages.show(
        tr("Enregistrer modifications ?"), tr("Avertissement"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes)
        return true;
    return saveDispatcher();
}

bool DocumentController::newText()
{
    if (!confirmSaveChanges())
        return false;
    m_exo.setText(QByteArray());
    setPath(EditorState::untitled);
    resetTypingFormat(m_exo);
    m_exo.refresh();
    m_exo.setFocus();
    m_state.documentSaved = 1;
    return true;
}

void DocumentController::resetTypingFormat(RichTextControl &text)
{
    // The order is the one users have always seen; the repeated settings are harmless.
    text.setSelIndent(19);
    text.setSelRightIndent(12);
    text.setSelTabCount(0);
    text.setSelFontName(QStringLiteral("Arial"));
    text.setSelFontSize(10);
    text.setSelColor(black);
    text.setSelAlignment(0);
    text.setSelBold(false);
    text.setSelBullet(false);
    text.setSelCharOffset(0);
    text.setSelAlignment(0);
    text.setSelItalic(false);
    text.setSelUnderline(false);
    text.setSelFontSize(10);
    text.setSelColor(black);
}

bool DocumentController::open()
{
    if (!confirmSaveChanges())
        return false;
    FileDialogRequest request;
    request.title = tr("Ouvrir un fichier texte");
    request.filter = tr("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*");
    request.initialName = QStringLiteral("*.rtf");
    const FileDialogResult chosen = m_platform.files.open(request);
    if (!chosen.accepted())
        return false;
    return loadChosen(chosen.path);
}

bool DocumentController::openFile(const QString &path)
{
    if (!confirmSaveChanges())
        return false;
    return loadChosen(path);
}

bool DocumentController::loadChosen(const QString &path)
{
    if (!m_exo.loadFile(path)) {
        qCWarning(lcShell) << "cannot load" << path;
        return false;
    }
    // documentSaved is left alone: a text modified before (and not saved, by choice) stays
    // guarded by the close prompt.
    setPath(path);
    fileUsed(path);
    return true;
}

void DocumentController::fileUsed(const QString &path)
{
    if (m_fileUsed)
        m_fileUsed(path);
}

bool DocumentController::openPath(const QString &path)
{
    if (!m_exo.loadFile(path)) {
        m_platform.messages.show(tr("Erreur lors de l'ouverture du fichier"), tr("Lecture impossible"),
                                 MessageIcon::Stop);
        return false;
    }
    setPath(path);
    m_state.documentSaved = 1;
    fileUsed(path);
    return true;
}

bool DocumentController::save()
{
    if (m_state.currentDocumentPath.isEmpty() || m_state.currentDocumentPath == EditorState::untitled)
        return saveAs();
    if (!m_exo.saveFile(m_state.currentDocumentPath))
        return saveAs();
    m_state.documentSaved = 1;
    fileUsed(m_state.currentDocumentPath);
    return true;
}

bool DocumentController::saveAs()
{
    const SavingAsGuard guard(m_state);
    FileDialogRequest request;
    request.title = tr("Enregistrer un fichier texte");
    request.filter = tr("Texte format rtf|*.rtf");
    request.initialName =
        m_state.currentDocumentPath.isEmpty() ? QStringLiteral("*.rtf") : m_state.currentDocumentPath;
    request.cancelIsError = true;
    for (;;) {
        FileDialogResult chosen = m_platform.files.save(request);
        if (chosen.cancelled && !chosen.failed)
            return false;
        chosen.path = withDefaultExtension(chosen.path, QStringLiteral("rtf"));
        QString reason; // the system's, when the write failed
        if (!chosen.failed) {
            if (chosen.path != m_state.currentDocumentPath && m_platform.system.fileExists(chosen.path)) {
                const MessageAnswer overwrite =
                    m_platform.messages.show(tr("Ecraser le fichier existant?"), tr("Ce fichier existe déjà"),
                                             MessageIcon::Exclamation, MessageButtons::YesNo);
                if (overwrite != MessageAnswer::Yes)
                    continue;
            }
            // The path changes only once the file is written: a failed write followed by a
            // cancel must not leave the title naming a file that holds something else.
            if (m_exo.saveFile(chosen.path)) {
                setPath(chosen.path);
                m_state.documentSaved = 1;
                fileUsed(chosen.path);
                return true;
            }
            reason = m_exo.fileError();
            qCWarning(lcShell) << "cannot write" << chosen.path << reason;
        }
        m_platform.messages.show(withSystemReason(tr("Impossible d'écrire sur ce disque"), reason),
                                 tr("Enregistrement impossible"), MessageIcon::Stop);
    }
}

bool DocumentController::showsStatement() const
{
    return m_state.currentDocumentPath == m_items.statementPath();
}

bool DocumentController::showsCorrection() const
{
    return m_items.correctionVisible() && m_state.currentDocumentPath == m_items.correctionPath();
}

bool DocumentController::saveAll()
{
    if (showsCorrection())
        m_corectampon.setTextRtf(m_exo.textRtf());
    if (showsStatement())
        m_sujetampon.setTextRtf(m_exo.textRtf());

    bool written = true;
    const auto write = [&](RichTextControl &buffer, const QString &path) {
        if (buffer.saveFile(path))
            return;
        written = false;
        qCWarning(lcShell) << "cannot write" << path << buffer.fileError();
        m_platform.messages.show(withSystemReason(tr("Vérifier l'état du lecteur"), buffer.fileError()),
                                 tr("Sauvegarde impossible"), MessageIcon::Stop);
    };
    write(m_sujetampon, m_items.statementPath());
    write(m_corectampon, m_items.correctionPath());

    // documentSaved speaks of the text in exo: saved once both writes went through and exo shows
    // one of the two texts; a failed write leaves something unsaved for the close prompt to catch.
    if (!written)
        m_state.documentSaved = 0;
    else if (showsStatement() || showsCorrection())
        m_state.documentSaved = 1;
    return written;
}

bool DocumentController::saveDispatcher()
{
    if (!m_items.bothVisible())
        return save();
    const bool showsThirdText = !showsStatement() && !showsCorrection();
    const bool buffersSaved = saveAll();
    // A third text in exo would otherwise be reported saved without being written anywhere.
    if (showsThirdText && !save())
        return false;
    if (!buffersSaved)
        m_state.documentSaved = 0; // save() of the third text may have set it
    return buffersSaved;
}

bool DocumentController::openStatement()
{
    return openExerciseText(ExerciseText::Statement);
}

bool DocumentController::openCorrection()
{
    return openExerciseText(ExerciseText::Correction);
}

bool DocumentController::openExerciseText(ExerciseText which)
{
    const bool statement = which == ExerciseText::Statement;
    if (m_state.documentSaved == 0) {
        const MessageAnswer answer =
            m_platform.messages.show(tr("Attention : perte des modifications sur le texte."),
                                     statement ? tr("Ouvrir l'énoncé") : tr("Ouvrir le corrigé"),
                                     MessageIcon::None, MessageButtons::OkCancel);
        if (answer != MessageAnswer::Ok)
            return false;
    }
    const QString path = statement ? m_items.statementPath() : m_items.correctionPath();
    if (!m_exo.loadFile(path)) {
        m_platform.messages.show(tr("Erreur lors de l'ouverture du fichier"), tr("Lecture impossible"),
                                 MessageIcon::Stop);
        return false;
    }
    m_state.documentSaved = 1;
    setPath(path);
    return true;
}

void DocumentController::setPath(const QString &path)
{
    m_state.currentDocumentPath = path;
    if (m_updateTitle)
        m_updateTitle();
}
