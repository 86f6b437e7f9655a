#include "exercise/exercisefile.h"
#include "exercise/exercisepage.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedplatform.h"
#include "shell/mainwindow.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray plainTextOf(const QString &path)
{
    const std::unique_ptr<RichTextControl> control = createRichTextControl();
    return control->loadFile(path) ? control->text().trimmed() : QByteArray("<unreadable>");
}

} // namespace

// The exercise workflow inside the real main window, over the real rich-text control.
class tst_ExerciseInWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startUpFillsTheLists()
    {
        EditorState state;
        ScriptedPlatform fake;
        Platform platform = fake.platform();
        MainWindow window(state, platform, createRichTextControl);
        window.start();
        auto *modules = window.findChild<QComboBox *>("Combo2");
        QVERIFY(modules);
        QCOMPARE(modules->count(), 13);
        QCOMPARE(modules->currentIndex(), 0);
        QCOMPARE(window.findChild<QComboBox *>("ComboZ1")->count(), 4);
        QVERIFY(window.findChild<QWidget *>("Picture4"));
        QVERIFY(!window.command("az51")->isEnabled());
        QVERIFY(!window.command("az52")->isEnabled());
        QVERIFY(!window.command("textexo")->isVisible());
    }

    void commandLineOpenSwitchAndSaveAll()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("enonce.rtf"), "{\\rtf1\\ansi Enonce\\par}"));
        QVERIFY(writeFile(dir.filePath("corrige.rtf"), "{\\rtf1\\ansi Corrige\\par}"));
        ExerciseData data;
        data.files = {"enonce.rtf", "", "corrige.rtf", ""};
        QVERIFY(ExerciseFile::write(dir.filePath("exo.e03"), data));
        const QString path = QDir::toNativeSeparators(dir.filePath("exo.e03"));

        EditorState state;
        ScriptedPlatform fake;
        Platform platform = fake.platform();
        MainWindow window(state, platform, createRichTextControl);
        window.start();
        QVERIFY(window.openFromCommandLine(path));
        QCOMPARE(window.findChild<QComboBox *>("Combo2")->currentText(), QStringLiteral("Cadrillon"));
        QCOMPARE(state.moduleExtension, QStringLiteral("E03"));
        const QString statement = QDir::toNativeSeparators(dir.filePath("enonce.rtf"));
        const QString correction = QDir::toNativeSeparators(dir.filePath("corrige.rtf"));
        QCOMPARE(state.currentDocumentPath, statement);
        QCOMPARE(window.windowTitle(), "VELIGRAM - " + statement);
        QCOMPARE(window.exo().text().trimmed(), QByteArray("Enonce"));
        QVERIFY(window.command("textexo")->isVisible());
        QVERIFY(window.command("textcor")->isVisible());

        window.exo().setText("Enonce modifie");
        state.documentSaved = 0;
        window.command("az51")->trigger();
        QCOMPARE(state.currentDocumentPath, correction);
        QCOMPARE(window.exo().text().trimmed(), QByteArray("Corrige"));
        window.exo().setText("Corrige modifie");
        window.command("az52")->trigger();
        QCOMPARE(window.exo().text().trimmed(), QByteArray("Enonce modifie"));
        QVERIFY(fake.messages.asked().isEmpty());

        QVERIFY(window.saveDispatcher());
        QCOMPARE(plainTextOf(statement), QByteArray("Enonce modifie"));
        QCOMPARE(plainTextOf(correction), QByteArray("Corrige modifie"));
        QCOMPARE(state.documentSaved, int16_t(1));
    }
};

QTEST_MAIN(tst_ExerciseInWindow)
#include "tst_exerciseinwindow.moc"
