#include "edit/editmodule.h"
#include "format/scriptformat.h"
#include "format/selectionmirror.h"
#include "format/updown.h"
#include "mainwindowfixture.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedplatform.h"
#include "shell/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

// The real main window over the real control, shown and active so that focus is real.
struct Fixture : MainWindowFixture
{
    explicit Fixture(const QRect &screen = QRect(0, 0, 1024, 768))
        : MainWindowFixture(screen, {"Times New Roman", "Arial", "Symbol", "Courier New"})
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        exo().setFocus();
    }
    template <typename W = QWidget> W *find(const QString &name) const
    {
        return window->findChild<W *>(name);
    }
    QAction *command(const QString &name) const { return window->command(name); }
    bool checked(const QString &name) const { return command(name)->isChecked(); }
    QRadioButton *option2(int i) const { return find<QRadioButton>(QStringLiteral("Option2_%1").arg(i)); }
    QCheckBox *check3(int i) const { return find<QCheckBox>(QStringLiteral("Check3_%1").arg(i)); }
    // A paragraph of 12-point text, wholly selected.
    void selectTwelvePointText()
    {
        exo().setText("H2O est l'eau");
        exo().setSelection({0, 13});
        exo().setSelFontSize(12);
    }
    int optionShown() const
    {
        for (int i = 0; i < 3; ++i) {
            if (option2(i)->isChecked())
                return i;
        }
        return -1;
    }
};

} // namespace

// The formatting commands and the selection mirror in the real main window.
class tst_FormatInWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void scripts_data();
    void scripts();
    void normalBeforeAnyScriptKeepsTheSize();
    void stepChangeReapplies();
    void toggleShortcutsMoveTheChoice();
    void mirrorShowsTheSelection();
    void mirrorOfAMixedSelection();
    void mirrorRoundsAHalfPointSize();
    void formatCommandRefreshesTheMirror();
    void mirrorLeavesTheTextAlone_data();
    void mirrorLeavesTheTextAlone();
    void userCommandsFormatInOneUndoStep_data();
    void userCommandsFormatInOneUndoStep();
    void italicClickRewritesPartialBold();
    void menuItems();
    void fontBox();
    void palette();
    void tabKey_data();
    void tabKey();
    void typingAndProtection();
    void formatMemoryAroundAPaste_data();
    void formatMemoryAroundAPaste();
    void controlsAreNamedForScreenReaders();
};

void tst_FormatInWindow::scripts_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<int>("choice");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("offset");
    QTest::newRow("small mode, exponent at step 8: 8 pt raised 80") << true << 2 << 8.0 << 80;
    QTest::newRow("small mode, index at step 5: 8 pt lowered 50") << true << 1 << 8.0 << -50;
    QTest::newRow("normal mode, index at step 5 on 12 pt: lowered 60") << false << 1 << 12.0 << -60;
    QTest::newRow("normal mode, exponent at step 8 on 12 pt: raised 96") << false << 2 << 12.0 << 96;
}

void tst_FormatInWindow::scripts()
{
    QFETCH(bool, small);
    QFETCH(int, choice);
    QFETCH(double, size);
    QFETCH(int, offset);
    Fixture f;
    QVERIFY(f.checked("check2")); // small mode at start
    if (!small)
        f.command("check2")->trigger();
    QCOMPARE(f.checked("check2"), small);
    f.selectTwelvePointText();
    f.option2(choice)->click();
    QVERIFY(f.exo().selFontSize() == size);
    QVERIFY(f.exo().selCharOffset() == offset);
    QCOMPARE(f.state.sizeBeforeScript, int16_t(12));
    QVERIFY(f.exo().hasFocus());
    f.option2(0)->click();
    QVERIFY(f.exo().selFontSize() == 12.0);
    QVERIFY(f.exo().selCharOffset() == 0);
    QCOMPARE(f.optionShown(), 0);
}

void tst_FormatInWindow::normalBeforeAnyScriptKeepsTheSize()
{
    Fixture f;
    f.selectTwelvePointText();
    f.option2(0)->click();
    QVERIFY(f.exo().selFontSize() == 12.0);
}

