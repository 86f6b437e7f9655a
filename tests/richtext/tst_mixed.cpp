#include "richtext/mixed.h"

#include <QTest>

class tst_Mixed : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyComparisonWithMixedFails()
    {
        const Mixed<int> mixed;
        QVERIFY(!(mixed == 5));
        QVERIFY(!(mixed != 5));
        QVERIFY(!(mixed < 5));
        QVERIFY(!(mixed > 5));
        QVERIFY(!(mixed <= 5));
        QVERIFY(!(mixed >= 5));
        QVERIFY(!(mixed == mixed));
        QVERIFY(!(mixed != mixed));
    }

    void valuesCompareAsTheirValue()
    {
        const Mixed<int> five = 5;
        QVERIFY(five == 5);
        QVERIFY(five != 6);
        QVERIFY(five < 6 && five > 4 && five <= 5 && five >= 5);
        QVERIFY(!(five != 5));
        QCOMPARE(Mixed<int>().valueOr(-1), -1);
    }
};

QTEST_APPLESS_MAIN(tst_Mixed)
#include "tst_mixed.moc"
