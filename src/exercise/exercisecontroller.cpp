#include "exercisecontroller.h"

#include "exercisefile.h"
#include "exerciselog.h"
#include "exercisepage.h"
#include "moduletable.h"
#include "platform/editorstate.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {

// Paths come from the file dialogs with native separators; names and folders are cut at the
// last separator, whichever the platform uses.
qsizetype lastSeparator(const QString &path)
{
    return QDir::fromNativeSeparators(path).lastIndexOf(QLatin1Char('/'));
}

QString fileNameOf(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString folderOf(const QString &path)
{
    return path.left(lastSeparator(path) + 1);
}

// The module's extension replaces whatever extension the chosen name has. Only a dot in the
// file name counts: a dot in a folder name ("cours.2024/exo1") must not cut the folder.
QString withExtension(const QString &path, const QString &extension)
{
    QString name = fileNameOf(path);
    if (const qsizetype dot = name.lastIndexOf(QLatin1Char('.')); dot >= 0)
        name.truncate(dot);
    return folderOf(path) + name + QLatin1Char('.') + extension;
}

} // namespace

ExerciseController::ExerciseController(EditorState &state, const Platform &platform, ShellHost &host,
                                       ExercisePage &page, ExercisePanel &panel, QObject *parent)
    : QObject(parent), m_state(state), m_platform(platform), m_host(host), m_page(page), m_panel(panel)
{
    connect(&m_page, &ExercisePage::exercisePathChanged, this, &ExerciseController::transessai);
    connect(&m_page, &ExercisePage::chooseSlotRequested, this, &ExerciseController::chooseSlotFile);
    connect(&m_page, &ExercisePage::clearSlotRequested, this, &ExerciseController::clearSlot);
    connect(&m_page, &ExercisePage::saveRequested, this, &ExerciseController::saveExercise);
    connect(&m_page, &ExercisePage::cancelRequested, this, &ExerciseController::hidePage);
    connect(&m_panel, &ExercisePanel::modulePicked, this, &ExerciseController::modulePicked);
    connect(&m_panel, &ExercisePanel::iconClicked, this, [this](ExercisePanel::Icon icon) {
        switch (icon) {
        case ExercisePanel::Parameters:
            showPage();
            break;
        case ExercisePanel::New:
            newExercise();
            break;
        case ExercisePanel::Open:
            openExercise();
            break;
        case ExercisePanel::Statement:
            editStatement();
            break;
        case ExercisePanel::Correction:
            editCorrection();
            break;
        }
    });
}

void ExerciseController::fillModuleList()
{
    m_panel.fillModuleList();
}

void ExerciseController::paintInstructions()
{
    m_panel.paintInstructions();
}

void ExerciseController::fillDifficultyList()
{
    m_page.fillDifficultyList();
}

void ExerciseController::readPageAtStartup()
{
    if (!ExerciseFile::trimSpaces(m_page.exercisePath()).isEmpty())
        readPage();
}

bool ExerciseController::isExercisePath(const QString &path)
{
    const QString suffix = path.right(4).toUpper();
    return suffix.startsWith(QLatin1Char('.')) &&
           ModuleTable::displayTextForExtension(suffix.mid(1)).has_value();
}

bool ExerciseController::openFromCommandLine(const QString &path)
{
    if (!isExercisePath(path)) {
        qCWarning(lcExercise) << "not an exercise file:" << path;
        return false;
    }
    const std::optional<QString> fullPath = takeExercisePath(path);
    if (!fullPath)
        return false;
    readPage();
    Q_EMIT exerciseFileUsed(*fullPath);
    return true;
}

std::optional<QString> ExerciseController::takeExercisePath(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        report(ExerciseFile::readFailure());
        return std::nullopt;
    }
    selectModuleOf(path);
    const QString fullPath = QDir::toNativeSeparators(info.absoluteFilePath());
    m_state.exerciseDirectory = folderOf(fullPath);
    m_page.setExercisePath(fullPath);
    return fullPath;
}

void ExerciseController::selectModuleOf(const QString &path)
{
    const QString module = *ModuleTable::displayTextForExtension(path.right(3).toUpper());
    m_panel.selectModule(int(ModuleTable::listEntries().indexOf(module)));
}

bool ExerciseController::openExerciseFile(const QString &path)
{
    if (!isExercisePath(path) || !m_host.confirmSaveChanges())
        return false;
    const std::optional<QString> fullPath = takeExercisePath(path);
    if (!fullPath)
        return false;
    Q_EMIT exerciseFileUsed(*fullPath);
    return true;
}

void ExerciseController::modulePicked(const QString &displayText)
{
    ModuleTable::modulePicked(displayText, m_state);
}

