#include "shell/windowplacement.h"

#include <QTest>

class tst_WindowPlacement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void placement_data();
    void placement();
};

void tst_WindowPlacement::placement_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("1024 wide: normal, 800 x 600, centred")
        << QRect(0, 0, 1024, 768) << false << QRect(112, 84, 800, 600);
    QTest::newRow("851 wide: still a wide screen")
        << QRect(0, 0, 851, 700) << false << QRect(25, 50, 800, 600);
    QTest::newRow("exactly 850: designed state") << QRect(0, 0, 850, 640) << true << QRect(25, 20, 800, 600);
    QTest::newRow("800 wide: maximised, restored size fits")
        << QRect(0, 0, 800, 600) << true << QRect(0, 0, 800, 600);
    QTest::newRow("640 wide: restored size cut to the screen")
        << QRect(0, 0, 640, 480) << true << QRect(0, 0, 640, 480);
    QTest::newRow("second screen: centred on it")
        << QRect(1920, 0, 1024, 768) << false << QRect(2032, 84, 800, 600);
}

void tst_WindowPlacement::placement()
{
    QFETCH(QRect, screen);
    QFETCH(bool, maximised);
    QFETCH(QRect, geometry);

    const WindowPlacement placement = placeWindow(screen);
    QCOMPARE(placement.maximised, maximised);
    QCOMPARE(placement.geometry, geometry);
}

QTEST_APPLESS_MAIN(tst_WindowPlacement)
#include "tst_windowplacement.moc"
