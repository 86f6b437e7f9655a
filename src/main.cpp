#include "platform/editorstate.h"
#include "platform/frenchtranslations.h"
#include "platform/qtplatform.h"
#include "recovery/recoverysession.h"
#include "richtext/richtextfactory.h"
#include "shell/mainwindow.h"
#include "testdriver/commandfiledriver.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veligram"));
    QGuiApplication::setDesktopFileName(QStringLiteral("veligram"));
    installFrenchTranslations(app);

    QtPlatform qtPlatform;
    Platform platform = qtPlatform.platform();
    EditorState state;
    MainWindow window(state, platform, [] { return createRichTextControl(); });

    std::unique_ptr<CommandFileDriver> driver;
    if (const QString folder = qEnvironmentVariable("VELIGRAM_TEST_DRIVER"); !folder.isEmpty())
        driver = std::make_unique<CommandFileDriver>(folder, window, window, state);

    // The question about texts a crash left behind comes before the start-up sequence; the
    // texts go back once the window is ready to show them.
    RecoverySession recovery(
        RecoverySession::Settings::fromEnvironment(), state, platform.messages, window,
        [&window] { return window.exercisePath(); },
        [&window](const QString &exercise) { return window.openFromCommandLine(exercise); });
    const bool recover = recovery.askAtStart();
    window.start();
    recovery.begin(recover);
    window.show();

    // `veligram FILE` opens an RTF or plain-text file, or an exercise file.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openFromCommandLine(QDir::toNativeSeparators(QFileInfo(arguments.at(1)).absoluteFilePath()));
    const int status = app.exec();
    recovery.end(); // a clean quit: the texts were saved or given up at the close guard
    return status;
}