void tst_FormatInWindow::stepChangeReapplies()
{
    Fixture f;
    f.selectTwelvePointText();
    f.option2(2)->click();
    QVERIFY(f.exo().selCharOffset() == 80);
    // The step change uses step × size in small mode too: 8 pt at step 8 is 64.
    auto *up = f.find<UpDown>("udexp")->findChild<QToolButton *>("up");
    auto *down = f.find<UpDown>("udexp")->findChild<QToolButton *>("down");
    up->click();
    QCOMPARE(f.find<QLabel>("decexp")->text(), QStringLiteral("9"));
    QVERIFY(f.exo().selCharOffset() == 72);
    down->click();
    QVERIFY(f.exo().selCharOffset() == 64);
    QCOMPARE(f.window->scripts().exponentStep(), 8);
    f.window->scripts().setIndexStep(3);
    QCOMPARE(f.find<QLabel>("decind")->text(), QStringLiteral("3"));
    QVERIFY(f.exo().selCharOffset() == 64); // an index step leaves an exponent alone
}

void tst_FormatInWindow::toggleShortcutsMoveTheChoice()
{
    Fixture f;
    f.selectTwelvePointText();
    f.check3(0)->click();
    QVERIFY(f.exo().selCharOffset() == 80);
    QCOMPARE(f.optionShown(), 2);
    f.check3(1)->click();
    QVERIFY(!f.check3(0)->isChecked());
    QVERIFY(f.check3(1)->isChecked());
    QCOMPARE(f.optionShown(), 1);
    QVERIFY(f.exo().selCharOffset() == -50);
    f.check3(1)->click(); // off again: back to normal
    QCOMPARE(f.optionShown(), 0);
    QVERIFY(f.exo().selCharOffset() == 0);
    QVERIFY(f.exo().selFontSize() == 12.0);
}

void tst_FormatInWindow::mirrorShowsTheSelection()
{
    Fixture f;
    f.exo().setText("abc def");
    f.exo().setSelection({0, 3});
    f.exo().setSelBold(true);
    f.exo().setSelColor(qRgb(200, 0, 0));
    f.exo().setSelFontSize(14);
    f.exo().setSelCharOffset(40);
    f.exo().setSelAlignment(2);
    f.exo().setSelBullet(true);
    f.exo().setSelFontName("Times New Roman");
    f.exo().setSelection({1, 2});
    QVERIFY(f.checked("Check1(1)"));
    QVERIFY(f.checked("q21"));
    QVERIFY(!f.checked("Check1(2)"));
    QVERIFY(f.checked("optcoul(2)"));
    QVERIFY(!f.checked("optcoul(1)"));
    QCOMPARE(f.find<QLineEdit>("taille")->text(), QStringLiteral("14"));
    QCOMPARE(f.optionShown(), 2);
    QVERIFY(f.check3(0)->isChecked());
    QVERIFY(f.checked("Option3(1)"));
    QVERIFY(f.checked("q25") && !f.checked("q24") && !f.checked("q26"));
    QVERIFY(f.checked("bull") && f.checked("bull2"));
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("Times New Roman"));
    QCOMPARE(f.find<QLabel>("cotext")->styleSheet().contains("#c80000"), true);
    QCOMPARE(f.state.mirrorPhase, int16_t(0));

    // A colour that is no pen: no button, the swatch in that colour.
    f.exo().setSelColor(qRgb(1, 2, 3));
    f.window->mirror().maj();
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.checked(QStringLiteral("optcoul(%1)").arg(i)));
    QVERIFY(f.find<QLabel>("cotext")->styleSheet().contains("#010203"));
}

void tst_FormatInWindow::mirrorRoundsAHalfPointSize()
{
    Fixture f;
    f.exo().setText("abc");
    f.exo().setSelection({0, 3});
    f.exo().setSelFontSize(11.5);
    f.window->mirror().maj();
    QCOMPARE(f.find<QLineEdit>("taille")->text(), QStringLiteral("12")); // not a truncated 11
}

void tst_FormatInWindow::formatCommandRefreshesTheMirror()
{
    // A command that changes the format, by whatever road, shows it in the tool bar without
    // waiting for the caret to move.
    Fixture f;
    f.exo().setText("abc def");
    f.exo().setSelection({0, 3});
    f.window->mirror().maj();
    QVERIFY(!f.checked("Check1(1)"));
    f.exo().setSelBold(true);
    f.exo().setSelFontSize(14);
    QTRY_VERIFY(f.checked("Check1(1)"));
    QTRY_COMPARE(f.find<QLineEdit>("taille")->text(), QStringLiteral("14"));
    QCOMPARE(f.state.mirrorPhase, int16_t(0));
    QCOMPARE(f.exo().selection(), TextRange({0, 3}));
}

