#include "exercise/moduletable.h"
#include "platform/editorstate.h"

#include <QStandardPaths>
#include <QTest>

class tst_ModuleTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void listOrderWithPromptFirst()
    {
        const QStringList expected = {
            QStringLiteral("Choisir dans la liste"),
            QStringLiteral("Dulmoret"),
            QStringLiteral("Borvane"),
            QStringLiteral("Korlim"),
            QStringLiteral("Fardelle"),
            QStringLiteral("Galmerin"),
            QStringLiteral("Lumbrel"),
            QStringLiteral("Holvaran"),
            QStringLiteral("Cadrillon"),
            QStringLiteral("Jastrel"),
            QStringLiteral("Ambrel"),
            QStringLiteral("Ivrelle"),
            QStringLiteral("Esperlin"),
        };
        QCOMPARE(ModuleTable::listEntries(), expected);
    }

    void modules_data()
    {
        QTest::addColumn<QString>("displayText");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("Ambrel") << "Ambrel"
                                << "E01"
                                << "*.P01";
        QTest::newRow("Borvane") << "Borvane"
                                 << "E02"
                                 << "*.P02";
        QTest::newRow("Cadrillon") << "Cadrillon"
                                   << "E03"
                                   << "*.P03";
        QTest::newRow("Dulmoret") << "Dulmoret"
                                  << "E04"
                                  << "*.P04";
        QTest::newRow("Esperlin") << "Esperlin"
                                  << "E05"
                                  << "*.P05";
        QTest::newRow("Fardelle") << "Fardelle"
                                  << "E06"
                                  << "*.C01";
        QTest::newRow("Galmerin") << "Galmerin"
                                  << "E07"
                                  << "*.C02";
        QTest::newRow("Holvaran") << "Holvaran"
                                  << "E08"
                                  << "*.C03";
        QTest::newRow("Ivrelle") << "Ivrelle"
                                 << "E09"
                                 << "*.P06";
        QTest::newRow("Jastrel") << "Jastrel"
                                 << "E10"
                                 << "*.P07";
        QTest::newRow("Korlim") << "Korlim"
                                << "E11"
                                << "*.C04";
        QTest::newRow("Lumbrel") << "Lumbrel"
                                 << "E12"
                                 << "*.C05";
    }
    void modules()
    {
        QFETCH(QString, displayText);
        QFETCH(QString, extension);
        QFETCH(QString, pattern);
        EditorState state;
        ModuleTable::modulePicked(displayText, state);
        QCOMPARE(state.moduleExtension, extension);
        QCOMPARE(ModuleTable::parameterPattern(extension), pattern);
        QCOMPARE(ModuleTable::displayTextForExtension(extension), displayText);
    }

    void promptKeepsTheLastModule()
    {
        EditorState state;
        QVERIFY(state.moduleExtension.isEmpty());
        ModuleTable::modulePicked(ModuleTable::prompt(), state);
        QVERIFY(state.moduleExtension.isEmpty());
        ModuleTable::modulePicked(QStringLiteral("Korlim"), state);
        ModuleTable::modulePicked(ModuleTable::prompt(), state);
        QCOMPARE(state.moduleExtension, QStringLiteral("E11"));
    }

    void unknownTextsMatchNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong case") << "korlim";
        QTest::newRow("trailing space") << "Korlim ";
        QTest::newRow("empty") << "";
    }
    void unknownTextsMatchNothing()
    {
        QFETCH(QString, text);
        QVERIFY(!ModuleTable::extensionForDisplayText(text));
    }

    void unknownExtensionsHaveNoPattern_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("E13") << "E13";
        QTest::newRow("lower case") << "e01";
        QTest::newRow("empty") << "";
    }
    void unknownExtensionsHaveNoPattern()
    {
        QFETCH(QString, extension);
        QVERIFY(!ModuleTable::parameterPattern(extension));
    }
};

QTEST_APPLESS_MAIN(tst_ModuleTable)
#include "tst_moduletable.moc"
