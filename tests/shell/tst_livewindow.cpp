// The assembled main window with the real platform services (clipboard, keystrokes, dialogs),
// on an X server with a window manager: the seams that the scripted doubles cannot show, such
// as a keystroke the program sends while its window is not active again after a dialog.
#include "dialoganswers.h"
#include "format/characterformat.h"
#include "liveactions.h"
#include "platform/editorstate.h"
#include "platform/qtplatform.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "shell/mainwindow.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using namespace LiveActions;

class tst_LiveWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void ionComposerInsertsItsPicture_data();
    void ionComposerInsertsItsPicture();
    void undoGivesTheTextBack_data();
    void undoGivesTheTextBack();
    void pasteSpecialPastesAPicture_data();
    void pasteSpecialPastesAPicture();
    void pictureFromAFile();
    void reactionArrows();
    void scriptsByEveryRoad_data();
    void scriptsByEveryRoad();
    void pensAndTogglesByEveryRoad_data();
    void pensAndTogglesByEveryRoad();
    void everyControlHasANameAndAnAction();
    void everyCommandRuns();
    void windowFitsTheScreen();

private:
    QWidget *control(const char *name) const;
    RichTextControl &exo() { return m_window->exo(); }
    void startTyping(const QByteArray &text);

    QTemporaryDir m_dir;
    std::unique_ptr<QtPlatform> m_qt;
    std::unique_ptr<Platform> m_platform;
    std::unique_ptr<EditorState> m_state;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DialogAnswers> m_answers;
};

void tst_LiveWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void tst_LiveWindow::init()
{
    m_qt = std::make_unique<QtPlatform>();
    m_platform = std::make_unique<Platform>(m_qt->platform());
    m_state = std::make_unique<EditorState>();
    m_answers = std::make_unique<DialogAnswers>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_platform, [] { return createRichTextControl(); });
    m_window->start();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_LiveWindow::cleanup()
{
    QCOMPARE(m_answers->unexpected(), QStringList());
    QVERIFY2(!m_answers->pending(), "a dialog the test waited for did not show");
    // Leave without the close guard: the window goes with no question.
    m_state->documentSaved = 1;
    m_window.reset();
    m_answers.reset();
    m_platform.reset();
    m_qt.reset();
}

QWidget *tst_LiveWindow::control(const char *name) const
{
    return m_window->findChild<QWidget *>(QLatin1String(name));
}

void tst_LiveWindow::startTyping(const QByteArray &text)
{
    exo().setText(text);
    exo().setSelStart(int(text.size()));
    exo().setFocus();
    QTRY_VERIFY(exo().hasFocus());
}

void tst_LiveWindow::ionComposerInsertsItsPicture_data()
{
    QTest::addColumn<bool>("fromToolBar");
    QTest::newRow("menu Formule ion polyatomique") << false;
    QTest::newRow("tool-bar button") << true;
}

void tst_LiveWindow::ionComposerInsertsItsPicture()
{
    QFETCH(bool, fromToolBar);
    startTyping("Le sulfate ");
    m_answers->answerNext([](QWidget *dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("polyion"));
        typeInto(dialog, "baset", QStringLiteral("SO"));
        typeInto(dialog, "Text2", QStringLiteral("2-"));
        typeInto(dialog, "Text3", QStringLiteral("4"));
        QTest::mouseClick(dialog->findChild<QWidget *>(QStringLiteral("Command3")), Qt::LeftButton);
    });
    if (fromToolBar)
        QTest::mouseClick(control("Command9"), Qt::LeftButton);
    else
        m_window->command(QStringLiteral("ionpoly"))->trigger();
    QTRY_COMPARE(exo().objectCount(), 1);
    QCOMPARE(exo().textLength(), 12); // at the caret, after the text typed
    QCOMPARE(exo().selStart(), 12);
    QVERIFY(!QGuiApplication::clipboard()->image().isNull());
    QTRY_VERIFY(exo().hasFocus());
    shot(m_window.get(), fromToolBar ? QStringLiteral("ion-toolbar") : QStringLiteral("ion-menu"));
}