void tst_FormatInWindow::mirrorOfAMixedSelection()
{
    Fixture f;
    f.exo().setText("abcdef");
    f.exo().setSelection({0, 3});
    f.exo().setSelBold(true);
    f.exo().setSelFontSize(14);
    f.exo().setSelColor(qRgb(200, 0, 0));
    f.exo().setSelCharOffset(-50);
    f.exo().setSelFontName("Times New Roman");
    f.exo().setSelection({0, 6});
    QVERIFY(!f.checked("Check1(1)"));
    QVERIFY(!f.checked("q21"));
    QCOMPARE(f.find<QLineEdit>("taille")->text(), QString());
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.checked(QStringLiteral("optcoul(%1)").arg(i)));
    QCOMPARE(f.optionShown(), -1);
    QVERIFY(!f.check3(0)->isChecked() && !f.check3(1)->isChecked());
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral(" "));
}

void tst_FormatInWindow::mirrorLeavesTheTextAlone_data()
{
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QString>("control");
    for (const auto &[attribute, control] :
         std::initializer_list<std::pair<const char *, const char *>>{{"bold", "Check1(1)"},
                                                                      {"italic", "Check1(2)"},
                                                                      {"underline", "Check1(3)"},
                                                                      {"bullet", "bull"},
                                                                      {"centre", "Option3(1)"},
                                                                      {"right", "Option3(2)"},
                                                                      {"blue", "optcoul(0)"},
                                                                      {"red", "optcoul(2)"},
                                                                      {"size 14", "UpDown1"},
                                                                      {"size 16.5", "UpDown1"},
                                                                      {"exponent", "Option2_2"},
                                                                      {"index", "Check3_1"}})
        QTest::newRow(attribute) << attribute << control;
}

// Selecting formatted text writes the control; its handler runs under the mirror's phase and
// must not touch the document, the undo stack or the focus.
void tst_FormatInWindow::mirrorLeavesTheTextAlone()
{
    QFETCH(QString, attribute);
    QFETCH(QString, control);
    Fixture f;
    RichTextControl &exo = f.exo();
    exo.setText("plain FORMATTED");
    exo.setSelection({6, 9});
    const QHash<QString, std::function<void()>> apply = {
        {"bold", [&] { exo.setSelBold(true); }},
        {"italic", [&] { exo.setSelItalic(true); }},
        {"underline", [&] { exo.setSelUnderline(true); }},
        {"bullet", [&] { exo.setSelBullet(true); }},
        {"centre", [&] { exo.setSelAlignment(2); }},
        {"right", [&] { exo.setSelAlignment(1); }},
        {"blue", [&] { exo.setSelColor(qRgb(0, 10, 100)); }},
        {"red", [&] { exo.setSelColor(qRgb(200, 0, 0)); }},
        {"size 14", [&] { exo.setSelFontSize(14); }},
        {"size 16.5", [&] { exo.setSelFontSize(16.5); }},
        {"exponent", [&] { exo.setSelCharOffset(80); }},
        {"index", [&] { exo.setSelCharOffset(-50); }},
    };
    apply.value(attribute)();
    if (attribute == "bullet" || attribute == "centre" || attribute == "right") {
        exo.setText("plain\rFORMATTED");
        exo.setSelection({6, 9});
        apply.value(attribute)();
    }
    exo.setSelection({0, 5});
    exo.setSelStrikethrough(true); // the last undo step before the mirror runs
    QWidget *focused = f.find<QComboBox>("Combo1");
    focused->setFocus();
    QCOMPARE(QApplication::focusWidget(), focused);
    const QByteArray before = exo.textRtf();
    const QString shownBefore = f.find<QLineEdit>("taille")->text();

    exo.setSelection({6, 9}); // the selection change runs maj

    bool shown = false;
    if (QAction *action = f.command(control))
        shown = action->isChecked();
    else if (auto *button = f.find<QAbstractButton>(control))
        shown = button->isChecked();
    else
        shown = f.find<QLineEdit>("taille")->text() != shownBefore;
    QVERIFY2(shown, "the mirror did not write the control");
    QCOMPARE(exo.textRtf(), before);
    QCOMPARE(QApplication::focusWidget(), focused);
    QCOMPARE(f.state.mirrorPhase, int16_t(0));
    exo.undo(); // the strike-through, not something the mirror wrote
    exo.setSelection({0, 5});
    QVERIFY(exo.selStrikethrough() == false);
    exo.setSelection({6, 9});
    QVERIFY(exo.selStrikethrough() == false);
}

