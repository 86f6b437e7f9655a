#include "shell/startupsequence.h"

#include <QStringList>
#include <QTest>

class tst_StartupSequence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void runsInStepOrderWhateverTheRegistrationOrder();
    void actionsOfOneStepKeepTheirOrder();
    void stepsNobodyRegisteredAreSkipped();
};

void tst_StartupSequence::runsInStepOrderWhateverTheRegistrationOrder()
{
    StartupSequence sequence;
    QStringList ran;
    sequence.add(StartupStep::ExercisePage, [&] { ran << "page"; });
    sequence.add(StartupStep::StateFileOpen, [&] { ran << "state file"; });
    sequence.add(StartupStep::InitialIndents, [&] { ran << "indents"; });
    sequence.add(StartupStep::Title, [&] { ran << "title"; });
    sequence.add(StartupStep::WindowPlacement, [&] { ran << "placement"; });

    sequence.run();
    QCOMPARE(ran, QStringList({"indents", "state file", "placement", "title", "page"}));
}

void tst_StartupSequence::actionsOfOneStepKeepTheirOrder()
{
    StartupSequence sequence;
    QStringList ran;
    sequence.add(StartupStep::SharedDefaults, [&] { ran << "special font"; });
    sequence.add(StartupStep::DocumentSaved, [&] { ran << "saved"; });
    sequence.add(StartupStep::SharedDefaults, [&] { ran << "font-box guard"; });

    sequence.run();
    QCOMPARE(ran, QStringList({"special font", "font-box guard", "saved"}));
}

void tst_StartupSequence::stepsNobodyRegisteredAreSkipped()
{
    StartupSequence sequence;
    int runs = 0;
    sequence.add(StartupStep::FontList, [&] { ++runs; });
    QVERIFY(sequence.has(StartupStep::FontList));
    QVERIFY(!sequence.has(StartupStep::ModuleList));
    sequence.run();
    QCOMPARE(runs, 1);
}

QTEST_APPLESS_MAIN(tst_StartupSequence)
#include "tst_startupsequence.moc"
