#include "format/colorpalettedialog.h"

#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

// The palette `coul`: its 48 cells where and in the colours the table gives, and its buttons.
class tst_ColorPaletteDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void cells_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QRgb>("color");
        QTest::addColumn<QPoint>("topLeftPx");
        QTest::newRow("0: white, column 0 row 0") << 0 << qRgb(255, 255, 255) << QPoint(8, 8);
        QTest::newRow("1: light red, column 0 row 1") << 1 << qRgb(255, 192, 192) << QPoint(8, 32);
        QTest::newRow("7: light magenta, column 0 row 7") << 7 << qRgb(255, 192, 255) << QPoint(8, 176);
        QTest::newRow("8: light grey, column 1 row 0") << 8 << qRgb(224, 224, 224) << QPoint(32, 8);
        QTest::newRow("21: cyan, column 2 row 5") << 21 << qRgb(0, 255, 255) << QPoint(56, 128);
        QTest::newRow("42: brown-pink, column 5 row 2") << 42 << qRgb(128, 64, 64) << QPoint(128, 56);
        QTest::newRow("40: black, column 5 row 0") << 40 << qRgb(0, 0, 0) << QPoint(128, 8);
        QTest::newRow("47: dark magenta, column 5 row 7") << 47 << qRgb(64, 0, 64) << QPoint(128, 176);
    }
    void cells()
    {
        QFETCH(int, index);
        QFETCH(QRgb, color);
        QFETCH(QPoint, topLeftPx);
        QCOMPARE(ColorPaletteDialog::cellColor(index), color);
        ColorPaletteDialog dialog;
        auto *cell = dialog.findChild<QPushButton *>(QStringLiteral("Label1_%1").arg(index));
        QVERIFY(cell);
        QCOMPARE(cell->geometry(), QRect(topLeftPx, QSize(17, 17))); // 255 twips at 15 a pixel
        QVERIFY(!cell->accessibleName().isEmpty());
        cell->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.choice().chosen);
        QCOMPARE(dialog.choice().color, color);
    }

    void defaultsAndCancel()
    {
        ColorPaletteDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("coul"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Couleurs"));
        QCOMPARE(dialog.findChildren<QPushButton *>(QRegularExpression("^Label1_")).size(), 48);
        auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("Command1"));
        QVERIFY(cancel);
        QCOMPARE(cancel->text(), QStringLiteral("Annuler"));
        cancel->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.choice().chosen);
    }
};

QTEST_MAIN(tst_ColorPaletteDialog)
#include "tst_colorpalettedialog.moc"
