#include "recoverystart.h"

#include "platform/editorstate.h"
#include "platform/messageboxes.h"
#include "platform/shellhost.h"
#include "recoveryfolder.h"
#include "recoverylog.h"
#include "richtext/richtextcontrol.h"

#include <QDir>
#include <QFileInfo>

RecoveryStart::RecoveryStart(RecoveryFolder &folder, MessageBoxes &messages)
    : m_folder(folder), m_messages(messages)
{}

QString RecoveryStart::question()
{
    return tr("Veligram s'est arrêté sans enregistrer vos dernières modifications. Voulez-vous récupérer "
              "les textes non enregistrés ?");
}

bool RecoveryStart::ask()
{
    const RecoveryFolder::Leftovers left = m_folder.leftovers();
    if (left.isEmpty())
        return false;
    const MessageAnswer answer =
        m_messages.show(question(), tr("Récupération"), MessageIcon::Question, MessageButtons::YesNo);
    for (const RecoveryEntry &entry : left.entries) {
        RecoveryFolder::ReadCopy read = m_folder.read(entry);
        if (read.ok())
            m_copies.append({entry, std::move(read.rtf)});
        else
            setAside(entry.file, entry.original, read.problem);
    }
    for (const QString &stray : left.strays)
        setAside(stray, QString(), tr("Le fichier n'est pas une copie connue."));
    if (answer == MessageAnswer::Yes && !m_copies.isEmpty())
        return true;
    if (answer != MessageAnswer::Yes)
        m_folder.clear();
    m_copies.clear();
    reportSetAside();
    return false;
}

RecoveryStart::Copy *RecoveryStart::find(const QString &buffer)
{
    for (Copy &copy : m_copies) {
        if (copy.entry.buffer == buffer)
            return &copy;
    }
    return nullptr;
}

QList<RecoveryEntry> RecoveryStart::restore(EditorState &state, ShellHost &host,
                                            const OpenExercise &openExercise)
{
    QList<RecoveryEntry> placed;
    Copy *document = find(RecoveryEntry::document);
    Copy *statement = find(RecoveryEntry::statement);
    Copy *correction = find(RecoveryEntry::correction);
    const QString exercise = statement    ? statement->entry.exercise
                             : correction ? correction->entry.exercise
                                          : QString();
    const bool exerciseOpen =
        !exercise.isEmpty() && QFileInfo(exercise).isFile() && openExercise && openExercise(exercise);

    // An exercise text goes back into its buffer only when the exercise still names its file:
    // saved from there, it must land where it came from.
    const auto placeInBuffer = [&](Copy *copy, RichTextControl &buffer, const QString &itemPath,
                                   bool visible) {
        if (!copy || !exerciseOpen || !visible || copy->entry.exercise != exercise ||
            itemPath != copy->entry.original)
            return;
        buffer.setTextRtf(copy->rtf);
        copy->placed = true;
        placed.append(copy->entry);
    };
    placeInBuffer(statement, host.sujetampon(), host.statementItemPath(), host.statementItemVisible());
    placeInBuffer(correction, host.corectampon(), host.correctionItemPath(), host.correctionItemVisible());

    RichTextControl &exo = host.exo();
    if (document) {
        exo.setTextRtf(document->rtf);
        state.currentDocumentPath = document->entry.original;
        document->placed = true;
        placed.append(document->entry);
    } else if (correction && correction->placed &&
               (correction->entry.shown || !statement || !statement->placed)) {
        exo.setTextRtf(host.corectampon().textRtf());
        state.currentDocumentPath = host.correctionItemPath();
    } else if (statement && statement->placed) {
        exo.setTextRtf(host.sujetampon().textRtf());
        state.currentDocumentPath = host.statementItemPath();
    } else {
        // Its exercise is gone or changed: the text opens on its own, under its own name, so
        // that "Enregistrer" still writes it to its file.
        for (Copy *orphan : {statement, correction}) {
            if (!orphan || orphan->placed)
                continue;
            exo.setTextRtf(orphan->rtf);
            state.currentDocumentPath = orphan->entry.original;
            orphan->placed = true;
            RecoveryEntry asDocument = orphan->entry;
            asDocument.buffer = RecoveryEntry::document;
            asDocument.exercise.clear();
            asDocument.shown = true;
            placed.append(asDocument);
            break;
        }
    }
    for (const Copy &copy : std::as_const(m_copies)) {
        if (!copy.placed)
            setAside(copy.entry.file, copy.entry.original, tr("Le texte n'a plus de place où revenir."));
    }
    if (!placed.isEmpty()) {
        state.documentSaved = 0;
        host.updateTitle();
        exo.setFocus();
    }
    // The index names what stands for the texts now, before anything else can stop the run.
    if (const AtomicFile::Written index = m_folder.writeIndex(placed); !index)
        qCWarning(lcRecovery) << "recovery index not written:" << index.reason;
    m_copies.clear();
    reportSetAside();
    return placed;
}

void RecoveryStart::setAside(const QString &file, const QString &what, const QString &problem)
{
    const QString movedTo = m_folder.setAside(file);
    qCWarning(lcRecovery) << "copy set aside:" << file << problem;
    // The message names the folder once; a copy that could not be moved is named where it is.
    QString line =
        QStringLiteral("« %1 »").arg(movedTo.isEmpty() ? QDir::toNativeSeparators(m_folder.filePath(file))
                                                       : QFileInfo(movedTo).fileName());
    if (!what.isEmpty())
        line += tr(", copie du texte « %1 »").arg(what);
    m_setAside.append(line + QStringLiteral(" : ") + problem);
}

void RecoveryStart::reportSetAside()
{
    if (m_setAside.isEmpty())
        return;
    m_messages.show(
        tr("Ces copies de récupération ne peuvent pas être reprises. Elles ont été mises de côté, "
           "sans rien effacer, dans le dossier %1 :")
                .arg(QDir::toNativeSeparators(m_folder.rejectedPath())) +
            QStringLiteral("\n\n") + m_setAside.join(QLatin1Char('\n')),
        tr("Récupération"), MessageIcon::Exclamation);
    m_setAside.clear();
}