void tst_FormatInWindow::userCommandsFormatInOneUndoStep_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Gras") << "Check1(1)"
                          << "bold";
    QTest::newRow("Souligné") << "Check1(3)"
                              << "underline";
    QTest::newRow("Ecrire en rouge") << "optcoul(2)"
                                     << "red";
    QTest::newRow("Ecrire en bleu") << "optcoul(0)"
                                    << "blue";
    QTest::newRow("Centré") << "Option3(1)"
                            << "centre";
    QTest::newRow("Aligné à droite") << "Option3(2)"
                                     << "right";
    QTest::newRow("Style puces") << "bull"
                                 << "bullet";
    QTest::newRow("Taille up") << "UpDown1"
                               << "size 12";
    QTest::newRow("I") << "Command15"
                       << "Arial italic";
    QTest::newRow("E&xposant") << "Option2_2"
                               << "small exponent";
}

void tst_FormatInWindow::userCommandsFormatInOneUndoStep()
{
    QFETCH(QString, command);
    QFETCH(QString, expected);
    Fixture f;
    RichTextControl &exo = f.exo();
    exo.setText("some text");
    exo.setSelection({0, 9});
    exo.setSelFontName("Times New Roman");
    const QByteArray before = exo.textRtf();
    f.find<QComboBox>("Combo1")->setFocus();
    if (QAction *action = f.command(command))
        action->trigger();
    else if (command == "UpDown1")
        f.find<UpDown>("UpDown1")->findChild<QToolButton *>("up")->click();
    else
        f.find<QAbstractButton>(command)->click();
    QVERIFY(exo.hasFocus());
    const QHash<QString, bool> checks = {
        {"bold", exo.selBold() == true},
        {"underline", exo.selUnderline() == true},
        {"red", exo.selColor() == qRgb(200, 0, 0)},
        {"blue", exo.selColor() == qRgb(0, 10, 100)},
        {"centre", exo.selAlignment() == 2},
        {"right", exo.selAlignment() == 1},
        {"bullet", exo.selBullet() == true},
        {"size 12", exo.selFontSize() == 12.0},
        {"Arial italic", exo.selFontName() == QStringLiteral("Arial") && exo.selItalic() == true},
        {"small exponent", exo.selFontSize() == 8.0 && exo.selCharOffset() == 80},
    };
    QVERIFY2(checks.value(expected), qPrintable(expected));
    QVERIFY(exo.textRtf() != before);
    exo.undo();
    QCOMPARE(exo.textRtf(), before);
}

void tst_FormatInWindow::italicClickRewritesPartialBold()
{
    Fixture f;
    f.exo().setText("abcdef");
    f.exo().setSelection({0, 3});
    f.exo().setSelBold(true);
    f.exo().setSelection({0, 6}); // bold mixed: shown off
    QVERIFY(!f.checked("Check1(1)"));
    f.command("Check1(2)")->trigger();
    QVERIFY(f.exo().selBold() == false);
    QVERIFY(f.exo().selItalic() == true);
    QVERIFY(f.checked("q22"));
}

