// A monkey on the assembled editor: random typing, selections and commands from the menus and
// the tool bar, dialogs answered at random, and every so often a save and a reopen that must
// give the same text. It stops with a non-zero status on a hang of more than 2 s, on a saved
// file that does not reopen to the same text, on a step that changed the text without marking
// it changed (the close guard would then lose it) and on a save that leaves it marked changed;
// a crash or a sanitizer report stops it anyway.
//
//   monkey SECONDS [SEED]     (on an X server: scripts/monkey.sh runs it under the sanitizers)
#include "dialoganswers.h"
#include "platform/editorstate.h"
#include "platform/qtplatform.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "shell/mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolBar>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

std::atomic<qint64> heartbeat{0};
std::atomic<const char *> lastStep{"start"};

qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void beat(const char *step)
{
    lastStep = step;
    heartbeat = nowMs();
}

// Leaves the process when the interface thread has not come back for more than 2 s.
void watchdog()
{
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const qint64 stale = nowMs() - heartbeat.load();
        if (stale > 2000) {
            std::fprintf(stderr, "monkey: HANG of %lld ms after step \"%s\"\n", static_cast<long long>(stale),
                         lastStep.load());
            std::fflush(stderr);
            std::_Exit(3);
        }
    }
}

QString randomText(QRandomGenerator &random)
{
    static const QString pieces[] = {QStringLiteral("H2O "), QStringLiteral("SO4 "), QStringLiteral("élève "),
                                     QStringLiteral("\t"),   QStringLiteral("x² "),  QStringLiteral("mol "),
                                     QStringLiteral("a"),    QStringLiteral("\n"),   QStringLiteral("Ω ")};
    QString text;
    const int count = random.bounded(1, 6);
    for (int i = 0; i < count; ++i)
        text += pieces[random.bounded(int(std::size(pieces)))];
    return text;
}

// QTest types ASCII only; other characters come as a keyboard layout would send them.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\t')) {
            QTest::keyClick(widget, c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key_Tab);
            continue;
        }
        if (c.unicode() >= 32 && c.unicode() < 127) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// A user's answer to whatever dialog shows: file and printer dialogs are always cancelled (a
// monkey must not print or write files of its own choosing); others get text in their boxes
// and a random button.
void answerAtRandom(QWidget *dialog, QRandomGenerator &random)
{
    static QByteArray step;
    step = "dialog " + dialog->objectName().toUtf8() + " \"" + dialog->windowTitle().toUtf8() + "\"";
    beat(step.constData());
    if (qobject_cast<QFileDialog *>(dialog) || dialog->inherits("QPrintDialog") ||
        dialog->inherits("QPageSetupDialog") || random.bounded(3) == 0) {
        DialogAnswers::dismiss(dialog);
        return;
    }
    for (QLineEdit *box : dialog->findChildren<QLineEdit *>()) {
        if (box->isVisible() && random.bounded(2) == 0) {
            box->setFocus();
            typeText(box, randomText(random).trimmed());
        }
    }
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (button->isVisible() && button->isEnabled())
            buttons << button;
    }
    if (buttons.isEmpty()) {
        DialogAnswers::dismiss(dialog);
        return;
    }
    QTest::mouseClick(buttons.at(random.bounded(int(buttons.size()))), Qt::LeftButton);
}

