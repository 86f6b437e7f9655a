#include "exercisemodule.h"

#include "exercisecontroller.h"
#include "exercisepage.h"
#include "exercisepanel.h"
#include "platform/shellhost.h"

#include <QAction>

ExerciseController *installExercise(ShellHost &host, EditorState &state, const Platform &platform)
{
    auto *page = new ExercisePage;
    auto *panel = new ExercisePanel;
    host.placeWidget(WindowArea::ExercisePage, page);
    host.placeWidget(WindowArea::ExercisePanel, panel);
    auto *controller = new ExerciseController(state, platform, host, *page, *panel, panel);

    host.bindCommand(QStringLiteral("az53"), [controller] { controller->showPage(); });
    host.bindCommand(QStringLiteral("az54"), [controller] { controller->openExercise(); });
    host.bindCommand(QStringLiteral("az55"), [controller] { controller->newExercise(); });
    host.bindCommand(QStringLiteral("az52"), [controller] { controller->editStatement(); });
    host.bindCommand(QStringLiteral("az51"), [controller] { controller->editCorrection(); });
    host.setExercisePathSource([page] { return page->exercisePath(); });
    // "&Fermer exercice" waits for an exercise path; the Exercise menu enables it when it opens.
    if (QAction *close = host.command(QStringLiteral("az55")))
        close->setEnabled(false);

    host.addStartupStep(StartupStep::ModuleList, [controller] { controller->fillModuleList(); });
    host.addStartupStep(StartupStep::InstructionsPanel, [controller] { controller->paintInstructions(); });
    host.addStartupStep(StartupStep::DifficultyList, [controller] { controller->fillDifficultyList(); });
    host.addStartupStep(StartupStep::ExercisePage, [controller] { controller->readPageAtStartup(); });
    return controller;
}
