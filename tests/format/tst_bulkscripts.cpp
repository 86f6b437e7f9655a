#include "format/bulkscripts.h"
#include "format/formateur.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedplatform.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString emptySelection = QStringLiteral("Il faut sélectionner du texte pour pouvoir le formater!");
const QString emptySelectionTypo = QStringLiteral("Il faut sélectiooner du texte pour pouvoir le formater!");
const QString outOfRange = QStringLiteral("Intervalle autorisé; [ 1 ; 20 ]");

struct Fixture
{
    EditorState state;
    ScriptedPlatform fake;
    Platform platform = fake.platform();
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    ScriptSteps steps;
    QList<FormateurSettings> opened;
    std::optional<FormateurSettings> answer;
    QStringList smallModeCalls;
    BulkScripts commands{state,
                         platform,
                         *exo,
                         {[this] { return steps; }, [this](int v) { steps.exponentStep = v; },
                          [this](int v) { steps.indexStep = v; },
                          [this](bool on) {
                              smallModeCalls << (on ? "on" : "off");
                              steps.smallMode = on;
                          }},
                         [] { return createRichTextControl(); },
                         [this](const FormateurSettings &settings) {
                             opened << settings;
                             return answer;
                         }};

    // "H2O" at 12 points at the caret, with a lowered 8-point 2, all selected.
    void water()
    {
        const int start = exo->selStart();
        exo->setSelFontSize(12);
        exo->setSelText("H2O");
        exo->setSelection({start + 1, 1});
        exo->setSelFontSize(8);
        exo->setSelCharOffset(-40);
        exo->setSelection({start, 3});
    }
    int offsetAt(int position)
    {
        exo->setSelection({position, 1});
        return exo->selCharOffset().valueOr(9999);
    }
};

} // namespace

class tst_BulkScripts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void emptySelectionGivesTheMessage_data();
    void emptySelectionGivesTheMessage();
    void formateurOpensAtTheStepOfItsKind();
    void formateurRealignsInOneUndoStep();
    void closingFormateurAppliesNothing();
    void typedStep_data();
    void typedStep();
    void typedStepCancelledChangesNothing();
    void decabizRemovesSmallModeThenSetsIt();
    void formateurDefaults_data();
    void formateurDefaults();
    void formateurTypedSizeGoesToAStep_data();
    void formateurTypedSizeGoesToAStep();
};

void tst_BulkScripts::emptySelectionGivesTheMessage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("kind");

    QTest::newRow("toutexpo") << "toutexpo" << emptySelection << 1;
    QTest::newRow("toutindi keeps its typo") << "toutindi" << emptySelectionTypo << 2;
    QTest::newRow("decabiz") << "decabiz" << emptySelection << 0;
}

void tst_BulkScripts::emptySelectionGivesTheMessage()
{
    QFETCH(QString, command);
    QFETCH(QString, message);
    QFETCH(int, kind);

    Fixture f;
    f.exo->setSelText("text");
    f.fake.messages.answerNext(MessageAnswer::Ok);
    if (command == QLatin1String("toutexpo"))
        f.commands.toutexpo();
    else if (command == QLatin1String("toutindi"))
        f.commands.toutindi();
    else
        f.commands.decabiz();
    QCOMPARE(f.fake.messages.asked().size(), 1);
    const MessageRequest &asked = f.fake.messages.asked().first();
    QCOMPARE(asked.text, message);
    QCOMPARE(asked.title, QStringLiteral("Opération impossible"));
    QCOMPARE(asked.icon, MessageIcon::Stop);
    QCOMPARE(asked.buttons, MessageButtons::Ok);
    QVERIFY(f.opened.isEmpty());
    QVERIFY(f.smallModeCalls.isEmpty());
    QCOMPARE(int(f.state.bulkScriptKind), kind); // set first, also when the message shows
}

