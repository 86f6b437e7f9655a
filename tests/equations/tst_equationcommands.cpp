// "Équation…" and the editing of equations in exo, with the dialog's answers scripted; and the
// dialog itself.
#include "equations/equationcommands.h"
#include "equations/equationdialog.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {

struct Fixture
{
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    QList<EquationRequest> asked;
    std::optional<QString> answer;
    EquationCommands commands{*exo, [this](const EquationRequest &request) {
                                  asked << request;
                                  return answer;
                              }};
};

} // namespace

class tst_EquationCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void atACaretTheDialogAsks_data();
    void atACaretTheDialogAsks();
    void selectedTextBecomesTheEquation();
    void protectedTextIsNotConverted();
    void selectedEquationOpensForEditing_data();
    void selectedEquationOpensForEditing();
    void enterEditsASelectedEquationOnly_data();
    void enterEditsASelectedEquationOnly();
    void linearOfASelection_data();
    void linearOfASelection();
    void dialogDefaults();
    void exampleGoesInWhereTheCaretIs();
};

void tst_EquationCommands::atACaretTheDialogAsks_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("OK") << std::optional<QString>(QStringLiteral("v = sqrt(2 g h)")) << QByteArray("a b");
    QTest::newRow("Annuler") << std::optional<QString>() << QByteArray("ab");
    QTest::newRow("OK on an empty line") << std::optional<QString>(QStringLiteral(" ")) << QByteArray("ab");
}

void tst_EquationCommands::atACaretTheDialogAsks()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QByteArray, text);
    Fixture f;
    f.exo->setText("ab");
    f.exo->setSelStart(1);
    f.exo->setSelFontSize(14);
    f.answer = answer;
    f.commands.equation();
    QCOMPARE(f.asked.size(), 1);
    QVERIFY(f.asked[0].linear.isEmpty());
    QCOMPARE(f.asked[0].pointSize, 14.0);
    QCOMPARE(f.exo->text(), text);
}

void tst_EquationCommands::selectedTextBecomesTheEquation()
{
    Fixture f;
    f.exo->setText("Ec : E_c = 1/2 m v^2");
    f.exo->setSelection({5, 15});
    f.commands.equation();
    QVERIFY(f.asked.isEmpty()); // as the formula command: no dialog
    QCOMPARE(f.exo->text(), QByteArray("Ec :  "));
    QCOMPARE(f.exo->equationAt(5), QStringLiteral("E_c = 1/2 m v^2"));
    f.exo->undo();
    QCOMPARE(f.exo->text(), QByteArray("Ec : E_c = 1/2 m v^2"));
}

void tst_EquationCommands::protectedTextIsNotConverted()
{
    Fixture f;
    f.exo->setText("x^2");
    f.exo->setSelection({0, 3});
    f.exo->setSelProtected(true);
    f.commands.equation();
    QCOMPARE(f.exo->text(), QByteArray("x^2"));
}

void tst_EquationCommands::selectedEquationOpensForEditing_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("after");
    QTest::newRow("OK with a new text") << std::optional<QString>(QStringLiteral("x^3")) << "x^3";
    QTest::newRow("Annuler") << std::optional<QString>() << "x^2";
    QTest::newRow("emptied line keeps it") << std::optional<QString>(QString()) << "x^2";
}

void tst_EquationCommands::selectedEquationOpensForEditing()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, after);
    Fixture f;
    f.exo->setText("ab");
    f.exo->setSelStart(1);
    f.exo->insertEquation(QStringLiteral("x^2"));
    f.exo->setSelection({1, 1});
    f.answer = answer;
    f.commands.equation(); // the command on a selected equation edits it
    QCOMPARE(f.asked.size(), 1);
    QCOMPARE(f.asked[0].linear, QStringLiteral("x^2"));
    QCOMPARE(f.exo->equationAt(1), after);
    QCOMPARE(f.exo->textLength(), 3);
    if (after != QLatin1String("x^2")) {
        f.exo->undo(); // the edit is one step
        QCOMPARE(f.exo->equationAt(1), QStringLiteral("x^2"));
    }
}

void tst_EquationCommands::enterEditsASelectedEquationOnly_data()
{
    QTest::addColumn<TextRange>("selection");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("edits");
    QTest::newRow("the equation alone") << TextRange{1, 1} << int(Qt::NoModifier) << true;
    QTest::newRow("more than the equation") << TextRange{0, 2} << int(Qt::NoModifier) << false;
    QTest::newRow("a caret") << TextRange{1, 0} << int(Qt::NoModifier) << false;
    QTest::newRow("Shift+Enter") << TextRange{1, 1} << int(Qt::ShiftModifier) << false;
}

void tst_EquationCommands::enterEditsASelectedEquationOnly()
{
    QFETCH(TextRange, selection);
    QFETCH(int, modifiers);
    QFETCH(bool, edits);
    Fixture f;
    f.exo->setText("ab");
    f.exo->setSelStart(1);
    f.exo->insertEquation(QStringLiteral("a/b"));
    f.exo->setSelection(selection);
    KeyStroke key{Qt::Key_Return, modifiers, QStringLiteral("\r"), false};
    f.commands.onKeyDown(key);
    QCOMPARE(key.consumed, edits);
    QCOMPARE(f.asked.size(), edits ? 1 : 0);
}

void tst_EquationCommands::linearOfASelection_data()
{
    QTest::addColumn<QByteArray>("selected");
    QTest::addColumn<QString>("linear");
    QTest::newRow("one line") << QByteArray("x^2 + 1") << "x^2 + 1";
    QTest::newRow("paragraphs and breaks") << QByteArray("a\r b\vc") << "a b c";
    QTest::newRow("Windows-1252 letters") << QByteArray("\xe9t\xe9") << QStringLiteral("été");
    QTest::newRow("blank") << QByteArray(" \r ") << "";
}

void tst_EquationCommands::linearOfASelection()
{
    QFETCH(QByteArray, selected);
    QFETCH(QString, linear);
    QCOMPARE(EquationCommands::linearOf(selected), linear);
}

void tst_EquationCommands::dialogDefaults()
{
    EquationDialog dialog(EquationRequest{QStringLiteral("a/b"), 12});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Équation"));
    auto *line = dialog.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("Command1"));
    auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("Command2"));
    QVERIFY(line && ok && cancel);
    QCOMPARE(line->text(), QStringLiteral("a/b"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Annuler"));
    QVERIFY(ok->isDefault());
    QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("apercu")));
    const QList<QToolButton *> examples = dialog.findChildren<QToolButton *>();
    QCOMPARE(examples.size(), EquationDialog::examples().size());
    for (QToolButton *example : examples)
        QVERIFY(!example->accessibleName().isEmpty());
    QCOMPARE(dialog.linear(), QStringLiteral("a/b"));
}

void tst_EquationCommands::exampleGoesInWhereTheCaretIs()
{
    EquationDialog dialog(EquationRequest{QStringLiteral("F = "), 10});
    auto *line = dialog.findChild<QLineEdit *>(QStringLiteral("Text1"));
    line->deselect();
    line->setCursorPosition(4);
    dialog.findChild<QToolButton *>(QStringLiteral("exemple2"))->click();
    QCOMPARE(dialog.linear(), QStringLiteral("F = vec(F)"));
}

QTEST_MAIN(tst_EquationCommands)
#include "tst_equationcommands.moc"
