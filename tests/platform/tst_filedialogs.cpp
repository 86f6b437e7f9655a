#include "platform/filedialogs.h"

#include <QStandardPaths>
#include <QTest>

class tst_FileDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void nameFilters_data();
    void nameFilters();
    void defaultExtension_data();
    void defaultExtension();
};

void tst_FileDialogs::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("text files") << "Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*"
                                << QStringList{"Texte format rtf (*.rtf)", "Texte simple (*.TXT) (*.txt)",
                                               "Tous (*.*)"};
    QTest::newRow("images") << "Image bitmap(*.bmp)|*.bmp|Image gif|*.gif|image JPEG|*.JPG|Tous (*.*)|*.*"
                            << QStringList{"Image bitmap(*.bmp) (*.bmp)", "Image gif (*.gif)",
                                           "image JPEG (*.JPG)", "Tous (*.*) (*.*)"};
    QTest::newRow("one module") << "Ambrel|*.E01" << QStringList{"Ambrel (*.E01)"};
    QTest::newRow("several patterns") << "Images|*.bmp;*.gif" << QStringList{"Images (*.bmp *.gif)"};
    QTest::newRow("bare pattern") << "*.RTF" << QStringList{"*.RTF"};
    QTest::newRow("bare parameter pattern") << "*.C04" << QStringList{"*.C04"};
    QTest::newRow("description without pattern dropped")
        << "Texte|*.rtf|Orphelin" << QStringList{"Texte (*.rtf)"};
    QTest::newRow("empty") << "" << QStringList{};
}

void tst_FileDialogs::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(toQtNameFilters(filter), expected);
}

void tst_FileDialogs::defaultExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no extension") << "/tmp/ex1"
                                  << "/tmp/ex1.rtf";
    QTest::newRow("already rtf") << "/tmp/ex1.rtf"
                                 << "/tmp/ex1.rtf";
    QTest::newRow("another extension is kept") << "/tmp/notes.txt"
                                               << "/tmp/notes.txt";
    QTest::newRow("capitals kept") << "/tmp/EX.RTF"
                                   << "/tmp/EX.RTF";
    QTest::newRow("dot in a folder name") << "/tmp/v1.2/ex1"
                                          << "/tmp/v1.2/ex1.rtf";
    QTest::newRow("trailing dot") << "/tmp/ex1."
                                  << "/tmp/ex1.rtf";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_FileDialogs::defaultExtension()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(withDefaultExtension(typed, QStringLiteral("rtf")), expected);
}

QTEST_MAIN(tst_FileDialogs)
#include "tst_filedialogs.moc"