void tst_BulkScripts::formateurOpensAtTheStepOfItsKind()
{
    Fixture f;
    f.water();
    f.steps = {7, 3, true};
    f.commands.toutexpo();
    f.commands.toutindi();
    QCOMPARE(f.opened.size(), 2);
    QCOMPARE(f.opened.at(0).kind, 1);
    QCOMPARE(f.opened.at(0).step, 7);
    QCOMPARE(f.opened.at(0).size, 8);
    QCOMPARE(f.opened.at(1).kind, 2);
    QCOMPARE(f.opened.at(1).step, 3);
}

void tst_BulkScripts::formateurRealignsInOneUndoStep()
{
    Fixture f;
    f.exo->setSelText("Eau: ");
    const int start = f.exo->selStart();
    f.water();
    f.answer = FormateurSettings{2, 10, 5};
    f.commands.toutindi();

    QCOMPARE(f.exo->text(), QByteArray("Eau: H2O"));
    QCOMPARE(f.offsetAt(start + 1), -50);
    QCOMPARE(f.exo->selFontSize().valueOr(0), 10.0);
    QCOMPARE(f.offsetAt(start), 0);
    QCOMPARE(f.exo->selFontSize().valueOr(0), 12.0);

    f.exo->undo();
    QCOMPARE(f.exo->text(), QByteArray("Eau: H2O"));
    QCOMPARE(f.offsetAt(start + 1), -40);
}

void tst_BulkScripts::closingFormateurAppliesNothing()
{
    Fixture f;
    f.water();
    const QByteArray before = f.exo->textRtf();
    f.commands.toutindi();
    QCOMPARE(f.opened.size(), 1);
    QCOMPARE(f.exo->textRtf(), before);
    QVERIFY(!f.exo->canUndo() || f.offsetAt(1) == -40);
}

void tst_BulkScripts::typedStep_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("expected"); // 0: refused with the message

    QTest::newRow("20 accepted") << "C"
                                 << "20" << 20;
    QTest::newRow("1 accepted") << "C"
                                << "1" << 1;
    QTest::newRow("21 refused") << "C"
                                << "21" << 0;
    QTest::newRow("0 refused") << "C"
                               << "0" << 0;
    QTest::newRow("abc refused") << "C"
                                 << "abc" << 0;
    QTest::newRow("7.9 rounded down") << "C"
                                      << "7.9" << 7;
    QTest::newRow("7,9 under French settings") << "fr_FR"
                                               << "7,9" << 7;
    QTest::newRow("7.9 under French settings") << "fr_FR"
                                               << "7.9" << 7;
    QTest::newRow("spaces around") << "C"
                                   << " 12 " << 12;
    QTest::newRow("0.5 rounds down to 0") << "C"
                                          << "0.5" << 0;
    QTest::newRow("20.9 rounds down to 20") << "C"
                                            << "20.9" << 20;
}

void tst_BulkScripts::typedStep()
{
    QFETCH(QString, locale);
    QFETCH(QString, answer);
    QFETCH(int, expected);
    QLocale::setDefault(QLocale(locale));

    for (const bool exponents : {true, false}) {
        Fixture f;
        f.fake.input.answerNext(answer);
        if (expected == 0)
            f.fake.messages.answerNext(MessageAnswer::Ok);
        if (exponents)
            f.commands.decaexp();
        else
            f.commands.decaind();
        const InputRequest &asked = f.fake.input.asked().first();
        QCOMPARE(asked.prompt, QStringLiteral("Valeur du décalage (de 1 à 20)"));
        QCOMPARE(asked.title, exponents ? QStringLiteral("Décalage des exposants")
                                        : QStringLiteral("Décalage des indices"));
        QCOMPARE(asked.defaultText, exponents ? QStringLiteral("8") : QStringLiteral("5"));
        const int step = exponents ? f.steps.exponentStep : f.steps.indexStep;
        if (expected == 0) {
            QCOMPARE(f.fake.messages.askedTexts(), QStringList{outOfRange});
            QCOMPARE(f.fake.messages.asked().first().title, QStringLiteral("Valeur non valide"));
            QCOMPARE(step, exponents ? 8 : 5);
        } else {
            QVERIFY(f.fake.messages.asked().isEmpty());
            QCOMPARE(step, expected);
        }
        VERIFY_ALL_CONSUMED(f.fake);
    }
}

