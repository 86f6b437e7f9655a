#include "exercise/exercisepage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

class tst_ExercisePage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void defaults()
    {
        ExercisePage page;
        page.fillDifficultyList();
        QCOMPARE(page.objectName(), QStringLiteral("Frame1_1"));
        QVERIFY(page.isHidden());
        auto *path = page.findChild<QLineEdit *>("Text1");
        QVERIFY(path);
        QVERIFY(path->text().isEmpty());
        QVERIFY(path->isReadOnly());
        for (int i = 0; i < ExercisePage::slotCount; ++i) {
            auto *slot = page.findChild<QLabel *>(QStringLiteral("ficex_%1").arg(i));
            QVERIFY(slot);
            QCOMPARE(slot->property("index").toInt(), i);
            QVERIFY(slot->text().isEmpty());
            QCOMPARE(page.findChild<QPushButton *>(QStringLiteral("CommandZ10_%1").arg(i))->text(),
                     QStringLiteral("Ouvrir"));
            QCOMPARE(page.findChild<QPushButton *>(QStringLiteral("CommandZ14_%1").arg(i))->text(),
                     QStringLiteral("Effacer"));
        }
        QCOMPARE(page.findChild<QLineEdit *>("titrexo")->maxLength(), 120);
        auto *scroll = page.findChild<QScrollBar *>("HScroll1");
        QCOMPARE(scroll->minimum(), ExerciseData::scrollMinimum);
        QCOMPARE(scroll->maximum(), ExerciseData::scrollMaximum);
        auto *difficulty = page.findChild<QComboBox *>("ComboZ1");
        const QStringList levels = {QStringLiteral("Non défini"), QStringLiteral("* facile"),
                                    QStringLiteral("** moyen"), QStringLiteral("*** difficile")};
        QCOMPARE(difficulty->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(difficulty->itemText(i), levels[i]);
        QCOMPARE(difficulty->currentIndex(), 0);
        auto *description = page.findChild<QPlainTextEdit *>("TextZ1");
        QCOMPARE(description->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(page.findChild<QPushButton *>("Command20")->text(), QStringLiteral("Enregistrer"));
        QCOMPARE(page.findChild<QPushButton *>("Command19")->text(), QStringLiteral("Annuler"));
        const QStringList captions = {QStringLiteral("Énoncé (fichier rtf)"),
                                      QStringLiteral("Paramètres initiaux du simulateur"),
                                      QStringLiteral("Correction (fichier rtf)"),
                                      QStringLiteral("Paramètres du simulateur (correction)"),
                                      QStringLiteral("Titre de l'exercice"),
                                      QStringLiteral("Niveau de difficulté :"),
                                      QStringLiteral("Description")};
        QStringList shown;
        for (const QLabel *label : page.findChildren<QLabel *>())
            shown << label->text();
        for (const QString &caption : captions)
            QVERIFY2(shown.contains(caption), qPrintable(caption));
    }

    void pathChangesRunActivationOncePerChange()
    {
        ExercisePage page;
        QSignalSpy changes(&page, &ExercisePage::exercisePathChanged);
        page.setExercisePath("a.E01");
        page.setExercisePath("a.E01");
        QCOMPARE(changes.size(), 1);
        QCOMPARE(page.findChild<QLineEdit *>("Text1")->toolTip(), QStringLiteral("a.E01"));
        page.setExercisePathQuietly("b.E01");
        QCOMPARE(changes.size(), 1);
        QCOMPARE(page.exercisePath(), QStringLiteral("b.E01"));
        page.setExercisePath(QString());
        QCOMPARE(changes.size(), 2);
        QCOMPARE(page.findChild<QLineEdit *>("Text1")->toolTip(), QString());
    }

    // The box shows '\n', the file keeps "\r\n"; the 480 characters count the stored form.
    void descriptionLineBreaksAndLimit()
    {
        ExercisePage page;
        page.fillDifficultyList();
        ExerciseData data;
        data.description = QStringLiteral("ligne 1\r\nligne 2");
        page.setData(data);
        auto *description = page.findChild<QPlainTextEdit *>("TextZ1");
        QCOMPARE(description->toPlainText(), QStringLiteral("ligne 1\nligne 2"));
        QCOMPARE(page.data().description, data.description);

        description->setPlainText(QString(478, 'x'));
        description->moveCursor(QTextCursor::End);
        QTest::keyClicks(description, "abc");
        QCOMPARE(page.data().description.size(), 480);
        QTest::keyClick(description, Qt::Key_Return); // would take two more
        QCOMPARE(page.data().description, QString(478, 'x') + "ab");

        // A longer description read from a file is shown whole, and can be shortened.
        data.description = QString(500, 'y');
        page.setData(data);
        QCOMPARE(page.data().description, data.description);
        description->moveCursor(QTextCursor::End);
        QTest::keyClick(description, Qt::Key_Backspace);
        QCOMPARE(page.data().description.size(), 499);
        QTest::keyClicks(description, "z");
        QCOMPARE(page.data().description.size(), 499);
    }

    void clearFieldsKeepsTheScrollValue()
    {
        ExercisePage page;
        page.fillDifficultyList();
        ExerciseData data;
        data.files = {"a.rtf", "b", "c.rtf", "d"};
        data.difficulty = 3;
        data.scroll = 77;
        data.description = "desc";
        data.title = "titre";
        page.setData(data);
        QCOMPARE(page.data(), data);
        page.clearFields();
        ExerciseData cleared;
        cleared.scroll = 77;
        QCOMPARE(page.data(), cleared);
    }
};

QTEST_MAIN(tst_ExercisePage)
#include "tst_exercisepage.moc"
