#include "mainwindow.h"

#include "commandtable.h"
#include "desktophabits.h"
#include "documentcontroller.h"
#include "edit/clipboardmodule.h"
#include "edit/editmodule.h"
#include "edit/formatmemory.h"
#include "edit/insertionmodule.h"
#include "equations/equationsmodule.h"
#include "exercise/exercisecontroller.h"
#include "exercise/exercisemodule.h"
#include "format/bulkscriptsmodule.h"
#include "format/formatmodule.h"
#include "format/formattoolbar.h"
#include "format/scriptformat.h"
#include "format/updown.h"
#include "helpcommand.h"
#include "layout/layoutdialogsmodule.h"
#include "layout/ruler.h"
#include "layout/rulermodule.h"
#include "platform/editorstate.h"
#include "platform/platform.h"
#include "richtext/richtextcontrol.h"
#include "search/searchmodule.h"
#include "shelllog.h"
#include "sidescroller.h"
#include "spell/spellmodule.h"
#include "statefile.h"
#include "symbols/symbolsmodule.h"
#include "windowplacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

} // namespace

MainWindow::MainWindow(EditorState &state, Platform &platform, const ControlFactory &createControl,
                       QWidget *parent)
    : QMainWindow(parent), m_state(state), m_platform(platform), m_createControl(createControl),
      m_exo(createControl()), m_sujetampon(createControl()), m_corectampon(createControl()),
      m_tamponrtf(createControl()), m_Rtfinsert(createControl())
{
    setObjectName(QStringLiteral("veligram"));
    setWindowIcon(QIcon(QStringLiteral(":/shell/icons/veligram.svg")));
    m_exo->setObjectName(QStringLiteral("exo"));
    m_exo->widget()->setObjectName(QStringLiteral("exo"));
    m_sujetampon->setObjectName(QStringLiteral("sujetampon"));
    m_corectampon->setObjectName(QStringLiteral("corectampon"));
    m_tamponrtf->setObjectName(QStringLiteral("tamponrtf"));
    m_Rtfinsert->setObjectName(QStringLiteral("Rtfinsert"));

    resize(WindowPlacement::normalSize);
    buildLayout();
    buildMenus();
    buildToolBar();
    m_documents =
        std::make_unique<DocumentController>(m_state, m_platform, *m_exo, *m_sujetampon, *m_corectampon,
                                             m_exerciseItems, [this] { updateTitle(); });
    addShellStartupSteps();
    installModules();
    updateTitle();
}

MainWindow::~MainWindow()
{
    // A run that ends without a close event (the application quit from elsewhere) still tells
    // the simulators that the editor is gone.
    if (m_started)
        shutdown();
}

void MainWindow::buildLayout()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const auto area = [&](WindowArea which, QBoxLayout *parentLayout, int stretch = 0) {
        auto *layout = new QVBoxLayout;
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        parentLayout->addLayout(layout, stretch);
        m_areas[which] = layout;
    };
    area(WindowArea::Palettes, column);
    area(WindowArea::Ruler, column);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row, 1);
    area(WindowArea::SymbolPalettes, row);
    auto *editorColumn = new QVBoxLayout;
    editorColumn->setContentsMargins(0, 0, 0, 0);
    row->addLayout(editorColumn, 1);
    area(WindowArea::ExercisePage, editorColumn);
    editorColumn->addWidget(m_exo->widget(), 1);
    area(WindowArea::ExercisePanel, row);
    setCentralWidget(central);
}

