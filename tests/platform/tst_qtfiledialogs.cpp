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
    for (int tries = 0; tries < 50; ++tries) {
        names.clear();
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        if (!names.isEmpty())
            break;
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
        for (const char *name : {"photo.jpg", "SCAN.JPG", "enonce.rtf", "CORRIGE.RTF", "notes.txt"}) {
            QFile file(m_dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void patternsMatchWhateverTheCase_data();
    void patternsMatchWhateverTheCase();
    void folderFallsBackToTheDocuments();

private:
    QTemporaryDir m_dir;
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

void tst_QtFileDialogs::folderFallsBackToTheDocuments()
{
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.initialDirectory = m_dir.filePath(QStringLiteral("no/such/folder"));
    QFileDialog dialog;
    dialogs.prepare(dialog, request, false);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir())
        QSKIP("this account has no documents folder");
    QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(documents).canonicalPath());
}

QTEST_MAIN(tst_QtFileDialogs)
#include "tst_qtfiledialogs.moc"
