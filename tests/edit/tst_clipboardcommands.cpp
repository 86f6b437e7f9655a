#include "edit/clipboardcommands.h"
#include "platform/qtclipboard.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "scriptedclipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QStandardPaths>
#include <QTest>

namespace {

struct ClipboardFixture
{
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    ScriptedClipboard clipboard;
    ClipboardCommands commands{*exo, clipboard};

    explicit ClipboardFixture(const QByteArray &text = QByteArray()) { exo->setText(text); }
    QString text() const { return Cp1252::decode(exo->text()); }
};

// Select each position in turn and collect the offsets of the characters.
QList<int> offsets(RichTextControl &exo)
{
    QList<int> result;
    for (int i = 0; i < exo.textLength(); ++i) {
        exo.setSelection({i, 1});
        result << exo.selCharOffset().valueOr(9999);
    }
    return result;
}

} // namespace

class tst_ClipboardCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void copyPutsRtfAndPlainText();
    void copyWithNothingSelectedLeavesTheClipboardEmpty();
    void cutAndPasteKeepTheSubscript();
    void cutIsOneUndoStepAndLeavesProtectedText();
    void pasteOfPlainTextTakesTheCaretFormat();
    void plainTextKeepsWhatWindows1252CannotHold();
    void emptyClipboardLeavesTheSelection();
    void pasteIntoProtectedTextDoesNothing();
    void deleteAndSelectAll_data();
    void deleteAndSelectAll();
    void rtfFromAnotherProgramKeepsItsFormatting();
    void systemClipboardCarriesEveryRtfName();
    void ctrlKeysRunTheSameCommands_data();
    void ctrlKeysRunTheSameCommands();
    void shiftInsertKeepsTheControlsOwnPaste();
};

void tst_ClipboardCommands::copyPutsRtfAndPlainText()
{
    ClipboardFixture f("Eau\rH2O");
    f.exo->setSelection({0, 7});
    f.commands.copie();
    QCOMPARE(f.clipboard.log(), (QStringList{"clear", "setRtf"}));
    QVERIFY(f.clipboard.rtf().startsWith("{\\rtf"));
    QCOMPARE(f.clipboard.text(), QStringLiteral("Eau\nH2O"));
    QCOMPARE(f.text(), QStringLiteral("Eau\rH2O"));
}

void tst_ClipboardCommands::copyWithNothingSelectedLeavesTheClipboardEmpty()
{
    ClipboardFixture f("Eau");
    f.clipboard.putPlainText(QStringLiteral("avant"));
    f.exo->setSelection({1, 0});
    f.commands.copie();
    QVERIFY(f.clipboard.isEmpty());
    f.commands.coupe();
    QVERIFY(f.clipboard.isEmpty());
    QCOMPARE(f.text(), QStringLiteral("Eau"));
}

void tst_ClipboardCommands::cutAndPasteKeepTheSubscript()
{
    ClipboardFixture f("H2O et ");
    f.exo->setSelection({1, 1});
    f.exo->setSelCharOffset(-50);
    f.commands.coupe();
    QCOMPARE(f.text(), QStringLiteral("HO et "));
    f.exo->setSelection({6, 0});
    f.commands.colle();
    QCOMPARE(f.text(), QStringLiteral("HO et 2"));
    QCOMPARE(offsets(*f.exo), (QList<int>{0, 0, 0, 0, 0, 0, -50}));
}

void tst_ClipboardCommands::cutIsOneUndoStepAndLeavesProtectedText()
{
    ClipboardFixture f("abc def");
    f.exo->setSelection({0, 4});
    f.commands.coupe();
    QCOMPARE(f.text(), QStringLiteral("def"));
    f.exo->undo();
    QCOMPARE(f.text(), QStringLiteral("abc def"));

    f.exo->setSelection({4, 3});
    f.exo->setSelProtected(true);
    f.exo->setSelection({2, 4}); // partly protected
    f.commands.coupe();
    QCOMPARE(f.clipboard.text(), QStringLiteral("c de"));
    QCOMPARE(f.text(), QStringLiteral("abc def"));
}

void tst_ClipboardCommands::pasteOfPlainTextTakesTheCaretFormat()
{
    ClipboardFixture f("un deux trois");
    f.exo->setSelection({3, 4});
    f.exo->setSelBold(true);
    f.exo->setSelection({3, 4});
    f.clipboard.putPlainText(QStringLiteral("{x}\\\ty"));
    f.commands.colle();
    QCOMPARE(f.text(), QStringLiteral("un {x}\\\ty trois"));
    f.exo->setSelection({3, 6});
    QVERIFY(f.exo->selBold() == true);
    f.exo->setSelection({0, 3});
    QVERIFY(f.exo->selBold() == false);
    QCOMPARE(f.clipboard.log().count(QStringLiteral("clear")), 0); // paste never clears

    f.clipboard.putPlainText(QStringLiteral("a\r\nb\nc"));
    f.exo->setSelection({0, 0});
    f.commands.colle();
    QVERIFY(f.text().startsWith(QStringLiteral("a\rb\rcun ")));
}

void tst_ClipboardCommands::plainTextKeepsWhatWindows1252CannotHold()
{
    ClipboardFixture f("x");
    f.clipboard.putPlainText(QString::fromUtf8("αβ é"));
    f.exo->setSelection({0, 1});
    f.commands.colle();
    f.exo->setSelection({0, f.exo->textLength()});
    f.commands.copie();
    QCOMPARE(f.exo->textLength(), 4);
    // The control's RTF carries the Greek letters even where its 8-bit view cannot.
    QVERIFY(f.clipboard.rtf().contains("\\u945"));
}