void tst_LiveWindow::undoGivesTheTextBack_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("click");
    QTest::newRow("tool-bar button") << "annule" << true;
    QTest::newRow("Edition menu") << "annuleur" << false;
}

void tst_LiveWindow::undoGivesTheTextBack()
{
    QFETCH(QString, command);
    QFETCH(bool, click);
    startTyping("Base ");
    QTest::keyClicks(exo().widget(), QStringLiteral("ajout"));
    QCOMPARE(exo().text().trimmed(), QByteArray("Base ajout"));
    if (click)
        QTest::mouseClick(m_window->findChild<QWidget *>(command), Qt::LeftButton);
    else
        m_window->command(command)->trigger();
    QTRY_COMPARE(exo().text().trimmed(), QByteArray("Base"));
}

void tst_LiveWindow::pasteSpecialPastesAPicture_data()
{
    QTest::addColumn<bool>("linked");
    QTest::newRow("link kept (at start): the text as it is") << true;
    QTest::newRow("link dropped: a picture of the text") << false;
}

void tst_LiveWindow::pasteSpecialPastesAPicture()
{
    QFETCH(bool, linked);
    QAction *link = m_window->command(QStringLiteral("liercolle"));
    QVERIFY(link->isChecked());
    if (!linked)
        link->trigger();
    QCOMPARE(link->isChecked(), linked);
    startTyping("avant ");
    QGuiApplication::clipboard()->setText(QStringLiteral("H2O"));
    QTRY_VERIFY(QGuiApplication::clipboard()->mimeData()->hasText());
    m_window->command(QStringLiteral("supercolle"))->trigger();
    if (linked) {
        QTRY_COMPARE(exo().text().trimmed(), QByteArray("avant H2O"));
        QCOMPARE(exo().objectCount(), 0);
    } else {
        QTRY_COMPARE(exo().objectCount(), 1);
        QCOMPARE(exo().selStart(), 7);
    }
}

void tst_LiveWindow::pictureFromAFile()
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString path = m_dir.filePath(QStringLiteral("carre.bmp"));
    QVERIFY(image.save(path));
    startTyping("image : ");
    m_answers->answerNext([path](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::mouseClick(control("Command11"), Qt::LeftButton);
    QTRY_COMPARE(exo().objectCount(), 1);
    QCOMPARE(exo().selStart(), 9);
}

void tst_LiveWindow::reactionArrows()
{
    startTyping("A + B ");
    auto *palette = m_window->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QVERIFY(palette);
    QTest::mouseClick(palette->tabBar(), Qt::LeftButton, {}, palette->tabBar()->tabRect(2).center());
    QTRY_COMPARE(palette->currentIndex(), 2);
    auto *arrows = palette->findChild<QWidget *>(QStringLiteral("des01"));
    QTRY_VERIFY(arrows && arrows->isVisible());
    QTest::mouseClick(arrows, Qt::LeftButton);
    QTRY_COMPARE(exo().objectCount(), 1);
    shot(m_window.get(), QStringLiteral("arrows"));
}

void tst_LiveWindow::scriptsByEveryRoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("sign");
    for (const char *road : {"click", "space", "Toggle"}) {
        QTest::addRow("Indice, %s", road) << "Option2_1" << road << -1;
        QTest::addRow("Exposant, %s", road) << "Option2_2" << road << 1;
        QTest::addRow("exposant toggle, %s", road) << "Check3_0" << road << 1;
        QTest::addRow("indice toggle, %s", road) << "Check3_1" << road << -1;
    }
}