void MainWindow::buildMenus()
{
    for (const MenuDefinition &menuDefinition : menuTable()) {
        const QString name = QString::fromLatin1(menuDefinition.name);
        if (menuDefinition.items.isEmpty()) {
            QAction *command = menuBar()->addAction(translated(menuDefinition.caption));
            command->setObjectName(name);
            command->setEnabled(false);
            m_commands.insert(name, command);
            continue;
        }
        QMenu *menu = menuBar()->addMenu(translated(menuDefinition.caption));
        menu->setObjectName(name);
        for (const MenuItemDefinition &item : menuDefinition.items) {
            const QString itemName = QString::fromLatin1(item.name);
            QAction *action = qstrcmp(item.caption, "-") == 0 ? menu->addSeparator()
                                                              : menu->addAction(translated(item.caption));
            action->setObjectName(itemName);
            if (item.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            action->setCheckable(item.checkable);
            action->setChecked(item.checkedAtStart);
            action->setVisible(!item.hiddenAtStart);
            if (!action->isSeparator())
                action->setEnabled(false);
            m_commands.insert(itemName, action);
        }
    }
    connect(findChild<QMenu *>(QStringLiteral("fichi")), &QMenu::aboutToShow, this,
            &MainWindow::updateFileMenu);
    connect(findChild<QMenu *>(QStringLiteral("exot")), &QMenu::aboutToShow, this,
            &MainWindow::updateExerciseMenu);
    m_exerciseItems.attach(m_commands.value(QStringLiteral("sepatext")),
                           m_commands.value(QStringLiteral("textexo")),
                           m_commands.value(QStringLiteral("textcor")));
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(tr("Barre d'outils"));
    m_toolBar->setObjectName(QStringLiteral("barreOutils"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(20, 20));
    for (const ToolButtonDefinition &button : toolBarTable()) {
        if (button.separatorBefore)
            m_toolBar->addSeparator();
        const QString name = QString::fromLatin1(button.name);
        auto *action = new QAction(QIcon(QString::fromLatin1(button.icon)), translated(button.toolTip), this);
        action->setObjectName(name);
        action->setToolTip(translated(button.toolTip));
        action->setCheckable(button.checkable);
        action->setEnabled(false);
        m_toolBar->addAction(action);
        if (QWidget *widget = m_toolBar->widgetForAction(action)) {
            // An array element's widget is named as `Check1_1`; its command keeps `Check1(1)`.
            QString widgetName = name;
            widget->setObjectName(
                widgetName.replace(QLatin1Char('('), QLatin1Char('_')).remove(QLatin1Char(')')));
            widget->setAccessibleName(translated(button.toolTip));
        }
        m_commands.insert(name, action);
    }
}

void MainWindow::installModules()
{
    // Each module of the editor is wired here: it gets the shell (ShellHost), the shared state
    // and the platform, binds its commands and registers its start-up steps.
    DocumentController &documents = *m_documents;
    bindCommand(QStringLiteral("Nouv"), [&documents] { documents.newText(); });
    bindCommand(QStringLiteral("Command2"), [&documents] { documents.newText(); });
    bindCommand(QStringLiteral("ouvre"), [&documents] { documents.open(); });
    bindCommand(QStringLiteral("Command3"), [&documents] { documents.open(); });
    bindCommand(QStringLiteral("resauve"), [&documents] { documents.save(); });
    bindCommand(QStringLiteral("sauve"), [&documents] { documents.saveAs(); });
    bindCommand(QStringLiteral("sauvetout"), [&documents] { documents.saveAll(); });
    bindCommand(QStringLiteral("Command4"), [&documents] { documents.saveDispatcher(); });
    bindCommand(QStringLiteral("textexo"), [&documents] { documents.openStatement(); });
    bindCommand(QStringLiteral("textcor"), [&documents] { documents.openCorrection(); });
    bindCommand(QStringLiteral("quitter"), [this] { close(); });
    bindCommand(QStringLiteral("Command5"), [this] { close(); });
    bindCommand(QStringLiteral("aidant"), [this] { showHelp(m_platform.help, m_platform.system); });

    m_exercise = installExercise(*this, m_state, m_platform);
    m_edit = installEdit(*this, m_platform);
    m_ruler = installRuler(*this, m_platform);
    const FormatModule format = installFormat(*this, m_state, m_platform, *m_ruler, m_edit->memory());
    m_mirror = format.mirror;
    m_scripts = format.scripts;
    installSearch(*this, m_state, m_platform);
    installClipboardCommands(*this, m_platform);
    Ruler *ruler = m_ruler;
    installLayoutDialogs(*this, m_platform, [ruler] { ruler->majregle(); });

    // The symbol commands paste through the format memory and read the tool bar's boxes; the
    // bulk commands work with the script steps of the second row.
    FormatMemory &memory = m_edit->memory();
    FormatToolBar *bar = format.bar;
    ScriptFormat *scripts = format.scripts;
    SymbolHooks symbolHooks;
    symbolHooks.memoriser = [&memory] { memory.memoriser(); };
    symbolHooks.fontSizeBox = [bar] { return bar->UpDown1->value(); };
    symbolHooks.fontBox.text = [bar] { return bar->Combo1->currentText(); };
    symbolHooks.fontBox.setText = [bar](const QString &name) { bar->Combo1->setEditText(name); };
    symbolHooks.scriptSettings = [scripts] {
        return ChemScriptSettings{scripts->exponentStep(), scripts->indexStep(), scripts->smallMode()};
    };
    installSymbols(*this, m_state, m_platform, m_createControl, symbolHooks);

    BulkScriptHooks bulkHooks;
    bulkHooks.steps = [scripts] {
        return ScriptSteps{scripts->exponentStep(), scripts->indexStep(), scripts->smallMode()};
    };
    bulkHooks.setExponentStep = [scripts](int step) { scripts->setExponentStep(step); };
    bulkHooks.setIndexStep = [scripts](int step) { scripts->setIndexStep(step); };
    installBulkScripts(*this, m_state, m_platform, m_createControl, bulkHooks);

    InsertionHooks insertionHooks;
    insertionHooks.memoriser = [&memory] { memory.memoriser(); };
    insertionHooks.createBuffer = m_createControl;
    insertionHooks.showStatus = [this](const QString &message) { statusBar()->showMessage(message, 15000); };
    const InsertionModule insertion = installInsertionAndPrinting(*this, m_state, m_platform, insertionHooks);

    // Recent files, dropped files and zoom, once every command they reuse is in place.
    new DesktopHabits(*this, *m_exo, *m_documents, *m_exercise, *insertion.insertion, m_platform);
    // Before spelling: on an equation the context menu is the equation's.
    installEquations(*this);
    installSpelling(*this, SpellServices::standard(&m_platform.settings));
}

void MainWindow::addShellStartupSteps()
{
    addStartupStep(StartupStep::InitialIndents, [this] {
        m_exo->setSelIndent(19);
        m_exo->setSelRightIndent(12);
    });
    addStartupStep(StartupStep::SharedDefaults,
                   [this] { m_state.specialCharsFont = QStringLiteral("Wingdings"); });
    addStartupStep(StartupStep::StateFileOpen, [this] {
        const StateFile stateFile(m_platform.system.applicationDirectory());
        if (!stateFile.markOpen())
            qCWarning(lcShell) << "cannot write" << stateFile.path();
    });
    addStartupStep(StartupStep::WindowPlacement, [this] { placeOnScreen(); });
    addStartupStep(StartupStep::DocumentSaved, [this] { m_state.documentSaved = 1; });
    addStartupStep(StartupStep::InitialFormat, [this] {
        // The typing format of the empty text is no change the user made.
        const int16_t saved = m_state.documentSaved;
        applyInitialFormat();
        m_state.documentSaved = saved;
    });
    addStartupStep(StartupStep::Title, [this] {
        if (m_state.currentDocumentPath.isEmpty())
            m_state.currentDocumentPath = EditorState::untitled;
        updateTitle();
    });
}

void MainWindow::applyInitialFormat()
{
    m_exo->setSelBold(false);
    m_exo->setSelItalic(false);
    m_exo->setSelUnderline(false);
    m_exo->setSelAlignment(0);
    m_exo->setSelFontName(QStringLiteral("Arial"));
    m_exo->setSelFontSize(10);
    m_exo->setSelCharOffset(0);
    m_exo->setSelColor(qRgb(0, 0, 0));
    m_exo->refresh();
}

void MainWindow::placeOnScreen()
{
    const WindowPlacement placement = placeWindow(m_platform.system.screenGeometry());
    setWindowState(Qt::WindowNoState);
    setGeometry(placement.geometry);
    if (placement.maximised)
        setWindowState(Qt::WindowMaximized);
}

void MainWindow::start()
{
    if (m_started)
        return;
    m_started = true;
    m_startup.run();
}

bool MainWindow::openFromCommandLine(const QString &path)
{
    // Texts recovered at start are modified: a file named on the command line must not
    // replace them unasked.
    if (!m_documents->confirmSaveChanges())
        return false;
    if (ExerciseController::isExercisePath(path))
        return m_exercise->openFromCommandLine(path);
    return m_documents->openPath(path);
}

void MainWindow::bindCommand(const QString &name, std::function<void()> handler)
{
    QAction *action = m_commands.value(name);
    Q_ASSERT_X(action, "MainWindow::bindCommand", qPrintable(name));
    if (!action)
        return;
    // A checkable command answers `toggled`: a click or a menu choice raises it before
    // `triggered`, and an accessibility "Toggle" on its tool button raises it alone. The
    // program's own writes to the check marks are silent (showChecked).
    if (action->isCheckable())
        connect(action, &QAction::toggled, this, [handler = std::move(handler)] { handler(); });
    else
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    m_bound.insert(name);
    const bool lockedAtStart = name == QLatin1String("az51") || name == QLatin1String("az52");
    if (!lockedAtStart)
        action->setEnabled(true);
}

void MainWindow::addStartupStep(StartupStep step, std::function<void()> action)
{
    m_startup.add(step, std::move(action));
}

void MainWindow::placeWidget(WindowArea area, QWidget *widget)
{
    if (area == WindowArea::ToolBar) {
        m_toolBar->addWidget(widget);
        return;
    }
    if (area == WindowArea::FormatBar) {
        // A second row, as word processors lay out their formatting controls: one row would
        // not fit an 800-pixel screen.
        if (!m_formatBar) {
            addToolBarBreak();
            m_formatBar = addToolBar(tr("Mise en forme"));
            m_formatBar->setObjectName(QStringLiteral("barreMiseEnForme"));
            m_formatBar->setMovable(false);
        }
        m_formatBar->addWidget(widget);
        return;
    }
    if (area == WindowArea::SymbolPalettes || area == WindowArea::ExercisePanel) {
        m_areas.at(area)->addWidget(new SideScroller(widget));
        return;
    }
    m_areas.at(area)->addWidget(widget);
}

bool MainWindow::saveDispatcher()
{
    return m_documents->saveDispatcher();
}

bool MainWindow::confirmSaveChanges()
{
    return m_documents->confirmSaveChanges();
}

bool MainWindow::newText()
{
    return m_documents->newText();
}

void MainWindow::updateTitle()
{
    setWindowTitle(m_state.windowTitle());
}

void MainWindow::setStatementItem(const QString &path, bool visible)
{
    m_exerciseItems.setStatement(path, visible);
}

void MainWindow::setCorrectionItem(const QString &path, bool visible)
{
    m_exerciseItems.setCorrection(path, visible);
}

void MainWindow::setExercisePathSource(std::function<QString()> source)
{
    m_exercisePath = std::move(source);
}

void MainWindow::updateFileMenu()
{
    if (m_bound.contains(QStringLiteral("sauvetout")))
        m_commands.value(QStringLiteral("sauvetout"))->setEnabled(m_exerciseItems.bothVisible());
}

void MainWindow::updateExerciseMenu()
{
    if (!m_bound.contains(QStringLiteral("az55")))
        return;
    const bool exerciseOpen = m_exercisePath && !m_exercisePath().isEmpty();
    m_commands.value(QStringLiteral("az55"))->setEnabled(exerciseOpen);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The prompt has no Cancel, but a Yes whose save did not happen keeps the window open: the
    // text would otherwise be lost behind the user's back.
    if (!m_documents->confirmSaveChanges()) {
        event->ignore();
        return;
    }
    shutdown();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_exo->setFocus();
    QMainWindow::changeEvent(event);
}

void MainWindow::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    const StateFile stateFile(m_platform.system.applicationDirectory());
    if (!stateFile.markClosed())
        qCWarning(lcShell) << "cannot write" << stateFile.path();
}
