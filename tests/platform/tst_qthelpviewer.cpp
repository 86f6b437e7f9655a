#include "platform/helpwindow.h"
#include "platform/qthelpviewer.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

class tst_QtHelpViewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void opensOnTheContents();
    void missingFileShowsNothing();
    void missingFileLeavesTheOpenWindowAlone();
    void unknownCommandShowsNothing();
    void indexAndSearchLeadToTopics();
};

void tst_QtHelpViewer::opensOnTheContents()
{
    QtHelpViewer viewer;
    viewer.showHelp(QFINDTESTDATA("data/sample.hlp"), QtHelpViewer::topicsCommand);
    HelpWindow *window = viewer.window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->findChild<QTabWidget *>(QStringLiteral("helpTabs"))->currentIndex(), 0);
    auto *contents = window->findChild<QTreeWidget *>(QStringLiteral("helpContents"));
    QCOMPARE(contents->topLevelItemCount(), 2); // the two <h1>
    QCOMPARE(contents->topLevelItem(0)->childCount(), 3);
    QCOMPARE(window->currentTopic(), QStringLiteral("accueil"));
    QVERIFY(window->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"))
                ->toPlainText()
                .contains(QStringLiteral("Première rubrique")));
}

void tst_QtHelpViewer::missingFileShowsNothing()
{
    QtHelpViewer viewer;
    const int windowsBefore = int(QApplication::topLevelWidgets().size());
    viewer.showHelp(QStringLiteral("/nonexistent/QZ7.hlp"), QtHelpViewer::topicsCommand);
    QVERIFY(!viewer.window());
    QCOMPARE(int(QApplication::topLevelWidgets().size()), windowsBefore); // no window, no message box
}

void tst_QtHelpViewer::missingFileLeavesTheOpenWindowAlone()
{
    QtHelpViewer viewer;
    viewer.showHelp(QFINDTESTDATA("data/sample.hlp"), QtHelpViewer::topicsCommand);
    viewer.window()->showTopic(QStringLiteral("fin"));
    viewer.showHelp(QStringLiteral("/nonexistent/QZ7.hlp"), QtHelpViewer::topicsCommand);
    QVERIFY(viewer.window()->isVisible());
    QCOMPARE(viewer.window()->currentTopic(), QStringLiteral("fin"));
}

void tst_QtHelpViewer::unknownCommandShowsNothing()
{
    QtHelpViewer viewer;
    QTest::ignoreMessage(QtWarningMsg, "unknown help command 3");
    viewer.showHelp(QFINDTESTDATA("data/sample.hlp"), 3);
    QVERIFY(!viewer.window());
}

void tst_QtHelpViewer::indexAndSearchLeadToTopics()
{
    QtHelpViewer viewer;
    viewer.showHelp(QFINDTESTDATA("data/sample.hlp"), QtHelpViewer::topicsCommand);
    HelpWindow *window = viewer.window();

    auto *filter = window->findChild<QLineEdit *>(QStringLiteral("helpIndexFilter"));
    auto *list = window->findChild<QListWidget *>(QStringLiteral("helpIndexList"));
    QTest::keyClicks(filter, QStringLiteral("imp"));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("imprimer"));
    QTest::keyClick(filter, Qt::Key_Return);
    QCOMPARE(window->currentTopic(), QStringLiteral("topic-3"));

    auto *query = window->findChild<QLineEdit *>(QStringLiteral("helpSearchText"));
    auto *results = window->findChild<QListWidget *>(QStringLiteral("helpSearchResults"));
    QTest::keyClicks(query, QStringLiteral("zephyr"));
    QTest::keyClick(query, Qt::Key_Return);
    QCOMPARE(results->count(), 1);
    QCOMPARE(results->item(0)->text(), QStringLiteral("Fin"));
    Q_EMIT results->itemActivated(results->item(0));
    QCOMPARE(window->currentTopic(), QStringLiteral("fin"));
}

QTEST_MAIN(tst_QtHelpViewer)
#include "tst_qthelpviewer.moc"