bool ExerciseController::moduleSelected() const
{
    return m_panel.moduleIndex() > 0;
}

bool ExerciseController::moduleCheck()
{
    if (moduleSelected())
        return true;
    m_platform.messages.show(tr("Il faut sélectionner un simulateur"), tr("Choix impossible"),
                             MessageIcon::Exclamation);
    return false;
}

void ExerciseController::report(const ExerciseFileResult &result)
{
    m_platform.messages.show(result.message, result.title, MessageIcon::Stop);
}

void ExerciseController::readPage()
{
    // A failed read keeps what it filled before failing, as the page shows it.
    ExerciseData data = m_page.data();
    const ExerciseFileResult result = ExerciseFile::read(m_page.exercisePath(), data);
    m_page.setData(data);
    if (!result)
        report(result);
}

void ExerciseController::showPage()
{
    if (!moduleCheck())
        return;
    if (!m_page.exercisePath().isEmpty())
        readPage();
    m_page.raise();
    m_page.show();
}

void ExerciseController::hidePage()
{
    m_page.hide();
}

void ExerciseController::chooseSlotFile(int slot)
{
    FileDialogRequest request;
    request.title = tr("Ouvrir un fichier exercice");
    request.cancelIsError = true;
    // Slots 0 and 2 are texts, 1 and 3 the simulator's parameter files.
    const QString pattern = slot % 2 == 0
                                ? QStringLiteral("*.RTF")
                                : ModuleTable::parameterPattern(m_state.moduleExtension).value_or(QString());
    request.initialName = pattern;
    if (!pattern.isEmpty())
        request.filter = pattern + QLatin1Char('|') + pattern;
    const FileDialogResult chosen = m_platform.files.open(request);
    if (!chosen.accepted())
        return;
    m_page.setSlotName(slot, fileNameOf(chosen.path));
}

void ExerciseController::clearSlot(int slot)
{
    m_page.setSlotName(slot, QString());
}