void tst_LiveWindow::scriptsByEveryRoad()
{
    QFETCH(QString, name);
    QFETCH(QString, road);
    QFETCH(int, sign);
    startTyping("H2O");
    exo().setSelection({1, 1});
    auto *button = m_window->findChild<QAbstractButton *>(name);
    QVERIFY(button);
    QVERIFY(!button->accessibleName().isEmpty());
    if (road == QLatin1String("click")) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (road == QLatin1String("space")) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
    } else {
        QVERIFY(doAccessibleAction(button, QAccessibleActionInterface::toggleAction()));
    }
    QTRY_VERIFY(exo().selCharOffset().hasValue() && exo().selCharOffset().value() * sign > 0);
    // The mirror shows it back without applying anything again.
    QCOMPARE(exo().selection(), TextRange({1, 1}));
    QVERIFY(button->isChecked());
    shot(m_window.get(),
         QStringLiteral("script-") + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'));

    // And "Normal" by the same road gives back the baseline.
    auto *normal = m_window->findChild<QAbstractButton *>(QStringLiteral("Option2_0"));
    if (road == QLatin1String("click"))
        QTest::mouseClick(normal, Qt::LeftButton);
    else if (road == QLatin1String("space"))
        QTest::keyClick(normal, Qt::Key_Space);
    else
        QVERIFY(doAccessibleAction(normal, QAccessibleActionInterface::toggleAction()));
    QTRY_COMPARE(exo().selCharOffset(), Mixed<int>(0));
}

void tst_LiveWindow::pensAndTogglesByEveryRoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("road");
    for (const char *road : {"click", "Press", "Toggle"}) {
        for (int pen = 0; pen < 4; ++pen)
            QTest::addRow("pen %d, %s", pen, road) << QStringLiteral("optcoul_%1").arg(pen) << road;
        QTest::addRow("bold, %s", road) << "Check1_1" << road;
        QTest::addRow("centre, %s", road) << "Option3_1" << road;
        QTest::addRow("bullets, %s", road) << "bull" << road;
    }
}

void tst_LiveWindow::pensAndTogglesByEveryRoad()
{
    QFETCH(QString, name);
    QFETCH(QString, road);
    startTyping("un mot");
    exo().setSelection({3, 3});
    auto *button = m_window->findChild<QToolButton *>(name);
    QVERIFY(button);
    if (road == QLatin1String("click")) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
        QVERIFY(accessible && accessible->actionInterface());
        // A checkable tool button offers "Toggle" alone: "Press" rows press it through that.
        const QStringList actions = accessible->actionInterface()->actionNames();
        QVERIFY2(!actions.isEmpty(), qPrintable(name));
        accessible->actionInterface()->doAction(actions.contains(road) ? road : actions.first());
    }
    if (name.startsWith(QLatin1String("optcoul_"))) {
        const int pen = name.back().digitValue();
        QTRY_COMPARE(exo().selColor(), Mixed<QRgb>(CharacterFormat::penColor(pen)));
    } else if (name == QLatin1String("Check1_1")) {
        QTRY_COMPARE(exo().selBold(), Mixed<bool>(true));
    } else if (name == QLatin1String("Option3_1")) {
        QTRY_COMPARE(exo().selAlignment(), Mixed<int>(2));
    } else {
        QTRY_COMPARE(exo().selBullet(), Mixed<bool>(true));
    }
    QCOMPARE(exo().selection(), TextRange({3, 3}));
    shot(m_window.get(),
         QStringLiteral("tool-") + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'));
}

void tst_LiveWindow::everyControlHasANameAndAnAction()
{
    QStringList faults;
    const auto check = [&faults](QWidget *window) {
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if (!widget->isVisibleTo(window) || !widget->isEnabled())
                continue;
            if (!qobject_cast<QAbstractButton *>(widget) && !qobject_cast<QLineEdit *>(widget) &&
                !widget->inherits("QComboBox") && !widget->inherits("QAbstractSpinBox") &&
                !widget->inherits("QAbstractItemView") && !widget->inherits("QTabBar"))
                continue;
            if (widget->inherits("QAbstractItemView") || widget->parent()->inherits("QFileDialog") ||
                window->inherits("QFileDialog"))
                continue; // Qt's own views and file dialog speak for themselves
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            const QString where = window->objectName() + QLatin1Char('/') + widget->objectName() +
                                  QLatin1Char(' ') + QLatin1String(widget->metaObject()->className());
            if (!accessible) {
                faults << where + QStringLiteral(": no accessible interface");
                continue;
            }
            if (accessible->text(QAccessible::Name).trimmed().isEmpty() && !qobject_cast<QLineEdit *>(widget))
                faults << where + QStringLiteral(": no accessible name");
            const bool acts =
                (accessible->actionInterface() && !accessible->actionInterface()->actionNames().isEmpty()) ||
                accessible->editableTextInterface() || accessible->valueInterface();
            if (!acts)
                faults << where + QStringLiteral(": no accessibility action");
        }
    };
    check(m_window.get());
    // Every dialog the commands open, looked at before it is closed.
    m_answers->answerEvery([&check](QWidget *dialog) {
        check(dialog);
        DialogAnswers::dismiss(dialog);
    });
    for (const char *name : {"ionpoly", "SPECIALCAr", "Command12", "rechercher", "remplace", "tabulo",
                             "margo", "decaexp", "decaind", "toutexpo", "objet", "az53"}) {
        QAction *command = m_window->command(QLatin1String(name));
        if (!command || !command->isEnabled())
            continue;
        command->trigger();
        QTest::qWait(50);
    }
    m_answers->clear();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QVERIFY(m_answers->seen().size() >= 5);
}

