#include "platform/editorstate.h"
#include "platform/frenchtranslations.h"
#include "platform/qtplatform.h"
#include "richtext/richtextfactory.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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
    window.start();
    window.show();

    // `veligram FILE` opens an RTF or plain-text file, or an exercise file.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openFromCommandLine(QDir::toNativeSeparators(QFileInfo(arguments.at(1)).absoluteFilePath()));
    return app.exec();
}
