#include "mainwindowfixture.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "scriptedplatform.h"
#include "search/chercher.h"
#include "search/choixremp.h"
#include "search/remplaceur.h"
#include "shell/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

struct WindowFixture : MainWindowFixture
{
    QStringList missedDialogs;

    QString text() { return Cp1252::decode(exo().text()); }
    void trigger(const char *command) { window->command(QLatin1String(command))->trigger(); }

    // Runs `step` on the dialog of that name as soon as it shows (the caller is about to open
    // it modally); a dialog that never shows is noted in missedDialogs.
    void onDialog(const QString &name, std::function<void(QDialog &)> step, int triesLeft = 200)
    {
        QTimer::singleShot(5, window.get(), [this, name, step, triesLeft] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (dialog && dialog->objectName() == name && dialog->isVisible())
                step(*dialog);
            else if (triesLeft > 0)
                onDialog(name, step, triesLeft - 1);
            else
                missedDialogs << name;
        });
    }
};

void click(QDialog &dialog, const char *button)
{
    QPushButton *b = dialog.findChild<QPushButton *>(QLatin1String(button));
    QVERIFY2(b, button);
    b->click();
}

void type(QDialog &dialog, const char *box, const QString &text)
{
    QLineEdit *edit = dialog.findChild<QLineEdit *>(QLatin1String(box));
    QVERIFY2(edit, box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QStringList describe(const QDialog &dialog)
{
    QStringList rows{dialog.objectName() + QLatin1Char('|') + dialog.windowTitle()};
    for (const QGroupBox *frame : dialog.findChildren<QGroupBox *>())
        rows << frame->objectName() + QLatin1Char('|') + frame->title();
    for (const QLineEdit *edit : dialog.findChildren<QLineEdit *>())
        rows << edit->objectName() + QLatin1Char('|') + edit->text() + QLatin1Char('|') +
                    edit->accessibleName();
    for (const QCheckBox *box : dialog.findChildren<QCheckBox *>())
        rows << box->objectName() + QLatin1Char('|') + box->text() + QLatin1Char('|') +
                    box->accessibleName() + (box->isChecked() ? "|ticked" : "|unticked");
    for (const QPushButton *button : dialog.findChildren<QPushButton *>())
        rows << button->objectName() + QLatin1Char('|') + button->text() + QLatin1Char('|') +
                    button->accessibleName();
    return rows;
}

SearchRequest request(const QString &search, const QString &replacement, int options)
{
    SearchRequest r;
    r.searchText = search;
    r.replaceText = replacement;
    r.setFindOptions(options);
    return r;
}

} // namespace

class tst_SearchDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void findDialogDefaults();
    void replaceDialogDefaults();
    void promptDefaults();

    void findMenuSearchesThenContinues();
    void findCancelEndsTheCommand();
    void findHandsOverToReplace();
    void replaceOneByOneThroughThePrompt();
    void continueSearchCommand();
    void commandsAreLive();
};

void tst_SearchDialogs::findDialogDefaults()
{
    const Chercher dialog(request(QStringLiteral("chat"), QString(), 6));
    QCOMPARE(describe(dialog), (QStringList{
                                   "Chercher|Rechercher",
                                   "Frame1|Texte à rechercher",
                                   "Frame2|Options",
                                   "Text1|chat|Texte à rechercher",
                                   "Check1|Différencier Majuscules / Minuscules|Différencier Majuscules / "
                                   "Minuscules|ticked",
                                   "Check2|Rechercher mot entier|Rechercher mot entier|ticked",
                                   "Command1|&Rechercher|Rechercher",
                                   "Command2|&Annuler|Annuler",
                                   "Command3|Remplacer|Remplacer",
                               }));
    QCOMPARE(dialog.request(), request(QStringLiteral("chat"), QString(), 6));
}

void tst_SearchDialogs::replaceDialogDefaults()
{
    const remplaceur dialog(request(QStringLiteral("a"), QStringLiteral("b"), 2));
    QCOMPARE(describe(dialog), (QStringList{
                                   "remplaceur|Remplacer",
                                   "Frame1|Texte à rechercher",
                                   "Frame2|Remplacer par",
                                   "Frame3|Options",
                                   "Text1|a|Texte à rechercher",
                                   "Text2|b|Remplacer par",
                                   "Check1|Différencier Majuscules / Minuscules|Différencier Majuscules / "
                                   "Minuscules|unticked",
                                   "Check2|Mot entier|Mot entier|ticked",
                                   "Command3|&Remplacer|Remplacer",
                                   "Command1|Remplacer &tout|Remplacer tout",
                                   "Command2|&Annuler|Annuler",
                               }));
}

