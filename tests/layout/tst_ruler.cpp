#include "layout/ruler.h"
#include "richtext/richtextfactory.h"
#include "scriptedmessageboxes.h"
#include "tabstops.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

// The ruler's tab-stop arithmetic over the real control.
class tst_Ruler : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void click_data();
    void click();
    void clickOnMixedStopsIsRefused();
    void clickBeyondTheLastStopAllowedIsRefused();
    void dragClampsAndDrops_data();
    void dragClampsAndDrops();
    void markersFollowTheStops();
    void mixedStopsLeaveTheMarkers();
    void zoomedRulerMatchesTheText_data();
    void zoomedRulerMatchesTheText();
    void zoomedDragMovesWithTheMouse_data();
    void zoomedDragMovesWithTheMouse();
};

void tst_Ruler::click_data()
{
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<double>("xCm");
    QTest::addColumn<QList<double>>("after");
    QTest::newRow("2.5 cm between 50 and 150: 95.5 rounds to even 96")
        << QList<double>{50, 150} << 2.5 << QList<double>{50, 96, 150};
    QTest::newRow("on an existing stop: inserted after it")
        << QList<double>{50, 150} << 150 / 38.2 << QList<double>{50, 150, 150};
    QTest::newRow("no stops yet") << QList<double>{} << 1.0 << QList<double>{38};
    QTest::newRow("beyond 8.5 cm is accepted: 11 cm gives 420")
        << QList<double>{50} << 11.0 << QList<double>{50, 420};
    QTest::newRow("before the first stop") << QList<double>{50, 150} << 0.5 << QList<double>{19, 50, 150};
}

void tst_Ruler::click()
{
    QFETCH(QList<double>, before);
    QFETCH(double, xCm);
    QFETCH(QList<double>, after);
    const auto exo = createRichTextControl();
    exo->setText("a\tb");
    setStops(*exo, before);
    ScriptedMessageBoxes boxes;
    Ruler ruler(*exo, boxes);
    ruler.click(xCm);
    QCOMPARE(stopsOf(*exo), after);
    QVERIFY(boxes.asked().isEmpty());
    for (int i = 0; i < after.size(); ++i) {
        QVERIFY(ruler.markerVisible(i));
        QCOMPARE(ruler.markerLeft(i), (after.at(i) - 16) / 38.2);
    }
    QVERIFY(!ruler.markerVisible(int(after.size())));
    // The click is one undo step.
    exo->undo();
    QCOMPARE(stopsOf(*exo), before);
}

void tst_Ruler::clickOnMixedStopsIsRefused()
{
    const auto exo = createRichTextControl();
    exo->setText("one\rtwo");
    exo->setSelStart(0);
    setStops(*exo, {50});
    exo->setSelection({0, 7});
    QVERIFY(exo->selTabCount().isMixed());
    ScriptedMessageBoxes boxes;
    boxes.answerNext(MessageAnswer::Ok);
    Ruler ruler(*exo, boxes);
    ruler.click(3);
    QCOMPARE(boxes.asked().size(), 1);
    QCOMPARE(boxes.asked().first().text, QStringLiteral("Ne sélectionner qu'une partie du texte avec des "
                                                        "tabulations identiques"));
    QCOMPARE(boxes.asked().first().title, QStringLiteral("Tabulation refusée"));
    QCOMPARE(boxes.asked().first().icon, MessageIcon::Stop);
    exo->setSelStart(0);
    QCOMPARE(stopsOf(*exo), QList<double>{50});
}

void tst_Ruler::clickBeyondTheLastStopAllowedIsRefused()
{
    // A 33rd stop used to push the 32nd out of the paragraph without a word.
    const auto exo = createRichTextControl();
    exo->setText("tabs");
    QList<double> full;
    for (int i = 0; i < Ruler::maxTabStops; ++i)
        full << 10.0 * (i + 1);
    setStops(*exo, full);
    ScriptedMessageBoxes boxes;
    boxes.answerNext(MessageAnswer::Ok);
    Ruler ruler(*exo, boxes);
    ruler.click(1.0);
    QCOMPARE(boxes.asked().size(), 1);
    QCOMPARE(boxes.asked().first().title, QStringLiteral("Tabulation refusée"));
    QCOMPARE(stopsOf(*exo), full);
}

void tst_Ruler::dragClampsAndDrops_data()
{
    QTest::addColumn<double>("moveTwips");
    QTest::addColumn<double>("stop");
    QTest::newRow("far past the left end: left edge -0.4, stop 0") << -100000.0 << 0.0;
    QTest::newRow("far past the right end: left edge 8.1, stop 324.7") << 100000.0 << 324.7;
    QTest::newRow("one centimetre right of the hot spot") << 225.0 + 573 << 150 - 16 + 1.4 * 38.2;
}

