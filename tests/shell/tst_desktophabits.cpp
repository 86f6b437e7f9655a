#include "exercise/exercisecontroller.h"
#include "exercise/exercisedata.h"
#include "exercise/exercisefile.h"
#include "mainwindowfixture.h"
#include "shell/desktophabits.h"
#include "shell/documentcontroller.h"
#include "shell/recentfiles.h"
#include "shell/zoomcommands.h"
#include "testimages.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct HabitsFixture : MainWindowFixture
{
    QTemporaryDir folder;

    QString path(const QString &name) const { return QDir::toNativeSeparators(folder.filePath(name)); }
    QString rtf(const QString &name, const QByteArray &text = "Texte")
    {
        writeFile(path(name), "{\\rtf1\\ansi " + text + "\\par}");
        return path(name);
    }
    QString exercise(const QString &name)
    {
        rtf(QStringLiteral("enonce.rtf"), "Enonce");
        ExerciseData data;
        data.files = {QStringLiteral("enonce.rtf"), QString(), QString(), QString()};
        (void)ExerciseFile::write(path(name), data);
        return path(name);
    }
    QMenu *menu(const char *name) const { return window->findChild<QMenu *>(QLatin1String(name)); }
    // The recent entries a menu shows when it opens: "caption|tool tip".
    QStringList entries(const char *menuName, const QString &prefix) const
    {
        QMenu *shown = menu(menuName);
        Q_EMIT shown->aboutToShow();
        QStringList rows;
        for (int i = 1; i <= RecentFiles::capacity; ++i) {
            auto *entry = window->findChild<QAction *>(prefix + QString::number(i));
            if (entry && entry->isVisible())
                rows << entry->text() + QLatin1Char('|') + entry->toolTip();
        }
        return rows;
    }
    QAction *entry(const QString &name) const { return window->findChild<QAction *>(name); }
    QWidget *textView() { return static_cast<QAbstractScrollArea *>(exo().widget())->viewport(); }
    QTextEdit *textEdit() { return qobject_cast<QTextEdit *>(exo().widget()); }
};

// A drag of `paths` over `target` at `at`: whether it was accepted; then, when `drop`, the drop.
bool dragAndDrop(QWidget *target, const QStringList &paths, QPoint at, bool drop = true)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    const bool accepted = enter.isAccepted() && move.isAccepted();
    if (drop) {
        QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropEvent);
    }
    QCoreApplication::processEvents(); // the command runs once the drop is over
    return accepted;
}

} // namespace

class tst_DesktopHabits : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void recentListKeepsOrderAndCapacity_data();
    void recentListKeepsOrderAndCapacity();
    void recentTextsInTheFileMenu();
    void recentTextOpensAsOpenDoes();
    void missingRecentFileIsRemovedWithAMessage();
    void recentExercisesInTheExerciseMenu();
    void recentListsAreKeptBetweenRuns();

    void drops_data();
    void drops();
    void droppedTextAsksAboutUnsavedChanges();
    void droppedImageGoesInAtTheDropPoint();

    void zoomKeysAndLimits();
    void zoomIsKeptBetweenRuns_data();
    void zoomIsKeptBetweenRuns();
};

void tst_DesktopHabits::recentListKeepsOrderAndCapacity_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("most recent first")
        << QVariant() << QStringList{"/a", "/b", "/c"} << QStringList{"/c", "/b", "/a"};
    QTest::newRow("a file used again moves up")
        << QVariant() << QStringList{"/a", "/b", "/a"} << QStringList{"/a", "/b"};
    QTest::newRow("the same file written differently")
        << QVariant() << QStringList{"/d/a", "/d/x/../a"} << QStringList{"/d/x/../a"};
    QTest::newRow("eight at most, the oldest goes")
        << QVariant() << QStringList{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10"}
        << QStringList{"/10", "/9", "/8", "/7", "/6", "/5", "/4", "/3"};
    QTest::newRow("a hand-edited settings file is cleaned")
        << QVariant(QStringList{"", "/a", "/a", "  ", "/b", "/c", "/d", "/e", "/f", "/g", "/h", "/i"})
        << QStringList{} << QStringList{"/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h"};
    QTest::newRow("settings that hold no list") << QVariant(42) << QStringList{"/a"} << QStringList{"/a"};
}

