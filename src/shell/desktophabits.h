#pragma once

#include "recentfiles.h"

#include <QCoreApplication>
#include <QObject>

class DocumentController;
class ExerciseController;
class FileDrops;
class InsertionCommands;
class QMainWindow;
class RecentFilesMenu;
class RichTextControl;
class ZoomCommands;
struct Platform;

// What teachers expect of any desktop editor, around the commands of the menus: the recent
// text documents in the File menu and the recent exercise files in the Exercise menu, files
// dropped on the window, the zoom of the text view. Recent lists and zoom live in the
// program's settings.
class DesktopHabits : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(DesktopHabits)
public:
    static inline const QString recentTextsKey = QStringLiteral("recent/texts");
    static inline const QString recentExercisesKey = QStringLiteral("recent/exercises");

    DesktopHabits(QMainWindow &window, RichTextControl &exo, DocumentController &documents,
                  ExerciseController &exercise, InsertionCommands &insertion, const Platform &platform);

    RecentFiles &recentTexts() { return m_recentTexts; }
    RecentFiles &recentExercises() { return m_recentExercises; }
    // An entry of the lists chosen: a file gone since is taken off its list, with a message.
    bool openRecentText(const QString &path);
    bool openRecentExercise(const QString &path);

private:
    bool stillThere(const QString &path, RecentFiles &list, RecentFilesMenu *menu);

    const Platform &m_platform;
    DocumentController &m_documents;
    ExerciseController &m_exercise;
    RecentFiles m_recentTexts;
    RecentFiles m_recentExercises;
    RecentFilesMenu *m_textsMenu = nullptr;     // owned by the File menu
    RecentFilesMenu *m_exercisesMenu = nullptr; // owned by the Exercise menu
};
