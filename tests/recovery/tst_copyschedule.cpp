#include "recovery/copyschedule.h"

#include <QTest>

// Each row: changes at these times (ms), then a copy when due, then the times the next copies
// fall due. Quiet 5 s, longest 30 s.
class tst_CopySchedule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void due_data();
    void due();
    void aCopyTakesEveryChangeBeforeIt();
};

void tst_CopySchedule::due_data()
{
    QTest::addColumn<QList<qint64>>("changes");
    QTest::addColumn<qint64>("due");
    QTest::newRow("one change: five seconds after it") << QList<qint64>{1000} << qint64(6000);
    QTest::newRow("a burst: five seconds after its last change")
        << QList<qint64>{0, 200, 1700} << qint64(6700);
    QTest::newRow("typing every 4 s without a pause: at 30 s")
        << QList<qint64>{0, 4000, 8000, 12000, 16000, 20000, 24000, 28000, 32000} << qint64(30000);
    QTest::newRow("a pause just under the quiet time counts as typing")
        << QList<qint64>{0, 4999, 9998, 14997, 19996, 24995, 29994} << qint64(30000);
    QTest::newRow("changes out of order do not move the copy back")
        << QList<qint64>{3000, 1000} << qint64(8000);
}

void tst_CopySchedule::due()
{
    QFETCH(QList<qint64>, changes);
    QFETCH(qint64, due);
    CopySchedule schedule;
    QVERIFY(!schedule.due());
    for (const qint64 at : changes)
        schedule.changed(at);
    QCOMPARE(schedule.due().value_or(-1), due);
}

void tst_CopySchedule::aCopyTakesEveryChangeBeforeIt()
{
    CopySchedule schedule(5000, 30000);
    schedule.changed(0);
    schedule.changed(29000);
    schedule.copied();
    QVERIFY(!schedule.pending());
    QVERIFY(!schedule.due());
    // The 30 s limit counts from the first change the last copy did not hold.
    schedule.changed(31000);
    schedule.changed(35000);
    QCOMPARE(schedule.due().value_or(-1), qint64(40000));
}

QTEST_GUILESS_MAIN(tst_CopySchedule)
#include "tst_copyschedule.moc"
