#include "exercise/exercisepanel.h"
#include "exercise/instructionspainter.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QStandardPaths>
#include <QTest>

class tst_InstructionsPainter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void backgroundFade_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("blue");
        QTest::newRow("top is white") << 0 << 465 << 255;
        QTest::newRow("bottom is pale yellow") << 465 << 465 << 215;
        QTest::newRow("middle line") << 233 << 466 << 235;
        QTest::newRow("exact half down to even") << 1 << 80 << 254; // 254.5
        QTest::newRow("exact half up to even") << 3 << 80 << 254;   // 253.5
    }
    void backgroundFade()
    {
        QFETCH(int, y);
        QFETCH(int, height);
        QFETCH(int, blue);
        QCOMPARE(InstructionsPainter::backgroundBlue(y, height), blue);
    }

    void placementFollowsTheRules()
    {
        QImage image(249, 465, QImage::Format_RGB32);
        QPainter painter(&image);
        const InstructionsPlacement p = InstructionsPainter::paint(painter, image.size(), 24);
        // First column: left 20, captions at Image2's width + 30; second: 150 and + 160.
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(p.icons[i].x(), 20);
            QCOMPARE(p.captions[i].x(), 54);
            QCOMPARE(p.captions[i].y(), p.icons[i].y());
        }
        for (int i = 3; i < 5; ++i) {
            QCOMPARE(p.icons[i].x(), 150);
            QCOMPARE(p.captions[i].x(), 184);
            QCOMPARE(p.captions[i].y(), p.icons[i].y());
        }
        QCOMPARE(p.icons[3].y(), p.icons[0].y()); // Image3 on Image2's line
        QCOMPARE(p.icons[4].y(), p.icons[1].y());
        QVERIFY(p.icons[1].y() > p.icons[0].y());
        // Rows two text lines apart; fractional line heights round each row on its own.
        QVERIFY(qAbs((p.icons[2].y() - p.icons[1].y()) - (p.icons[1].y() - p.icons[0].y())) <= 1);
        QVERIFY(p.moduleList.y() < p.icons[0].y());
        QVERIFY(p.moduleList.x() > 12);
        painter.end();
        QCOMPARE(image.pixelColor(0, 0), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(248, 464).blue(), InstructionsPainter::backgroundBlue(464, 465));
    }

    void captionsFollowTheFirstIconWidth()
    {
        QImage image(249, 465, QImage::Format_RGB32);
        QPainter painter(&image);
        const InstructionsPlacement p = InstructionsPainter::paint(painter, image.size(), 40);
        QCOMPARE(p.captions[1].x(), 70);
        QCOMPARE(p.captions[4].x(), 200);
    }

    void emptyPanelDrawsNothing()
    {
        QImage image(10, 1, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        const InstructionsPlacement p = InstructionsPainter::paint(painter, QSize(10, 0), 24);
        painter.end();
        QCOMPARE(p.icons[0].x(), 20);
    }

    void panelRunsTwiceTheSame()
    {
        ExercisePanel panel;
        panel.fillModuleList();
        panel.paintInstructions();
        const QImage first = panel.instructionsImage().toImage();
        QList<QPoint> places;
        for (QWidget *child : panel.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            places << child->pos();
        panel.paintInstructions();
        QCOMPARE(panel.instructionsImage().toImage(), first);
        QList<QPoint> again;
        for (QWidget *child : panel.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            again << child->pos();
        QCOMPARE(again, places);
        QCOMPARE(panel.instructionsRuns(), 2);

        // Repaints show the kept image: the routine does not run again.
        panel.show();
        panel.repaint();
        QCOMPARE(panel.instructionsRuns(), 2);
        QCOMPARE(panel.findChild<QComboBox *>("Combo2")->pos(), places.at(0));
    }

    void panelControls()
    {
        ExercisePanel panel;
        panel.fillModuleList();
        QCOMPARE(panel.objectName(), QStringLiteral("Picture4"));
        QCOMPARE(panel.size(), QSize(249, 465));
        const QStringList captions = {QStringLiteral("Paramètres"), QStringLiteral("Nouveau"),
                                      QStringLiteral("Ouvrir"), QStringLiteral("Énoncé"),
                                      QStringLiteral("Corrigé")};
        for (int i = 0; i < 5; ++i) {
            auto *label = panel.findChild<QLabel *>(QStringLiteral("Label7_%1").arg(i));
            QVERIFY(label);
            QCOMPARE(label->text(), captions[i]);
        }
        for (const char *name : {"Image2", "Command14", "command10", "Image3", "Image4"})
            QVERIFY2(panel.findChild<QWidget *>(name), name);
        QVERIFY(panel.findChild<QWidget *>("Image3")->isHidden());
        QVERIFY(panel.findChild<QWidget *>("Label7_4")->isHidden());
        QCOMPARE(panel.moduleIndex(), 0);
        QCOMPARE(panel.moduleText(), QStringLiteral("Choisir dans la liste"));
    }
};

QTEST_MAIN(tst_InstructionsPainter)
#include "tst_instructionspainter.moc"