void tst_ClipboardCommands::emptyClipboardLeavesTheSelection()
{
    ClipboardFixture f("garde-moi");
    f.exo->setSelection({0, 5});
    f.commands.colle();
    QCOMPARE(f.text(), QStringLiteral("garde-moi"));
    QCOMPARE(f.exo->selection(), (TextRange{0, 5}));
    f.clipboard.setImage(QImage(4, 4, QImage::Format_RGB32)); // a picture goes in through Shift+Insert
    f.commands.colle();
    QCOMPARE(f.text(), QStringLiteral("garde-moi"));
}

void tst_ClipboardCommands::pasteIntoProtectedTextDoesNothing()
{
    ClipboardFixture f("abc");
    f.exo->setSelection({0, 3});
    f.exo->setSelProtected(true);
    f.clipboard.putPlainText(QStringLiteral("z"));
    f.exo->setSelection({1, 1});
    f.commands.colle();
    f.commands.supprime();
    QCOMPARE(f.text(), QStringLiteral("abc"));
}

void tst_ClipboardCommands::deleteAndSelectAll_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<TextRange>("selection");
    QTest::addColumn<QString>("afterDelete");
    QTest::addColumn<TextRange>("all");
    QTest::newRow("empty document selects nothing")
        << QByteArray() << TextRange{0, 0} << QString() << TextRange{0, 0};
    QTest::newRow("delete a word") << QByteArray("un deux") << TextRange{2, 5} << "un" << TextRange{0, 2};
    QTest::newRow("caret deletes nothing")
        << QByteArray("un\rdeux") << TextRange{1, 0} << "un\rdeux" << TextRange{0, 7};
}

void tst_ClipboardCommands::deleteAndSelectAll()
{
    QFETCH(QByteArray, text);
    QFETCH(TextRange, selection);
    QFETCH(QString, afterDelete);
    QFETCH(TextRange, all);
    ClipboardFixture f(text);
    f.exo->setSelection(selection);
    f.commands.supprime();
    QCOMPARE(f.text(), afterDelete);
    QVERIFY(f.clipboard.log().isEmpty());
    f.commands.toutsel();
    QCOMPARE(f.exo->selection(), all);
}

void tst_ClipboardCommands::rtfFromAnotherProgramKeepsItsFormatting()
{
    QFile sample(QFINDTESTDATA("../rtf/data/rtf/lo-exercise.rtf"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    ClipboardFixture f("[]");
    f.clipboard.setRtf(sample.readAll(), QStringLiteral("ignored"));
    f.exo->setSelection({1, 0});
    f.commands.colle();
    QVERIFY(f.text().contains(QString::fromUtf8("Données")));
    QVERIFY(f.text().endsWith(QStringLiteral("Fin.\r]"))); // its last paragraph mark came too
    QVERIFY(!f.text().contains(QStringLiteral("ignored")));
    // The sample raises "-10" as a power of ten and sets words in bold.
    QVERIFY(offsets(*f.exo).contains(80));
    const int bold = f.exo->find("duire la ", 0, -1, 4) + 9;
    f.exo->setSelection({bold, 1});
    QVERIFY(f.exo->selBold() == true);
}

void tst_ClipboardCommands::systemClipboardCarriesEveryRtfName()
{
    // Through the real clipboard: LibreOffice and browsers read text/rtf or application/rtf,
    // a terminal the plain text.
    QtClipboard system;
    const std::unique_ptr<RichTextControl> exo = createRichTextControl();
    exo->setText("H2O");
    exo->setSelection({0, 3});
    ClipboardCommands commands(*exo, system);
    commands.copie();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(data->data(QStringLiteral("text/rtf")).startsWith("{\\rtf"));
    QVERIFY(data->data(QStringLiteral("application/rtf")).startsWith("{\\rtf"));
    QCOMPARE(data->text(), QStringLiteral("H2O"));
}

void tst_ClipboardCommands::ctrlKeysRunTheSameCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("Ctrl+C copies") << int(Qt::Key_C) << "abc"
                                   << QStringList{"putPlainText", "clear", "setRtf"};
    QTest::newRow("Ctrl+X cuts") << int(Qt::Key_X) << "ac" << QStringList{"putPlainText", "clear", "setRtf"};
    QTest::newRow("Ctrl+V pastes ours") << int(Qt::Key_V) << "azc" << QStringList{"putPlainText"};
}

void tst_ClipboardCommands::ctrlKeysRunTheSameCommands()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QStringList, log);
    ClipboardFixture f("abc");
    QWidget *widget = f.exo->widget();
    f.clipboard.putPlainText(QStringLiteral("z"));
    QGuiApplication::clipboard()->setText(QStringLiteral("system"));
    f.exo->setSelection({1, 1});
    QTest::keyClick(widget, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(f.text(), text);
    QCOMPARE(f.clipboard.log(), log);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("system")); // not the widget's own copy
}

void tst_ClipboardCommands::shiftInsertKeepsTheControlsOwnPaste()
{
    ClipboardFixture f("ab");
    QWidget *widget = f.exo->widget();
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    f.exo->setSelection({1, 0});
    QTest::keyClick(widget, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(f.exo->objectCount(), 1);
    QCOMPARE(f.exo->textLength(), 3);
    QVERIFY(f.clipboard.log().isEmpty());
}

QTEST_MAIN(tst_ClipboardCommands)
#include "tst_clipboardcommands.moc"