void ExerciseController::saveExercise()
{
    if (m_page.slotName(0).isEmpty()) {
        m_platform.messages.show(tr("Il n'y a pas d'énoncé (obligatoire) pour cet exercice."),
                                 tr("Enregistrement impossible"), MessageIcon::Stop);
        return;
    }
    // Activation replaces the text of exo by the statement: unsaved changes are offered a save
    // first, and a save that did not happen stops here.
    if (!m_host.confirmSaveChanges())
        return;
    const QString extension = m_state.moduleExtension;
    FileDialogRequest request;
    request.title = tr("Enregistrer le fichier exercice");
    request.cancelIsError = true;
    request.initialName =
        m_page.exercisePath().isEmpty() ? QStringLiteral("*.") + extension : m_page.exercisePath();
    request.filter = QStringLiteral("*.%1|*.%1").arg(extension);
    const FileDialogResult chosen = m_platform.files.save(request);
    if (!chosen.accepted()) {
        m_page.hide();
        return;
    }
    const QString path = withExtension(chosen.path, extension);
    if (m_platform.system.fileExists(path) &&
        m_platform.messages.show(tr("Ecraser le fichier existant"), tr("Ce fichier existe déjà"),
                                 MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    // The file is written before the path box changes, and activation runs once, from the new
    // file: a failed write leaves the current exercise, its path and the page as they were.
    if (const ExerciseFileResult written = ExerciseFile::write(path, m_page.data()); !written) {
        report(written);
        return;
    }
    m_state.exerciseDirectory = folderOf(path);
    m_page.setExercisePathQuietly(path);
    transessai();
    m_page.hide();
    Q_EMIT exerciseFileUsed(path);
}

void ExerciseController::openExercise()
{
    if (!moduleCheck())
        return;
    if (!m_host.confirmSaveChanges())
        return;
    const QString extension = m_state.moduleExtension;
    FileDialogRequest request;
    request.title = tr("Ouvrir un fichier exercice");
    request.cancelIsError = true;
    request.initialName = QStringLiteral("*.") + extension;
    request.filter = m_panel.moduleText() + QStringLiteral("|*.") + extension;
    const FileDialogResult chosen = m_platform.files.open(request);
    if (!chosen.accepted())
        return;
    if (chosen.path.right(4).toUpper() != QLatin1Char('.') + extension) {
        m_platform.messages.show(tr("Le nom du fichier doit se terminer par .") + extension +
                                     tr(" pour le module sélectionné."),
                                 tr("Fichier non valide"), MessageIcon::Stop);
        return;
    }
    m_state.exerciseDirectory = folderOf(chosen.path);
    m_page.setExercisePath(chosen.path);
    Q_EMIT exerciseFileUsed(chosen.path);
}

void ExerciseController::newExercise()
{
    // The prompt comes first, while the save dispatcher still sees both texts of the exercise.
    if (!m_host.confirmSaveChanges())
        return;
    // The user chose to drop the changes: the new text must not ask a second time.
    m_state.documentSaved = 1;
    m_host.sujetampon().setTextRtf(QByteArray());
    m_host.corectampon().setTextRtf(QByteArray());
    m_page.setExercisePath(QString());
    m_page.clearFields();
    m_host.newText();
}

void ExerciseController::setExerciseCommandsEnabled(bool statement, bool correction)
{
    if (QAction *az52 = m_host.command(QStringLiteral("az52")))
        az52->setEnabled(statement);
    if (QAction *az51 = m_host.command(QStringLiteral("az51")))
        az51->setEnabled(correction);
    m_panel.setStatementVisible(statement);
    m_panel.setCorrectionVisible(correction);
}

void ExerciseController::loadBuffer(RichTextControl &buffer, const QString &path)
{
    // Emptied first: a text that cannot be loaded must not leave the previous exercise's text in
    // the buffer, where it would be shown, and saved, under this exercise's path.
    buffer.setTextRtf(QByteArray());
    if (!buffer.loadFile(path))
        m_platform.messages.show(tr("Fichier ") + path + tr(" introuvable."),
                                 tr("Ouverture du texte impossible"), MessageIcon::Stop);
}

void ExerciseController::transessai()
{
    const QString path = m_page.exercisePath();
    if (path.isEmpty()) {
        m_host.setStatementItem(m_host.statementItemPath(), false);
        m_host.setCorrectionItem(m_host.correctionItemPath(), false);
        setExerciseCommandsEnabled(false, false);
        return;
    }
    const ExerciseFile::TextNames names = ExerciseFile::readTextNames(path);
    const QString directory = m_state.exerciseDirectory;
    const QString statement =
        ExerciseFile::trimSpaces(names.statement).isEmpty() ? QString() : directory + names.statement;
    const bool hasCorrection = !ExerciseFile::trimSpaces(names.correction).isEmpty();
    const QString correction = hasCorrection ? directory + names.correction : QString();
    m_host.setStatementItem(statement, true);
    m_host.setCorrectionItem(correction, hasCorrection);
    setExerciseCommandsEnabled(true, hasCorrection);

    if (!statement.isEmpty())
        loadBuffer(m_host.sujetampon(), statement);
    else
        m_host.sujetampon().setTextRtf(QByteArray());
    if (hasCorrection)
        loadBuffer(m_host.corectampon(), correction);
    else
        m_host.corectampon().setTextRtf(QByteArray());

    RichTextControl &exo = m_host.exo();
    exo.setTextRtf(m_host.sujetampon().textRtf());
    // An exercise without a statement leaves exo with a text of its own, not a nameless path.
    m_state.currentDocumentPath = statement.isEmpty() ? EditorState::untitled : statement;
    m_host.updateTitle();
    exo.setFocus();
}

bool ExerciseController::showsStatement() const
{
    const QString caption = m_host.statementItemPath();
    return m_host.statementItemVisible() && !caption.isEmpty() && m_state.currentDocumentPath == caption;
}

bool ExerciseController::showsCorrection() const
{
    const QString caption = m_host.correctionItemPath();
    return m_host.correctionItemVisible() && !caption.isEmpty() && m_state.currentDocumentPath == caption;
}

void ExerciseController::editStatement()
{
    switchTo(Text::Statement);
}

void ExerciseController::editCorrection()
{
    switchTo(Text::Correction);
}

void ExerciseController::switchTo(Text text)
{
    const bool statement = text == Text::Statement;
    const QString caption = statement ? m_host.statementItemPath() : m_host.correctionItemPath();
    const bool available = statement ? m_host.statementItemVisible() : m_host.correctionItemVisible();
    if (!available || caption.isEmpty() || m_state.currentDocumentPath == caption)
        return;
    const bool showsExerciseText = showsStatement() || showsCorrection();
    if (!showsExerciseText && !m_host.confirmSaveChanges())
        return;

    RichTextControl &exo = m_host.exo();
    QWidget *view = exo.widget();
    const bool wasVisible = view && view->isVisible();
    if (view)
        view->hide();
    // The shown text goes back to its buffer, so its edits survive the switch unsaved.
    if (statement && showsCorrection())
        m_host.corectampon().setTextRtf(exo.textRtf());
    if (!statement && showsStatement())
        m_host.sujetampon().setTextRtf(exo.textRtf());
    exo.setTextRtf((statement ? m_host.sujetampon() : m_host.corectampon()).textRtf());
    m_state.currentDocumentPath = caption;
    m_host.updateTitle();
    exo.refresh();
    if (view && wasVisible)
        view->show();
    exo.setFocus();
}