void tst_BulkScripts::typedStepCancelledChangesNothing()
{
    Fixture f;
    f.fake.input.cancelNext();
    f.commands.decaexp();
    f.fake.input.answerNext(QString());
    f.commands.decaind();
    QCOMPARE(f.steps.exponentStep, 8);
    QCOMPARE(f.steps.indexStep, 5);
    QVERIFY(f.fake.messages.asked().isEmpty());
}

void tst_BulkScripts::decabizRemovesSmallModeThenSetsIt()
{
    Fixture f;
    f.steps.smallMode = false;
    f.exo->setSelFontSize(12);
    f.exo->setSelText("SO");
    f.exo->setSelection({0, 2});
    f.commands.decabiz();
    QCOMPARE(f.smallModeCalls, (QStringList{"off", "on"}));
    QVERIFY(f.steps.smallMode);
    QCOMPARE(f.exo->selection(), (TextRange{1, 1}));
    QCOMPARE(f.offsetAt(0), 60);
    QCOMPARE(f.offsetAt(1), 60);

    f.exo->setSelection({0, 2});
    f.commands.decabiz();
    QCOMPARE(f.offsetAt(0), 60); // no longer on the baseline: left as it is
    QVERIFY(f.steps.smallMode);
}

void tst_BulkScripts::formateurDefaults_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::newRow("exponents") << 1 << "Modifier les exposants";
    QTest::newRow("indices") << 2 << "Modifier les indices";
}

void tst_BulkScripts::formateurDefaults()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);

    Formateur dialog(FormateurSettings{kind, 8, 6});
    QCOMPARE(dialog.objectName(), QStringLiteral("Formateur"));
    QCOMPARE(dialog.windowTitle(), caption);
    auto *size = dialog.findChild<QSpinBox *>(QStringLiteral("UpDown1"));
    auto *step = dialog.findChild<QSpinBox *>(QStringLiteral("UpDown2"));
    auto *sizeBox = dialog.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *stepBox = dialog.findChild<QLineEdit *>(QStringLiteral("Text2"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("Command1"));
    QVERIFY(size && step && sizeBox && stepBox && ok);
    QCOMPARE(size->minimum(), 8);
    QCOMPARE(size->maximum(), 40);
    QCOMPARE(size->singleStep(), 2);
    QCOMPARE(size->value(), 8);
    QCOMPARE(step->minimum(), 1);
    QCOMPARE(step->maximum(), 50);
    QCOMPARE(step->value(), 6);
    QCOMPARE(sizeBox->text(), QStringLiteral("8"));
    QCOMPARE(stepBox->text(), QStringLiteral("6"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    size->stepBy(1);
    QCOMPARE(sizeBox->text(), QStringLiteral("10"));
    QCOMPARE(dialog.settings().size, 10);
    QCOMPARE(dialog.settings().kind, kind);
}

void tst_BulkScripts::formateurTypedSizeGoesToAStep_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("size");
    QTest::newRow("on a step") << "12" << 12;
    QTest::newRow("odd size, nearest step above") << "11" << 12;
    QTest::newRow("odd size 9") << "9" << 10;
}

void tst_BulkScripts::formateurTypedSizeGoesToAStep()
{
    QFETCH(QString, typed);
    QFETCH(int, size);
    Formateur dialog(FormateurSettings{1, 8, 6});
    auto *upDown = dialog.findChild<QSpinBox *>(QStringLiteral("UpDown1"));
    QVERIFY(upDown);
    upDown->selectAll();
    QTest::keyClicks(upDown, typed);
    QTest::keyClick(upDown, Qt::Key_Tab); // the typing ends when the focus leaves
    upDown->interpretText();
    QCOMPARE(dialog.settings().size, size);
    QCOMPARE(upDown->value() % 2, 0);
}

QTEST_MAIN(tst_BulkScripts)
#include "tst_bulkscripts.moc"
