#include "desktophabits.h"

#include "documentcontroller.h"
#include "edit/insertioncommands.h"
#include "exercise/exercisecontroller.h"
#include "filedrops.h"
#include "platform/platform.h"
#include "recentfilesmenu.h"
#include "richtext/richtextcontrol.h"
#include "zoomcommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

DesktopHabits::DesktopHabits(QMainWindow &window, RichTextControl &exo, DocumentController &documents,
                             ExerciseController &exercise, InsertionCommands &insertion,
                             const Platform &platform)
    : QObject(&window), m_platform(platform), m_documents(documents), m_exercise(exercise),
      m_recentTexts(platform.settings, recentTextsKey),
      m_recentExercises(platform.settings, recentExercisesKey)
{
    // Texts above the separator before "&Quitter", exercises at the end of their menu.
    if (auto *fileMenu = window.findChild<QMenu *>(QStringLiteral("fichi")))
        m_textsMenu = new RecentFilesMenu(*fileMenu, window.findChild<QAction *>(QStringLiteral("sep2002")),
                                          QStringLiteral("recentText"), m_recentTexts,
                                          [this](const QString &path) { openRecentText(path); });
    if (auto *exerciseMenu = window.findChild<QMenu *>(QStringLiteral("exot")))
        m_exercisesMenu =
            new RecentFilesMenu(*exerciseMenu, nullptr, QStringLiteral("recentExercise"), m_recentExercises,
                                [this](const QString &path) { openRecentExercise(path); });
    documents.setFileUsedHandler([this](const QString &path) {
        m_recentTexts.add(path);
        if (m_textsMenu)
            m_textsMenu->refresh();
    });
    connect(&exercise, &ExerciseController::exerciseFileUsed, this, [this](const QString &path) {
        m_recentExercises.add(path);
        if (m_exercisesMenu)
            m_exercisesMenu->refresh();
    });

    FileDrops::Commands drops;
    drops.openText = [&documents](const QString &path) { documents.openFile(path); };
    drops.openExercise = [&exercise](const QString &path) { exercise.openExerciseFile(path); };
    drops.insertImage = [&exo, &insertion](const QString &path, int position) {
        exo.setSelection({position, 0});
        insertion.insertImageFile(path);
    };
    new FileDrops(window, exo, drops);
    new ZoomCommands(window, exo, platform.settings);
}

bool DesktopHabits::stillThere(const QString &path, RecentFiles &list, RecentFilesMenu *menu)
{
    if (m_platform.system.fileExists(path))
        return true;
    list.remove(path);
    if (menu)
        menu->refresh();
    m_platform.messages.show(
        tr("Le fichier %1 est introuvable : il est retiré de la liste des fichiers récents.").arg(path),
        tr("Fichier introuvable"), MessageIcon::Exclamation);
    return false;
}

bool DesktopHabits::openRecentText(const QString &path)
{
    if (!stillThere(path, m_recentTexts, m_textsMenu))
        return false;
    return m_documents.openFile(path);
}

bool DesktopHabits::openRecentExercise(const QString &path)
{
    if (!stillThere(path, m_recentExercises, m_exercisesMenu))
        return false;
    return m_exercise.openExerciseFile(path);
}