void tst_FormatInWindow::menuItems()
{
    Fixture f;
    f.exo().setText("one\rtwo\rthree");
    f.exo().setSelection({2, 6});
    f.command("q25")->trigger();
    QVERIFY(f.exo().selAlignment() == 2);
    QVERIFY(f.checked("q25") && !f.checked("q24") && !f.checked("q26"));
    f.exo().setSelStart(10);
    QVERIFY(f.exo().selAlignment() == 0);
    // Mixed alignments show the last state; the menu still aligns them all.
    f.exo().setSelection({0, 13});
    f.command("q25")->trigger();
    QVERIFY(f.exo().selAlignment() == 2);

    f.command("bull2")->trigger();
    QVERIFY(f.exo().selBullet() == true);
    QVERIFY(f.checked("bull2") && f.checked("bull"));
    f.command("bull2")->trigger();
    QVERIFY(f.exo().selBullet() == false);
    QVERIFY(!f.checked("bull2"));

    f.command("q21")->trigger();
    QVERIFY(f.exo().selBold() == true);
    QVERIFY(f.checked("Check1(1)") && f.checked("q21"));
    f.command("q21")->trigger();
    QVERIFY(f.exo().selBold() == false);

    f.command("protection")->trigger();
    QVERIFY(f.exo().selProtected() == true);
    QVERIFY(f.checked("protection"));
    f.exo().setSelStart(0);
    Q_EMIT f.find<QMenu>("for0")->aboutToShow();
    QVERIFY(!f.checked("protection"));
    f.exo().setSelection({0, 13});
    Q_EMIT f.find<QMenu>("for0")->aboutToShow();
    QVERIFY(f.checked("protection"));
}

void tst_FormatInWindow::fontBox()
{
    Fixture f;
    auto *box = f.find<QComboBox>("Combo1");
    QCOMPARE(box->itemText(0), QStringLiteral(" "));
    QCOMPARE(box->currentText(), QStringLiteral("Arial"));
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    QCOMPARE(items, QStringList({" ", "Arial", "Courier New", "Symbol", "Times New Roman"}));
    f.exo().setText("abc");
    f.exo().setSelection({0, 3});
    const QByteArray before = f.exo().textRtf();
    Q_EMIT box->activated(0); // the blank entry
    QCOMPARE(f.exo().textRtf(), before);
    Q_EMIT box->activated(4);
    QVERIFY(f.exo().selFontName() == QStringLiteral("Times New Roman"));
    QVERIFY(f.exo().hasFocus());

    // A caret that lands in Symbol text leaves it: what is typed next is in the box's font,
    // and the box keeps that font; a selection of Symbol text stays Symbol.
    f.exo().setText("x");
    f.exo().setSelection({0, 1});
    f.exo().setSelRtf(R"({\rtf1{\fonttbl{\f0\fcharset2 Symbol;}}\f0 abg})");
    f.exo().setSelection({1, 1});
    QCOMPARE(f.exo().selFontName().valueOr({}), QStringLiteral("Symbol"));
    QCOMPARE(box->currentText(), QStringLiteral("Times New Roman"));
    f.exo().setSelection({2, 0});
    QCOMPARE(f.exo().selFontName().valueOr({}), QStringLiteral("Times New Roman"));
    QCOMPARE(box->currentText(), QStringLiteral("Times New Roman"));
    QTest::keyClicks(f.exo().widget(), QStringLiteral("z"));
    f.exo().setSelection({2, 1});
    QCOMPARE(f.exo().selFontName().valueOr({}), QStringLiteral("Times New Roman"));
    f.exo().setSelection({0, 2});
    QCOMPARE(f.exo().selFontName().valueOr({}), QStringLiteral("Symbol"));
    QCOMPARE(f.exo().text(), QByteArray("abzg"));
}

void tst_FormatInWindow::palette()
{
    Fixture f;
    f.exo().setText("abc");
    f.exo().setSelection({0, 3});
    const auto pick = [](const QString &button) {
        QTimer::singleShot(0, [button] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == QStringLiteral("coul"));
            dialog->findChild<QPushButton *>(button)->click();
        });
    };
    pick("Label1_10");                       // column 1, row 2: 255, 192, 128
    f.find<QComboBox>("Combo1")->setFocus(); // where a click on the tool bar may leave it
    f.command("Command12")->trigger();
    QVERIFY(f.exo().selColor() == qRgb(255, 192, 128));
    QCOMPARE(f.exo().selection(), (TextRange{0, 3}));
    // The teacher types on where the colour went (the offscreen platform leaves the window
    // inactive once a modal dialog has gone: what counts is the widget it gives the keys to).
    QCOMPARE(f.window->focusWidget(), f.exo().widget());
    pick("Command1");
    f.find<QComboBox>("Combo1")->setFocus();
    f.command("Command12")->trigger();
    QVERIFY(f.exo().selColor() == qRgb(255, 192, 128));
    QCOMPARE(f.exo().selection(), (TextRange{0, 3}));
    QCOMPARE(f.window->focusWidget(), f.exo().widget());
}

