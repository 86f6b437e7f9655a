#include "edit/formatmemory.h"
#include "edit/undocommand.h"
#include "richtext/richtextfactory.h"
#include "scriptedkeystrokes.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// The format memory and the undo command over the real control.
class tst_FormatMemory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void pasteKeepsTheTypingFormat_data();
    void pasteKeepsTheTypingFormat();
    void mixedAttributeComesBackAsTheBlanksDefault();
    void restoreIsOneUndoStep();
    void undoSendsCtrlZToExo();
};

void tst_FormatMemory::pasteKeepsTheTypingFormat_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QRgb>("color");
    QTest::newRow("Arial bold") << "Arial" << true << 0 << qRgb(0, 0, 0);
    QTest::newRow("Times raised red") << "Times New Roman" << false << 80 << qRgb(200, 0, 0);
    QTest::newRow("Courier lowered blue") << "Courier New" << true << -60 << qRgb(0, 10, 100);
}

void tst_FormatMemory::pasteKeepsTheTypingFormat()
{
    QFETCH(QString, font);
    QFETCH(bool, bold);
    QFETCH(int, offset);
    QFETCH(QRgb, color);
    const auto exo = createRichTextControl();
    const auto tamponrtf = createRichTextControl();
    exo->setText("abc");
    exo->setSelStart(3);
    exo->setSelFontName(font);
    exo->setSelBold(bold);
    exo->setSelCharOffset(offset);
    exo->setSelColor(color);
    exo->setSelFontSize(14);
    FormatMemory memory(*exo, *tamponrtf);
    memory.memoriser();
    QCOMPARE(tamponrtf->selection(), (TextRange{0, 1}));
    QCOMPARE(tamponrtf->text().left(1), QByteArray(" "));

    // A symbol in the Symbol font, pasted: the caret now stands after it, in its format.
    exo->setSelRtf(R"({\rtf1{\fonttbl{\f0 Symbol;}}\f0\fs24 a})");
    QVERIFY(exo->selFontName() == QStringLiteral("Symbol"));
    memory.restituer();
    QVERIFY(exo->selFontName() == font);
    QVERIFY(exo->selBold() == bold);
    QVERIFY(exo->selCharOffset() == offset);
    QVERIFY(exo->selColor() == color);
    QVERIFY(exo->selFontSize() == 14.0);
}

void tst_FormatMemory::mixedAttributeComesBackAsTheBlanksDefault()
{
    const auto exo = createRichTextControl();
    const auto tamponrtf = createRichTextControl();
    exo->setText("ab");
    exo->setSelection({0, 1});
    exo->setSelBold(true);
    exo->setSelection({0, 2}); // bold mixed, italic not
    exo->setSelItalic(true);
    FormatMemory memory(*exo, *tamponrtf);
    memory.memoriser();
    QVERIFY(tamponrtf->selBold() == false);
    QVERIFY(tamponrtf->selItalic() == true);
    exo->setSelection({0, 2});
    memory.restituer();
    QVERIFY(exo->selBold() == false); // the blank's default went back
}

void tst_FormatMemory::restoreIsOneUndoStep()
{
    // The restore belongs to the paste before it: one undo takes both away, where it used to
    // take the restore alone and leave the paste.
    const auto exo = createRichTextControl();
    const auto tamponrtf = createRichTextControl();
    exo->setText("abcdef");
    exo->setSelection({0, 6});
    exo->setSelBold(true);
    exo->setSelColor(qRgb(200, 0, 0));
    exo->setSelFontSize(20);
    exo->setSelection({6, 0});
    exo->setSelAlignment(2);
    FormatMemory memory(*exo, *tamponrtf);
    memory.memoriser();
    const QByteArray before = exo->textRtf();
    exo->setSelRtf(R"({\rtf1{\fonttbl{\f0 Symbol;}}\pard\qr\f0\fs24 xy\par})"); // the paste
    memory.restituer();
    QVERIFY(exo->selFontSize() == 20.0);
    exo->undo();
    QCOMPARE(exo->textRtf(), before);
}

void tst_FormatMemory::undoSendsCtrlZToExo()
{
    const auto exo = createRichTextControl();
    QWidget *editor = exo->widget();
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    exo->setText("abc");
    exo->setSelStart(3);
    QTest::keyClicks(editor, "de");
    QCOMPARE(exo->text().trimmed(), QByteArray("abcde"));
    ScriptedKeystrokes keys;
    keys.deliverTo(editor);
    UndoCommand undo(*exo, keys);
    undo.annuleur();
    QCOMPARE(keys.sent(), QStringList{"^z"});
    QCOMPARE(exo->text().trimmed(), QByteArray("abc"));
}

QTEST_MAIN(tst_FormatMemory)
#include "tst_formatmemory.moc"