void tst_Ruler::dragClampsAndDrops()
{
    QFETCH(double, moveTwips);
    QFETCH(double, stop);
    const auto exo = createRichTextControl();
    exo->setText("a");
    setStops(*exo, {50, 150});
    ScriptedMessageBoxes boxes;
    Ruler ruler(*exo, boxes);
    ruler.majregle();
    ruler.drag(1, moveTwips);
    QCOMPARE(stopsOf(*exo), (QList<double>{50, 150})); // nothing moves before the drop
    ruler.drop(1);
    // The control keeps stops in twips: a fifteenth of a pixel is as close as it gets.
    QVERIFY2(qAbs(exo->selTabs(1).valueOr(-1) - stop) < 0.07,
             qPrintable(QString::number(exo->selTabs(1).valueOr(-1))));
    QCOMPARE(exo->selTabs(0).valueOr(-1), 50.0);
}

void tst_Ruler::markersFollowTheStops()
{
    const auto exo = createRichTextControl();
    exo->setText("a");
    QList<double> twelve;
    for (int i = 1; i <= 12; ++i)
        twelve << i * 20.0;
    setStops(*exo, twelve);
    ScriptedMessageBoxes boxes;
    Ruler ruler(*exo, boxes);
    ruler.majregle();
    for (int i = 0; i < Ruler::markerCount; ++i)
        QVERIFY(ruler.markerVisible(i)); // stops 11 and 12 have no marker, and no failure
    exo->setSelTabCount(0);
    ruler.majregle();
    for (int i = 0; i < Ruler::markerCount; ++i)
        QVERIFY(!ruler.markerVisible(i));
}

void tst_Ruler::mixedStopsLeaveTheMarkers()
{
    const auto exo = createRichTextControl();
    exo->setText("one\rtwo");
    exo->setSelStart(0);
    setStops(*exo, {100});
    ScriptedMessageBoxes boxes;
    Ruler ruler(*exo, boxes);
    ruler.majregle();
    exo->setSelection({0, 7});
    ruler.majregle();
    QVERIFY(ruler.markerVisible(0));
    QCOMPARE(ruler.markerLeft(0), (100 - 16) / 38.2);
}

namespace {

void addZoomRows()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("50 %") << 50;
    QTest::newRow("100 %") << 100;
    QTest::newRow("200 %") << 200;
    QTest::newRow("400 %") << 400;
}

} // namespace

// The zoomed text draws a stop of p pixels p × zoom screen pixels right of its left edge: the
// graduation, the marker and a click must meet it there.
void tst_Ruler::zoomedRulerMatchesTheText_data()
{
    addZoomRows();
}

void tst_Ruler::zoomedRulerMatchesTheText()
{
    QFETCH(int, zoom);
    const double factor = zoom / 100.0;
    const auto exo = createRichTextControl();
    exo->setText("a\tb");
    setStops(*exo, {150});
    ScriptedMessageBoxes boxes;
    Ruler ruler(*exo, boxes);
    ruler.majregle();
    QSignalSpy repaints(&ruler, &Ruler::changed);
    exo->setZoom(zoom);
    QCOMPARE(repaints.isEmpty(), zoom == 100); // the control tells only a change
    QCOMPARE(ruler.toScreen(1), 38.2 * factor);
    QCOMPARE(ruler.toScreen(ruler.markerLeft(0)) + Ruler::markerOffsetPx, 150 * factor);
    ruler.click(ruler.toCm(2.5 * 38.2 * factor));
    QCOMPARE(stopsOf(*exo), (QList<double>{96, 150}));
    QCOMPARE(ruler.toScreen(ruler.markerLeft(0)) + Ruler::markerOffsetPx, 96 * factor);
}

void tst_Ruler::zoomedDragMovesWithTheMouse_data()
{
    addZoomRows();
}

void tst_Ruler::zoomedDragMovesWithTheMouse()
{
    QFETCH(int, zoom);
    const double factor = zoom / 100.0;
    const auto exo = createRichTextControl();
    exo->setText("a");
    exo->setZoom(zoom);
    setStops(*exo, {50, 150});
    ScriptedMessageBoxes boxes;
    Ruler ruler(*exo, boxes);
    ruler.majregle();
    // One zoomed centimetre on screen is one centimetre of text; the drop reads its stop
    // 0.72 px short of the marker's line at 100 %, less as the marker shrinks in centimetres.
    ruler.drag(1, Ruler::hotSpotTwips + Ruler::twipsPerCm * factor);
    ruler.drop(1);
    const double moved = exo->selTabs(1).valueOr(-1);
    QVERIFY2(qAbs(moved - (150 + 38.2 - 0.72 / factor)) < 0.07, qPrintable(QString::number(moved)));
    // However far left it goes, the marker stops where its stop is 0.
    ruler.drag(0, -100000);
    ruler.drop(0);
    QVERIFY2(qAbs(exo->selTabs(0).valueOr(-1)) < 0.07,
             qPrintable(QString::number(exo->selTabs(0).valueOr(-1))));
}

QTEST_MAIN(tst_Ruler)
#include "tst_ruler.moc"