void tst_LiveWindow::everyCommandRuns()
{
    // Every enabled menu item and tool-bar button once, every dialog answered by its cancel
    // button; the window must live through it and stay usable.
    m_answers->answerEvery(&DialogAnswers::dismiss);
    QList<QAction *> commands;
    for (QMenu *menu : m_window->menuBar()->findChildren<QMenu *>()) {
        for (QAction *item : menu->actions())
            commands << item;
    }
    for (QToolBar *bar : m_window->findChildren<QToolBar *>()) {
        for (QAction *button : bar->actions())
            commands << button;
    }
    const QStringList leaving = {QStringLiteral("quitter"), QStringLiteral("Command5")};
    int run = 0;
    for (QAction *command : commands) {
        // Recent files are whatever other runs left in the settings: not this test's business.
        if (command->isSeparator() || !command->isEnabled() || !command->isVisible() || command->menu() ||
            leaving.contains(command->objectName()) ||
            command->objectName().startsWith(QLatin1String("recent")))
            continue;
        startTyping("Texte H2O");
        exo().setSelection({6, 3});
        command->trigger();
        QTest::qWait(20);
        QVERIFY2(m_window->isVisible(), qPrintable(command->objectName()));
        ++run;
    }
    QVERIFY(run > 40);
    // Still a working editor.
    startTyping("fin");
    QTest::keyClicks(exo().widget(), QStringLiteral("!"));
    QCOMPARE(exo().text().trimmed(), QByteArray("fin!"));
    m_answers->clear();

    // Quitting asks about the changes; "Non" leaves without saving.
    m_answers->answerNext(
        [](QWidget *box) { QVERIFY(DialogAnswers::clickButton(box, QStringLiteral("Non"))); });
    m_state->documentSaved = 0;
    m_window->command(QStringLiteral("quitter"))->trigger();
    QTRY_VERIFY(!m_window->isVisible());
}

void tst_LiveWindow::windowFitsTheScreen()
{
    // Maximised by the window manager on a small screen, frame and title included: the status
    // bar (the zoom, the print messages) and the bottom of the text stay on the screen.
    // At a scale of 2 an odd title bar height ends half a logical pixel off: one pixel is slack.
    const QRect screen = m_window->screen()->availableGeometry().adjusted(0, 0, 0, 1);
    QTRY_VERIFY(m_window->isMaximized() || screen.width() > 1024);
    QTest::qWait(200);
    const QRect frame = m_window->frameGeometry();
    const QString sizes = QStringLiteral("frame %1x%2+%3+%4, screen %5x%6, minimum %7")
                              .arg(frame.width())
                              .arg(frame.height())
                              .arg(frame.x())
                              .arg(frame.y())
                              .arg(screen.width())
                              .arg(screen.height())
                              .arg(m_window->minimumSizeHint().height());
    QVERIFY2(screen.contains(frame), qPrintable(sizes));
    const QWidget *status = m_window->statusBar();
    const QRect shown(status->mapToGlobal(QPoint(0, 0)), status->size());
    QVERIFY2(screen.contains(shown), qPrintable(sizes));
}

QTEST_MAIN(tst_LiveWindow)
#include "tst_livewindow.moc"
