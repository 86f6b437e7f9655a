#include "format/scriptaligner.h"
#include "richtext/richtextfactory.h"

#include <QImage>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

// "H2O" at 12 points with the 2 at `size` points, moved by `offset` twips.
std::unique_ptr<RichTextControl> water(double size, int offset)
{
    auto text = createRichTextControl();
    text->setSelFontSize(12);
    text->setSelText("H2O");
    text->setSelection({1, 1});
    text->setSelFontSize(size);
    text->setSelCharOffset(offset);
    return text;
}

QList<int> offsets(RichTextControl &text)
{
    QList<int> result;
    for (int position = 0; position < text.textLength(); ++position) {
        text.setSelection({position, 1});
        result << text.selCharOffset().valueOr(9999);
    }
    return result;
}

} // namespace

class tst_ScriptAligner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void alignScripts_data();
    void alignScripts();
    void alignmentIsOneUndoStep();
    void raiseBaseline_data();
    void raiseBaseline();
    void raiseBaselineTwiceChangesNothing();
    void raiseBaselineCountsPicturesAndEndsOnTheLastCharacter();
};

void tst_ScriptAligner::alignScripts_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("expectedSize");
    QTest::addColumn<int>("expectedOffset");

    QTest::newRow("index, kind 2, 10 pt step 5") << -40 << 2 << 10 << 5 << 10.0 << -50;
    QTest::newRow("index, kind 1: no exponent") << -40 << 1 << 10 << 5 << 8.0 << -40;
    QTest::newRow("exponent, kind 1, 12 pt step 8") << 80 << 1 << 12 << 8 << 12.0 << 96;
    QTest::newRow("exponent, kind 2: no index") << 80 << 2 << 12 << 8 << 8.0 << 80;
    QTest::newRow("exponent, kind 1, 40 pt step 50") << 1 << 1 << 40 << 50 << 40.0 << 2000;
}

void tst_ScriptAligner::alignScripts()
{
    QFETCH(int, offset);
    QFETCH(int, kind);
    QFETCH(int, size);
    QFETCH(int, step);
    QFETCH(double, expectedSize);
    QFETCH(int, expectedOffset);

    auto text = water(8, offset);
    ScriptAligner::alignScripts(*text, kind, size, step);
    QCOMPARE(offsets(*text), (QList<int>{0, expectedOffset, 0}));
    text->setSelection({1, 1});
    QCOMPARE(text->selFontSize().valueOr(0), expectedSize);
    text->setSelection({0, 1});
    QCOMPARE(text->selFontSize().valueOr(0), 12.0); // baseline characters are left alone
}

void tst_ScriptAligner::alignmentIsOneUndoStep()
{
    auto text = createRichTextControl();
    text->setSelText("a2b3");
    for (int position : {1, 3}) {
        text->setSelection({position, 1});
        text->setSelCharOffset(-30);
    }
    ScriptAligner::alignScripts(*text, 2, 10, 5);
    QCOMPARE(offsets(*text), (QList<int>{0, -50, 0, -50}));
    text->undo();
    QCOMPARE(offsets(*text), (QList<int>{0, -30, 0, -30}));
}

void tst_ScriptAligner::raiseBaseline_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("raised");

    QTest::newRow("12 points: 60 twips") << 12.0 << 60;
    QTest::newRow("10 points: 50 twips") << 10.0 << 50;
    QTest::newRow("9.5 points: rounded") << 9.5 << 48;
}

void tst_ScriptAligner::raiseBaseline()
{
    QFETCH(double, size);
    QFETCH(int, raised);

    auto text = createRichTextControl();
    text->setSelFontSize(size);
    text->setSelText("SO4 ion");
    text->setSelection({0, 7});
    QCOMPARE(ScriptAligner::raiseBaseline(*text), 7);
    QCOMPARE(offsets(*text), QList<int>(7, raised));
}

void tst_ScriptAligner::raiseBaselineTwiceChangesNothing()
{
    auto text = water(8, -50);
    text->setSelection({0, 3});
    QCOMPARE(ScriptAligner::raiseBaseline(*text), 2); // the lowered 2 is left
    const QList<int> once = offsets(*text);
    QCOMPARE(once, (QList<int>{60, -50, 60}));
    text->setSelection({0, 3});
    QCOMPARE(ScriptAligner::raiseBaseline(*text), 0);
    QCOMPARE(offsets(*text), once);
    text->undo(); // the second run added nothing to undo; the first comes off whole
    QCOMPARE(offsets(*text), (QList<int>{0, -50, 0}));
}

void tst_ScriptAligner::raiseBaselineCountsPicturesAndEndsOnTheLastCharacter()
{
    auto text = createRichTextControl();
    text->setSelFontSize(12);
    text->setSelText("x ");
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    text->insertPicture(picture);
    text->setSelText(" y");
    QCOMPARE(text->textLength(), 5);
    text->setSelection({1, 3});
    QSignalSpy changes(text.get(), &RichTextControl::selectionChanged);
    QCOMPARE(ScriptAligner::raiseBaseline(*text), 3);
    QCOMPARE(offsets(*text), (QList<int>{0, 60, 60, 60, 0}));
    text->setSelection({1, 3});
    ScriptAligner::raiseBaseline(*text);
    QCOMPARE(text->selection(), (TextRange{3, 1}));
    QVERIFY(changes.count() >= 3); // one selection change per character: the mirror follows
}

QTEST_MAIN(tst_ScriptAligner)
#include "tst_scriptaligner.moc"