void tst_SearchDialogs::promptDefaults()
{
    const Choixremp dialog;
    QCOMPARE(describe(dialog), (QStringList{
                                   "Choixremp|Remplacer",
                                   "Command1|&Remplacer|Remplacer",
                                   "Command2|&Sauter|Sauter",
                                   "Command3|&Annuler|Annuler",
                                   "Command4|Remplacer &tout|Remplacer tout",
                               }));
    QCOMPARE(dialog.answer(), PromptAnswer::Skip);
}

void tst_SearchDialogs::findMenuSearchesThenContinues()
{
    WindowFixture f;
    f.exo().setText("ab ab ab");
    f.onDialog(QStringLiteral("Chercher"), [](QDialog &dialog) {
        type(dialog, "Text1", QStringLiteral("ab"));
        click(dialog, "Command1");
    });
    f.trigger("rechercher");
    QVERIFY2(f.missedDialogs.isEmpty(), qPrintable(f.missedDialogs.join(',')));
    // The dialog's match at 0 is followed by a continue-search from index 1.
    QCOMPARE(f.exo().selection(), (TextRange{3, 2}));
    QCOMPARE(f.state.lastFoundPosition, 3);
    QCOMPARE(f.state.searchText, QStringLiteral("ab"));
}

void tst_SearchDialogs::findCancelEndsTheCommand()
{
    WindowFixture f;
    f.exo().setText("ab ab ab");
    f.state.searchText = QStringLiteral("ab");
    f.onDialog(QStringLiteral("Chercher"), [](QDialog &dialog) {
        QCOMPARE(dialog.findChild<QLineEdit *>("Text1")->text(), QStringLiteral("ab"));
        click(dialog, "Command2");
    });
    f.trigger("rechercher");
    QVERIFY(f.missedDialogs.isEmpty());
    QVERIFY(f.state.searchText.isEmpty());
    QCOMPARE(f.exo().selection(), (TextRange{0, 0}));
    QVERIFY(f.fake.messages.asked().isEmpty());
}

void tst_SearchDialogs::findHandsOverToReplace()
{
    WindowFixture f;
    f.exo().setText("a a a");
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.onDialog(QStringLiteral("Chercher"), [&f](QDialog &dialog) {
        f.onDialog(QStringLiteral("remplaceur"), [](QDialog &replace) {
            type(replace, "Text1", QStringLiteral("a"));
            type(replace, "Text2", QStringLiteral("ab"));
            click(replace, "Command1");
        });
        click(dialog, "Command3");
    });
    f.trigger("rechercher");
    QVERIFY2(f.missedDialogs.isEmpty(), qPrintable(f.missedDialogs.join(',')));
    QCOMPARE(f.text(), QStringLiteral("ab ab ab"));
    QCOMPARE(f.fake.messages.askedTexts(), QStringList{QStringLiteral("Remplacement de a par ab terminé.")});
    // The outcome was shown: no continue-search after the find dialog; the selection collapsed.
    QCOMPARE(f.exo().selLength(), 0);
    QCOMPARE(f.state.lastFoundPosition, 0);
    f.exo().undo();
    QCOMPARE(f.text(), QStringLiteral("a a a"));
}

void tst_SearchDialogs::replaceOneByOneThroughThePrompt()
{
    WindowFixture f;
    f.exo().setText("un a, un a");
    f.state.searchText = QStringLiteral("a");
    f.state.replaceText = QStringLiteral("b");
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.onDialog(QStringLiteral("remplaceur"), [&f](QDialog &dialog) {
        f.onDialog(QStringLiteral("Choixremp"), [&f](QDialog &first) {
            QCOMPARE(f.exo().selection(), (TextRange{3, 1}));
            f.onDialog(QStringLiteral("Choixremp"), [&f](QDialog &second) {
                QCOMPARE(f.exo().selection(), (TextRange{9, 1}));
                click(second, "Command2");
            });
            click(first, "Command1");
        });
        click(dialog, "Command3");
    });
    f.trigger("remplace");
    QVERIFY2(f.missedDialogs.isEmpty(), qPrintable(f.missedDialogs.join(',')));
    QCOMPARE(f.text(), QStringLiteral("un b, un a"));
    QCOMPARE(f.fake.messages.askedTexts(), QStringList{QStringLiteral("Remplacement de a par b terminé.")});
    QCOMPARE(f.exo().selLength(), 0);
}

void tst_SearchDialogs::continueSearchCommand()
{
    WindowFixture f;
    f.exo().setText("chat et chat");
    f.state.searchText = QStringLiteral("chat");
    f.trigger("contrech");
    QCOMPARE(f.exo().selection(), (TextRange{8, 4}));
    f.trigger("contrech");
    QCOMPARE(f.exo().selection(), (TextRange{0, 4}));
}

void tst_SearchDialogs::commandsAreLive()
{
    WindowFixture f;
    for (const char *name : {"rechercher", "contrech", "remplace", "Command13"})
        QVERIFY2(f.window->command(QLatin1String(name))->isEnabled(), name);
}

QTEST_MAIN(tst_SearchDialogs)
#include "tst_searchdialogs.moc"
