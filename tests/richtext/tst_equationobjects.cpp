// Equations in the control: one character for the caret, the selection, undo, copy and find;
// the size, colour and offset of the character format where they stand; kept through RTF.
#include "richtext/equationobjects.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocument>
#include <QWidget>

namespace {

// "a", the equation, "b": the equation is position 1.
std::unique_ptr<RichTextControl> withEquation(const QString &linear = QStringLiteral("1/2 m v^2"))
{
    auto text = createRichTextControl();
    text->setText("ab");
    text->setSelStart(1);
    text->insertEquation(linear);
    return text;
}

} // namespace

class tst_EquationObjects : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void isOneCharacter();
    void blankTextInsertsNothing();
    void selectedTextIsReplacedInOneUndoStep();
    void editingReplacesInOneUndoStep();
    void takesTheFormatWhereItStands();
    void formatCommandsActOnIt();
    void keptThroughRtf_data();
    void keptThroughRtf();
    void pictureForOtherReadersFollowsTheSize();
    void placementHoldsAscentAndDescent_data();
    void placementHoldsAscentAndDescent();
    void caretStepsOverItInOneKey();
};

void tst_EquationObjects::isOneCharacter()
{
    const auto text = withEquation();
    QCOMPARE(text->textLength(), 3);
    QCOMPARE(text->selection(), TextRange({2, 0})); // the caret after it
    QCOMPARE(text->text(), QByteArray("a b"));
    QCOMPARE(text->equationAt(1), QStringLiteral("1/2 m v^2"));
    QVERIFY(text->equationAt(0).isEmpty());
    QVERIFY(text->equationAt(2).isEmpty());
    text->setSelection({1, 1});
    QCOMPARE(text->selEquation(), QStringLiteral("1/2 m v^2"));
    text->setSelection({0, 2});
    QVERIFY(text->selEquation().isEmpty());
    // Spelling reads it as an object, no word.
    const ParagraphText paragraph = text->paragraphText(0);
    QCOMPARE(paragraph.text.at(1), QChar(QChar::ObjectReplacementCharacter));
    QVERIFY(!paragraph.plain.at(1));
    // Find goes round it, counting it as one position.
    QCOMPARE(text->find("b"), 2);
    // One undo takes it away.
    text->undo();
    QCOMPARE(text->text(), QByteArray("ab"));
}

void tst_EquationObjects::blankTextInsertsNothing()
{
    auto text = createRichTextControl();
    text->setText("ab");
    text->insertEquation(QStringLiteral("   "));
    QCOMPARE(text->textLength(), 2);
}

void tst_EquationObjects::selectedTextIsReplacedInOneUndoStep()
{
    auto text = createRichTextControl();
    text->setText("E_c = 1/2 m v^2 !");
    text->setSelection({0, 15});
    text->setSelFontSize(14);
    text->insertEquation(QString::fromLatin1(text->selText()));
    QCOMPARE(text->text(), QByteArray("  !"));
    text->setSelection({0, 1});
    QCOMPARE(text->selEquation(), QStringLiteral("E_c = 1/2 m v^2"));
    QCOMPARE(text->selFontSize(), Mixed<double>(14)); // the replaced text's size
    text->undo();
    QCOMPARE(text->text(), QByteArray("E_c = 1/2 m v^2 !"));
}

void tst_EquationObjects::editingReplacesInOneUndoStep()
{
    const auto text = withEquation(QStringLiteral("x^2"));
    text->setSelection({1, 1});
    text->setSelColor(qRgb(200, 0, 0));
    text->insertEquation(QStringLiteral("x^3"));
    QCOMPARE(text->equationAt(1), QStringLiteral("x^3"));
    text->setSelection({1, 1});
    QCOMPARE(text->selColor(), Mixed<QRgb>(qRgb(200, 0, 0))); // the edited one keeps its format
    text->undo();
    QCOMPARE(text->equationAt(1), QStringLiteral("x^2"));
}

void tst_EquationObjects::takesTheFormatWhereItStands()
{
    auto text = createRichTextControl();
    text->setText("ab");
    text->setSelStart(1);
    text->setSelFontSize(18);
    text->setSelColor(qRgb(0, 0, 255));
    text->insertEquation(QStringLiteral("a/b"));
    text->setSelection({1, 1});
    QCOMPARE(text->selFontSize(), Mixed<double>(18));
    QCOMPARE(text->selColor(), Mixed<QRgb>(qRgb(0, 0, 255)));
    // Typing after it is text again, in the same format.
    text->setSelStart(2);
    text->setSelText("c");
    QVERIFY(text->equationAt(2).isEmpty());
    text->setSelection({2, 1});
    QCOMPARE(text->selFontSize(), Mixed<double>(18));
}