// Commands that put another whole text in the editor (a new text, a file, the other text of an
// exercise): the text changes and is rightly not marked changed.
bool replacesWholeText(const QString &command)
{
    static const QStringList loaders = {
        QStringLiteral("Nouv"),     QStringLiteral("ouvre"),   QStringLiteral("Command2"),
        QStringLiteral("Command3"), QStringLiteral("textexo"), QStringLiteral("textcor"),
        QStringLiteral("az51"),     QStringLiteral("az52"),    QStringLiteral("az53"),
        QStringLiteral("az54"),     QStringLiteral("az55")};
    return loaders.contains(command) || command.startsWith(QLatin1String("recent"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QStringList arguments = QApplication::arguments();
    const int seconds = arguments.size() > 1 ? arguments.at(1).toInt() : 30;
    const quint32 seed = arguments.size() > 2 ? arguments.at(2).toUInt() : quint32(nowMs());
    QRandomGenerator random(seed);
    QTextStream out(stdout);
    out << "monkey: seed " << seed << ", " << seconds << " s\n" << Qt::flush;

    QTemporaryDir scratch;
    QtPlatform qt;
    Platform platform = qt.platform();
    EditorState state;
    MainWindow window(state, platform, [] { return createRichTextControl(); });
    window.start();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    // A text with a file from the start, so that saves go to it until a command names another.
    const QString first = scratch.filePath(QStringLiteral("start.rtf"));
    if (!window.exo().saveFile(first) || !window.openFromCommandLine(first))
        return 3;

    DialogAnswers answers;
    answers.answerEvery([&random](QWidget *dialog) { answerAtRandom(dialog, random); });
    QList<QAction *> commands;
    for (QMenu *menu : window.menuBar()->findChildren<QMenu *>())
        commands << menu->actions();
    for (QToolBar *bar : window.findChildren<QToolBar *>())
        commands << bar->actions();
    const QStringList leaving = {QStringLiteral("quitter"), QStringLiteral("Command5"),
                                 QStringLiteral("aidant")};
    commands.erase(std::remove_if(commands.begin(), commands.end(),
                                  [&leaving](QAction *a) {
                                      return a->isSeparator() || a->menu() ||
                                             leaving.contains(a->objectName());
                                  }),
                   commands.end());

    beat("start");
    std::thread(watchdog).detach();
    QElapsedTimer clock;
    clock.start();
    long steps = 0;
    int saves = 0;
    long edits = 0;
    while (clock.elapsed() < seconds * 1000LL) {
        RichTextControl &exo = window.exo();
        const QByteArray rtfBefore = exo.textRtf();
        QString commandName;
        bool saved = false;
        const int action = random.bounded(100);
        if (action < 40) {
            beat("type");
            exo.setFocus();
            typeText(exo.widget(), randomText(random));
        } else if (action < 55) {
            beat("select");
            const int length = exo.textLength();
            const int start = random.bounded(length + 1);
            exo.setSelection({start, random.bounded(length - start + 1)});
        } else if (action < 60) {
            beat("key");
            static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Home,
                                           Qt::Key_End,       Qt::Key_Return, Qt::Key_Tab,  Qt::Key_Up};
            QTest::keyClick(exo.widget(), keys[random.bounded(int(std::size(keys)))]);
        } else if (action < 97) {
            QAction *command = commands.at(random.bounded(int(commands.size())));
            if (command->isEnabled() && command->isVisible()) {
                static QByteArray name;
                commandName = command->objectName();
                name = commandName.toUtf8();
                beat(name.constData());
                command->trigger();
            }
        } else if (action < 98 && QFileInfo::exists(state.currentDocumentPath)) {
            beat("save");
            saved = window.saveDispatcher();
        } else {
            beat("save and reopen");
            const QString path = scratch.filePath(QStringLiteral("monkey%1.rtf").arg(saves++ % 3));
            const QByteArray before = exo.text();
            if (exo.saveFile(path)) {
                const std::unique_ptr<RichTextControl> reopened = createRichTextControl();
                if (!reopened->loadFile(path) || reopened->text() != before) {
                    out << "monkey: FAULT: " << path << " does not reopen to the same text after " << steps
                        << " steps (seed " << seed << ")\n";
                    return 4;
                }
            }
        }
        QCoreApplication::processEvents();
        if (saved && state.documentSaved != 1) {
            out << "monkey: FAULT: still marked changed after a save, " << steps << " steps (seed " << seed
                << ")\n";
            return 5;
        }
        if (exo.textRtf() != rtfBefore && !replacesWholeText(commandName)) {
            ++edits;
            if (state.documentSaved != 0) {
                out << "monkey: FAULT: the text changed and is not marked changed after "
                    << (commandName.isEmpty() ? QStringLiteral("typing or a key") : commandName) << ", "
                    << steps << " steps (seed " << seed << ")\n";
                return 6;
            }
        }
        if (!window.isVisible())
            window.show(); // a "Nouveau" or an exercise closed it: carry on
        ++steps;
        beat("idle");
    }
    out << "monkey: " << steps << " steps, " << edits << " edits, " << saves << " saves, "
        << answers.seen().size() << " dialogs, no fault (seed " << seed << ")\n"
        << Qt::flush;
    state.documentSaved = 1;
    return 0;
}