void tst_DesktopHabits::recentListKeepsOrderAndCapacity()
{
    QFETCH(QVariant, stored);
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    ScriptedSettingsStore settings;
    if (stored.isValid())
        settings.setValue(QStringLiteral("k"), stored);
    RecentFiles recent(settings, QStringLiteral("k"));
    for (const QString &path : added)
        recent.add(path);
    QStringList native;
    for (const QString &path : expected)
        native << QDir::toNativeSeparators(path);
    QCOMPARE(recent.paths(), native);
}

void tst_DesktopHabits::recentTextsInTheFileMenu()
{
    HabitsFixture f;
    QVERIFY(f.entries("fichi", "recentText").isEmpty());
    QVERIFY(!f.entry(QStringLiteral("seprecentText"))->isVisible());
    // Opened and saved, through the File menu's own commands.
    const QString first = f.rtf(QStringLiteral("premier.rtf"));
    const QString second = f.rtf(QStringLiteral("cours & td.rtf"));
    f.fake.files.chooseNext(first);
    f.window->command(QStringLiteral("ouvre"))->trigger();
    f.fake.files.chooseNext(second);
    f.window->command(QStringLiteral("ouvre"))->trigger();
    const QString saved = f.path(QStringLiteral("nouveau.rtf"));
    f.fake.files.chooseNext(saved);
    f.window->command(QStringLiteral("sauve"))->trigger();
    QCOMPARE(
        f.entries("fichi", "recentText"),
        QStringList({"&1 nouveau.rtf|" + saved, "&2 cours && td.rtf|" + second, "&3 premier.rtf|" + first}));
    QVERIFY(f.entry(QStringLiteral("seprecentText"))->isVisible());
    // Between the printing commands and "&Quitter".
    const QList<QAction *> items = f.menu("fichi")->actions();
    QVERIFY(items.indexOf(f.entry(QStringLiteral("recentText1"))) <
            items.indexOf(f.window->command("sep2002")));
    QVERIFY(items.indexOf(f.entry(QStringLiteral("seprecentText"))) >
            items.indexOf(f.window->command("exportpdf")));
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DesktopHabits::recentTextOpensAsOpenDoes()
{
    HabitsFixture f;
    const QString file = f.rtf(QStringLiteral("ancien.rtf"), "Ancien texte");
    f.window->documents().openPath(file);
    f.window->documents().newText();
    f.exo().setText("non enregistre");
    f.state.documentSaved = 0;
    f.fake.messages.answerNext(MessageAnswer::No);
    f.entries("fichi", "recentText");
    f.entry(QStringLiteral("recentText1"))->trigger();
    QCOMPARE(f.fake.messages.askedTexts(), QStringList{QStringLiteral("Enregistrer modifications ?")});
    QCOMPARE(f.exo().text().trimmed(), QByteArray("Ancien texte"));
    QCOMPARE(f.state.currentDocumentPath, file);
    QCOMPARE(f.window->windowTitle(), "VELIGRAM - " + file);
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DesktopHabits::missingRecentFileIsRemovedWithAMessage()
{
    HabitsFixture f;
    const QString kept = f.rtf(QStringLiteral("garde.rtf"));
    const QString gone = f.rtf(QStringLiteral("efface.rtf"));
    f.window->documents().openPath(kept);
    f.window->documents().openPath(gone);
    QVERIFY(QFile::remove(gone));
    f.exo().setText("en cours");
    const QByteArray before = f.exo().textRtf();
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.entries("fichi", "recentText");
    f.entry(QStringLiteral("recentText1"))->trigger();
    QCOMPARE(f.fake.messages.asked().size(), 1);
    const MessageRequest &asked = f.fake.messages.asked().first();
    QCOMPARE(asked.text,
             QStringLiteral("Le fichier %1 est introuvable : il est retiré de la liste des fichiers "
                            "récents.")
                 .arg(gone));
    QCOMPARE(asked.title, QStringLiteral("Fichier introuvable"));
    QCOMPARE(asked.icon, MessageIcon::Exclamation);
    QCOMPARE(f.entries("fichi", "recentText"), QStringList{"&1 garde.rtf|" + kept});
    QCOMPARE(f.exo().textRtf(), before); // nothing else changed
    QCOMPARE(f.state.currentDocumentPath, gone);
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DesktopHabits::recentExercisesInTheExerciseMenu()
{
    HabitsFixture f;
    const QString first = f.exercise(QStringLiteral("premier.E03"));
    const QString second = f.exercise(QStringLiteral("second.E01"));
    QVERIFY(f.window->openFromCommandLine(first));
    QVERIFY(dragAndDrop(f.textView(), {second}, QPoint(10, 10)));
    QCOMPARE(f.entries("exot", "recentExercise"),
             QStringList({"&1 second.E01|" + second, "&2 premier.E03|" + first}));
    QVERIFY(f.entries("fichi", "recentText").isEmpty()); // exercises have their own list

    f.entry(QStringLiteral("recentExercise2"))->trigger();
    QCOMPARE(f.state.moduleExtension, QStringLiteral("E03"));
    QCOMPARE(f.window->findChild<QComboBox *>(QStringLiteral("Combo2"))->currentText(),
             QStringLiteral("Cadrillon"));
    QCOMPARE(f.state.currentDocumentPath, f.path(QStringLiteral("enonce.rtf")));
    QCOMPARE(f.entries("exot", "recentExercise"),
             QStringList({"&1 premier.E03|" + first, "&2 second.E01|" + second}));

    QVERIFY(QFile::remove(second));
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.entry(QStringLiteral("recentExercise2"))->trigger();
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QCOMPARE(f.entries("exot", "recentExercise"), QStringList{"&1 premier.E03|" + first});
    QCOMPARE(f.state.moduleExtension, QStringLiteral("E03"));
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DesktopHabits::recentListsAreKeptBetweenRuns()
{
    QVariantMap settings;
    QString file;
    {
        HabitsFixture first;
        file = first.rtf(QStringLiteral("hier.rtf"));
        first.window->documents().openPath(file);
        settings = first.fake.settings.values();
        HabitsFixture next;
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            next.fake.settings.setValue(it.key(), it.value());
        QCOMPARE(next.entries("fichi", "recentText"), QStringList{"&1 hier.rtf|" + file});
    }
    QCOMPARE(settings.value(DesktopHabits::recentTextsKey).toStringList(), QStringList{file});
}

void tst_DesktopHabits::drops_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("onText");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("opened"); // the document path afterwards, empty: unchanged
    QTest::newRow("an RTF file on the text") << "cours.rtf" << true << true << "cours.rtf";
    QTest::newRow("an RTF file beside the text") << "cours.rtf" << false << true << "cours.rtf";
    QTest::newRow("a plain-text file, upper case") << "NOTES.TXT" << true << true << "NOTES.TXT";
    QTest::newRow("an exercise file beside the text") << "exo.e07" << false << true << "enonce.rtf";
    QTest::newRow("an image beside the text") << "photo.png" << false << false << "";
    QTest::newRow("a PDF") << "rapport.pdf" << true << false << "";
    QTest::newRow("a file without extension") << "LISEZMOI" << true << false << "";
    QTest::newRow("E13 is no module") << "exo.E13" << true << false << "";
}

void tst_DesktopHabits::drops()
{
    QFETCH(QString, file);
    QFETCH(bool, onText);
    QFETCH(bool, accepted);
    QFETCH(QString, opened);
    HabitsFixture f;
    f.window->resize(800, 600);
    const QString path = ExerciseController::isExercisePath(file) ? f.exercise(file) : f.rtf(file, "Depose");
    f.exo().setText("avant");
    const QByteArray before = f.exo().textRtf();
    QWidget *target = onText ? f.textView() : f.window->statusBar();
    QCOMPARE(dragAndDrop(target, {path}, QPoint(5, 5)), accepted);
    if (opened.isEmpty()) {
        QCOMPARE(f.exo().textRtf(), before);
        QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);
    } else {
        QCOMPARE(f.state.currentDocumentPath, f.path(opened));
    }
    QVERIFY(f.fake.messages.asked().isEmpty()); // refused without a word
}

void tst_DesktopHabits::droppedTextAsksAboutUnsavedChanges()
{
    HabitsFixture f;
    const QString file = f.rtf(QStringLiteral("depose.rtf"), "Depose");
    f.exo().setText("modifie");
    f.state.documentSaved = 0;
    f.fake.messages.answerNext(MessageAnswer::Yes); // save first: a save-as dialog, cancelled
    f.fake.files.cancelNext();
    QVERIFY(dragAndDrop(f.textView(), {file, f.path(QStringLiteral("autre.png"))}, QPoint(5, 5)));
    QCOMPARE(f.exo().text().trimmed(), QByteArray("modifie")); // the save did not happen: kept
    QCOMPARE(f.state.currentDocumentPath, EditorState::untitled);

    f.fake.messages.answerNext(MessageAnswer::No);
    QVERIFY(dragAndDrop(f.textView(), {file}, QPoint(5, 5)));
    QCOMPARE(f.exo().text().trimmed(), QByteArray("Depose"));
    QCOMPARE(f.state.currentDocumentPath, file);
    QCOMPARE(f.state.documentSaved, int16_t(0)); // as "&Ouvrir un fichier texte" leaves it
    QCOMPARE(f.entries("fichi", "recentText"), QStringList{"&1 depose.rtf|" + file});
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_DesktopHabits::droppedImageGoesInAtTheDropPoint()
{
    HabitsFixture f;
    f.window->resize(800, 600);
    f.window->show();
    const QString image = f.path(QStringLiteral("schema.png"));
    QVERIFY(writeFile(image, pngBytes(30, 20, Qt::blue)));
    f.exo().setText("abcdef");
    QTextCursor at(f.textEdit()->document());
    at.setPosition(3);
    const QRect caret = f.textEdit()->cursorRect(at);
    QVERIFY(dragAndDrop(f.textView(), {image}, caret.center()));
    QCOMPARE(f.exo().objectCount(), 1);
    QCOMPARE(f.exo().text(), QByteArray("abc def"));
    QCOMPARE(f.exo().objectAt(0).sourcePath, QFileInfo(image).absoluteFilePath()); // linked, as "Ima&ge"
    QCOMPARE(f.exo().objectAt(0).sizePx, QSize(30, 20));

    // Protected text takes nothing from a drop.
    f.exo().setSelection({0, 3});
    f.exo().setSelProtected(true);
    at.setPosition(1);
    QVERIFY(!dragAndDrop(f.textView(), {image}, f.textEdit()->cursorRect(at).center()));
    QCOMPARE(f.exo().objectCount(), 1);
}

void tst_DesktopHabits::zoomKeysAndLimits()
{
    HabitsFixture f;
    auto *label = f.window->statusBar()->findChild<QLabel *>(QStringLiteral("zoomLabel"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Zoom : 100 %"));
    QAction *zoomIn = f.window->findChild<QAction *>(QStringLiteral("zoomIn"));
    QAction *zoomOut = f.window->findChild<QAction *>(QStringLiteral("zoomOut"));
    QAction *zoomReset = f.window->findChild<QAction *>(QStringLiteral("zoomReset"));
    QVERIFY(zoomIn && zoomOut && zoomReset);
    QVERIFY(zoomIn->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl++"))));
    QVERIFY(zoomIn->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+="))));
    QCOMPARE(zoomOut->shortcut(), QKeySequence(QStringLiteral("Ctrl+-")));
    QCOMPARE(zoomReset->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));

    zoomIn->trigger();
    QCOMPARE(f.exo().zoom(), 110);
    QCOMPARE(label->text(), QStringLiteral("Zoom : 110 %"));
    for (int i = 0; i < 40; ++i)
        zoomIn->trigger();
    QCOMPARE(f.exo().zoom(), 400);
    for (int i = 0; i < 40; ++i)
        zoomOut->trigger();
    QCOMPARE(f.exo().zoom(), 50);
    QCOMPARE(label->text(), QStringLiteral("Zoom : 50 %"));
    QCOMPARE(f.fake.settings.value(ZoomCommands::settingsKey).toInt(), 50);
    zoomReset->trigger();
    QCOMPARE(f.exo().zoom(), 100);
    QCOMPARE(f.fake.settings.value(ZoomCommands::settingsKey).toInt(), 100);
}

void tst_DesktopHabits::zoomIsKeptBetweenRuns_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("as left") << QVariant(170) << 170;
    QTest::newRow("never set") << QVariant() << 100;
    QTest::newRow("beyond the limit") << QVariant(9000) << 400;
    QTest::newRow("not a number") << QVariant(QStringLiteral("grand")) << 100;
}

void tst_DesktopHabits::zoomIsKeptBetweenRuns()
{
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    // The settings are the scripted double's: filled before the window of the "next run".
    struct Run : MainWindowFixture
    {
        explicit Run(const QVariant &zoom)
            : MainWindowFixture(QRect(0, 0, 1024, 768), {}, [zoom](ScriptedPlatform &p) {
                  if (zoom.isValid())
                      p.settings.setValue(ZoomCommands::settingsKey, zoom);
              })
        {}
    };
    Run run(stored);
    QCOMPARE(run.exo().zoom(), expected);
    QCOMPARE(run.window->statusBar()->findChild<QLabel *>(QStringLiteral("zoomLabel"))->text(),
             ZoomCommands::caption(expected));
}

QTEST_MAIN(tst_DesktopHabits)
#include "tst_desktophabits.moc"