void tst_EquationObjects::formatCommandsActOnIt()
{
    const auto text = withEquation();
    text->setSelection({1, 1});
    text->setSelFontSize(8);
    text->setSelCharOffset(-50);
    text->setSelBold(true);
    QCOMPARE(text->selEquation(), QStringLiteral("1/2 m v^2")); // still the equation
    QCOMPARE(text->selFontSize(), Mixed<double>(8));
    QCOMPARE(text->selCharOffset(), Mixed<int>(-50));
}

void tst_EquationObjects::keptThroughRtf_data()
{
    QTest::addColumn<QString>("linear");
    QTest::newRow("fraction") << "(Delta x)/(Delta t)";
    QTest::newRow("Greek, unicode") << QStringLiteral("Δx = v Δt");
    QTest::newRow("LaTeX names") << R"(\frac{a}{b} + \sqrt{x})";
    QTest::newRow("matrix") << "[[a,b],[c,d]]";
}

void tst_EquationObjects::keptThroughRtf()
{
    QFETCH(QString, linear);
    const auto text = withEquation(linear);
    text->setSelection({1, 1});
    text->setSelCharOffset(60);
    // Saved, reopened; and copied, pasted.
    auto reopened = createRichTextControl();
    reopened->setTextRtf(text->textRtf());
    QCOMPARE(reopened->equationAt(1), linear);
    reopened->setSelection({1, 1});
    QCOMPARE(reopened->selCharOffset(), Mixed<int>(60));
    auto pasted = createRichTextControl();
    pasted->setText("xy");
    pasted->setSelStart(1);
    text->setSelection({1, 1});
    pasted->setSelRtf(text->selRtf());
    QCOMPARE(pasted->textLength(), 3);
    QCOMPARE(pasted->equationAt(1), linear);
}

void tst_EquationObjects::pictureForOtherReadersFollowsTheSize()
{
    QTextDocument document;
    QTextCharFormat small;
    small.setFontPointSize(10);
    QTextCharFormat large;
    large.setFontPointSize(20);
    const auto a = EquationObjects::objectOf(EquationObjects::format(small, QStringLiteral("a/b")), document);
    const auto b = EquationObjects::objectOf(EquationObjects::format(large, QStringLiteral("a/b")), document);
    QVERIFY(a && b);
    QCOMPARE(a->kind, EmbeddedObject::Kind::Equation);
    QVERIFY(!a->imageData.isEmpty());
    QVERIFY(a->equationDescentTwips > 0); // a fraction hangs below the baseline
    QVERIFY(a->equationDescentTwips < a->heightTwips);
    QVERIFY(qAbs(b->widthTwips - 2 * a->widthTwips) <= a->widthTwips / 5);
    QVERIFY(qAbs(b->heightTwips - 2 * a->heightTwips) <= a->heightTwips / 5);
}

void tst_EquationObjects::placementHoldsAscentAndDescent_data()
{
    QTest::addColumn<qreal>("ascent");
    QTest::addColumn<qreal>("descent");
    QTest::addColumn<qreal>("halfX");
    QTest::newRow("tall fraction") << 20.0 << 12.0 << 3.0;
    QTest::newRow("no descent") << 10.0 << 0.0 << 3.0;
    QTest::newRow("deep root") << 8.0 << 15.0 << 4.0;
    QTest::newRow("nothing") << 0.0 << 0.0 << 3.0;
}

void tst_EquationObjects::placementHoldsAscentAndDescent()
{
    QFETCH(qreal, ascent);
    QFETCH(qreal, descent);
    QFETCH(qreal, halfX);
    const EquationObjects::Placement place = EquationObjects::placement(ascent, descent, halfX);
    // The layouts put the box's middle-alignment line on the text's baseline: ascent above it is
    // (height + halfX) / 2, descent below (height - halfX) / 2.
    QVERIFY(place.baseline >= ascent - 1e-9);
    QVERIFY(place.height - place.baseline >= descent - 1e-9);
    QCOMPARE(place.baseline, (place.height + halfX) / 2);
    // And no more than one of the two sides has room to spare.
    QVERIFY(qFuzzyCompare(place.baseline + 1, ascent + 1) ||
            qFuzzyCompare(place.height - place.baseline + 1, descent + 1) || place.height == 0);
}

void tst_EquationObjects::caretStepsOverItInOneKey()
{
    const auto text = withEquation();
    QWidget *view = text->widget();
    view->resize(400, 200);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    text->setSelStart(1);
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(text->selStart(), 2);
    QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(text->selection(), TextRange({1, 1}));
    QCOMPARE(text->selEquation(), QStringLiteral("1/2 m v^2"));
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(text->text(), QByteArray("ab"));
}

QTEST_MAIN(tst_EquationObjects)
#include "tst_equationobjects.moc"