void tst_FormatInWindow::tabKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier);
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier);
    QTest::newRow("Alt+Tab") << int(Qt::Key_Tab) << int(Qt::AltModifier);
}

void tst_FormatInWindow::tabKey()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Fixture f;
    f.exo().setText("ab");
    f.exo().setSelection({1, 0});
    f.exo().setFocus();
    QTest::keyClick(f.exo().widget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.exo().text().left(3), QByteArray("a\tb"));
    QVERIFY(f.exo().hasFocus());
    QCOMPARE(f.state.documentSaved, int16_t(0));
}

void tst_FormatInWindow::typingAndProtection()
{
    Fixture f;
    f.exo().setText("abcdef");
    f.exo().setSelection({0, 3});
    f.exo().setSelProtected(true);
    f.exo().setSelection({1, 4}); // partly protected
    f.state.documentSaved = 1;
    QTest::keyClicks(f.exo().widget(), "z");
    QCOMPARE(f.state.documentSaved, int16_t(1));
    QTest::keyClick(f.exo().widget(), Qt::Key_Tab); // nor does a tab go into it
    QCOMPARE(f.exo().text().left(6), QByteArray("abcdef"));
    f.exo().setSelStart(6);
    QTest::keyClicks(f.exo().widget(), "z");
    QCOMPARE(f.state.documentSaved, int16_t(0));
}

void tst_FormatInWindow::formatMemoryAroundAPaste_data()
{
    QTest::addColumn<bool>("savingAs");
    QTest::newRow("after a paste the typing format comes back") << false;
    QTest::newRow("during save as the format stays pending") << true;
}

void tst_FormatInWindow::formatMemoryAroundAPaste()
{
    QFETCH(bool, savingAs);
    Fixture f;
    RichTextControl &exo = f.exo();
    exo.setText("abc");
    exo.setSelStart(3);
    exo.setSelFontName("Arial");
    exo.setSelBold(true);
    f.state.formatRestorePending = 1;
    f.window->edit().memory().memoriser();
    f.state.savingAs = savingAs ? 1 : 0;
    // What a palette's paste brings: a Symbol character, its own format.
    exo.setSelRtf(R"({\rtf1{\fonttbl{\f0 Symbol;}}\f0 a})");
    if (savingAs) {
        QCOMPARE(f.state.formatRestorePending, int16_t(1));
        QVERIFY(exo.selFontName() == QStringLiteral("Symbol") || exo.selBold() == false);
        f.state.savingAs = 0;
        exo.setSelStart(0); // the next selection change restores
    }
    QCOMPARE(f.state.formatRestorePending, int16_t(0));
    QVERIFY(exo.selFontName() == QStringLiteral("Arial"));
    QVERIFY(exo.selBold() == true);
    QVERIFY(f.checked("Check1(1)")); // the mirror ran again after the restore
}

void tst_FormatInWindow::controlsAreNamedForScreenReaders()
{
    Fixture f;
    for (const char *name : {"Gras",
                             "Italique",
                             "Souligné",
                             "Ecrire en rouge",
                             "Ecrire en bleu",
                             "Ecrire en noir",
                             "Ecrire en vert",
                             "Choisir une couleur d'écriture",
                             "Style puces",
                             "Aligné à gauche",
                             "Centré",
                             "Aligné à droite",
                             "Police:",
                             "Taille:",
                             "I",
                             "Couleur",
                             "&Normal",
                             "&Indice",
                             "E&xposant",
                             "exposant",
                             "indice",
                             "Annuler dernière opération"}) {
        const QList<QWidget *> all = f.window->findChildren<QWidget *>();
        const bool found = std::any_of(all.begin(), all.end(), [name](const QWidget *w) {
            return w->accessibleName() == QString::fromUtf8(name) && w->isVisible();
        });
        QVERIFY2(found, name);
    }
    QCOMPARE(f.option2(0)->toolTip(), QStringLiteral("Caractère normal"));
    QVERIFY(f.find<QWidget>("Check1_1"));
    QVERIFY(f.find<QWidget>("optcoul_2"));
    QVERIFY(f.find<QWidget>("regle"));
}

QTEST_MAIN(tst_FormatInWindow)
#include "tst_formatinwindow.moc"
