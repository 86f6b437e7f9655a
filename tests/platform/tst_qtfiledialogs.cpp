#include "platform/qtfiledialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The names the dialog lists in its folder, once its model has read it.
QStringList listedNames(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QListView *>(QStringLiteral("listView"));
    if (!view)
        return {QStringLiteral("<no list>")};
    QStringList names;
    // The model reads the folder in a thread of its own: wait for the names.
    QStringList before;
    for (int tries = 0; tries < 100; ++tries) {
        names.clear();
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        if (!names.isEmpty() && names == before && tries > 10)
            break;
        before = names;
        QTest::qWait(20);
    }
    names.sort();
    return names;
}

} // namespace

// The Qt file dialog as the editor sets it up.
class tst_QtFileDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        // A home of the test's own, with its documents folder.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
        QVERIFY(QDir().mkpath(m_home.filePath(QStringLiteral("Documents"))));
        for (const char *name : {"photo.jpg", "SCAN.JPG", "enonce.rtf", "CORRIGE.RTF", "notes.txt"}) {
            QFile file(m_dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void patternsMatchWhateverTheCase_data();
    void patternsMatchWhateverTheCase();
    void folderFallsBackToTheDocuments_data();
    void folderFallsBackToTheDocuments();

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_home;
};

void tst_QtFileDialogs::patternsMatchWhateverTheCase_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("initialName");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("*.JPG lists photo.jpg") << "image JPEG|*.JPG|Tous (*.*)|*.*"
                                           << "" << QStringList{"SCAN.JPG", "photo.jpg"};
    QTest::newRow("*.rtf lists CORRIGE.RTF") << "Texte format rtf|*.rtf|Tous |*.*"
                                             << "*.rtf" << QStringList{"CORRIGE.RTF", "enonce.rtf"};
    QTest::newRow("a bare pattern in the name box") << ""
                                                    << "*.RTF" << QStringList{"CORRIGE.RTF", "enonce.rtf"};
}

void tst_QtFileDialogs::patternsMatchWhateverTheCase()
{
    QFETCH(QString, filter);
    QFETCH(QString, initialName);
    QFETCH(QStringList, listed);
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.title = QStringLiteral("Ouvrir");
    request.filter = filter;
    request.initialName = initialName;
    request.initialDirectory = QDir::toNativeSeparators(m_dir.path());
    QFileDialog dialog;
    dialogs.prepare(dialog, request, false);
    QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(m_dir.path()).canonicalPath());
    dialog.show();
    QCOMPARE(listedNames(dialog), listed);
}

void tst_QtFileDialogs::folderFallsBackToTheDocuments_data()
{
    QTest::addColumn<bool>("documentsFolder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("documents folder") << true << "Documents";
    // The process's working folder (the source tree under scripts/run.sh) is never a default.
    QTest::newRow("no documents folder: the home") << false << "";
}

void tst_QtFileDialogs::folderFallsBackToTheDocuments()
{
    QFETCH(bool, documentsFolder);
    QFETCH(QString, expected);
    const QString documents = m_home.filePath(QStringLiteral("Documents"));
    if (documentsFolder)
        QVERIFY(QDir().mkpath(documents));
    else
        QVERIFY(QDir(documents).removeRecursively());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.initialDirectory = m_dir.filePath(QStringLiteral("no/such/folder"));
    request.initialName = QStringLiteral("SANS NOM.rtf");
    QFileDialog dialog;
    dialogs.prepare(dialog, request, true);
    QDir::setCurrent(before);
    const QString folder = QDir(m_home.path()).filePath(expected);
    QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(folder).canonicalPath());
    QCOMPARE(QDir(defaultDocumentFolder()).canonicalPath(), QDir(folder).canonicalPath());
}

QTEST_MAIN(tst_QtFileDialogs)
#include "tst_qtfiledialogs.moc"
