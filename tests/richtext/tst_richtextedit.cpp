#include "richtext/richtextfactory.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>

// The widget as the teacher drives it: keys, clipboard and mouse.
class tst_RichTextEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_control = createRichTextControl();
        m_edit = qobject_cast<QTextEdit *>(m_control->widget());
        QVERIFY(m_edit);
        m_edit->resize(400, 200);
        m_edit->show();
        m_edit->activateWindow();
        m_edit->setFocus();
    }
    void cleanup() { m_control.reset(); }

    void protectedTextRefusesEdits_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("keys"); // typed text, or a key name below
        QTest::addColumn<QByteArray>("expected");
        // "ab[PROT]cd": PROT is protected, at positions 2 to 5.
        QTest::newRow("typing inside a protected run") << 4 << 0 << "x" << QByteArray("abPROTcd");
        QTest::newRow("typing over a protected selection") << 1 << 3 << "x" << QByteArray("abPROTcd");
        QTest::newRow("Backspace after a protected character")
            << 6 << 0 << "Backspace" << QByteArray("abPROTcd");
        QTest::newRow("Delete before a protected character") << 2 << 0 << "Delete" << QByteArray("abPROTcd");
        QTest::newRow("Delete of a selection reaching into it")
            << 5 << 2 << "Delete" << QByteArray("abPROTcd");
        QTest::newRow("Return inside a protected run") << 3 << 0 << "Return" << QByteArray("abPROTcd");
        QTest::newRow("cut of a protected selection") << 2 << 2 << "Cut" << QByteArray("abPROTcd");
        QTest::newRow("typing before the run is free") << 2 << 0 << "x" << QByteArray("abxPROTcd");
        QTest::newRow("typing after the run is free") << 6 << 0 << "x" << QByteArray("abPROTxcd");
        QTest::newRow("Backspace before the run is free") << 2 << 0 << "Backspace" << QByteArray("aPROTcd");
        QTest::newRow("Delete after the run is free") << 6 << 0 << "Delete" << QByteArray("abPROTd");
    }
    void protectedTextRefusesEdits()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, keys);
        QFETCH(QByteArray, expected);
        m_control->setText("abPROTcd");
        m_control->setSelection({2, 4});
        m_control->setSelProtected(true);
        m_control->setSelection({start, length});
        if (keys == QLatin1String("Backspace"))
            QTest::keyClick(m_edit, Qt::Key_Backspace);
        else if (keys == QLatin1String("Delete"))
            QTest::keyClick(m_edit, Qt::Key_Delete);
        else if (keys == QLatin1String("Return"))
            QTest::keyClick(m_edit, Qt::Key_Return);
        else if (keys == QLatin1String("Cut"))
            QTest::keySequence(m_edit, QKeySequence::Cut);
        else
            QTest::keyClicks(m_edit, keys);
        QCOMPARE(m_control->text(), expected);
    }

    void textTypedAfterAProtectedRunIsFree()
    {
        m_control->setText("PROT");
        m_control->setSelection({0, 4});
        m_control->setSelProtected(true);
        m_control->setSelStart(4);
        QVERIFY(m_control->selProtected() == false);
        QTest::keyClicks(m_edit, "ok");
        QCOMPARE(m_control->text(), QByteArray("PROTok"));
        m_control->setSelection({4, 2});
        QVERIFY(m_control->selProtected() == false);
        // ... and can be deleted again.
        m_control->setSelStart(6);
        QTest::keyClick(m_edit, Qt::Key_Backspace);
        QCOMPARE(m_control->text(), QByteArray("PROTo"));
    }

    void pasteIntoProtectedTextIsRefused()
    {
        m_control->setText("abPROTcd");
        m_control->setSelection({2, 4});
        m_control->setSelProtected(true);
        QApplication::clipboard()->setText(QStringLiteral("XY"));
        m_control->setSelStart(3);
        QTest::keySequence(m_edit, QKeySequence::Paste);
        QCOMPARE(m_control->text(), QByteArray("abPROTcd"));
        m_control->setSelStart(1);
        QTest::keySequence(m_edit, QKeySequence::Paste);
        QCOMPARE(m_control->text(), QByteArray("aXYbPROTcd"));
    }

    void contractCallsBypassProtection()
    {
        m_control->setText("PROT");
        m_control->setSelection({0, 4});
        m_control->setSelProtected(true);
        m_control->setSelection({1, 2});
        m_control->setSelText("x");
        QCOMPARE(m_control->text(), QByteArray("PxT"));
    }

    void consumedKeysAreIgnored()
    {
        m_control->setText("ab");
        m_control->setSelStart(1);
        int down = 0;
        connect(m_control.get(), &RichTextControl::keyDown, this, [&down](KeyStroke &key) {
            ++down;
            if (key.key == Qt::Key_Tab)
                key.consumed = true;
        });
        QTest::keyClick(m_edit, Qt::Key_Tab);
        QCOMPARE(m_control->text(), QByteArray("ab"));
        QTest::keyClicks(m_edit, "c");
        QCOMPARE(m_control->text(), QByteArray("acb"));
        QCOMPARE(down, 2);
    }

    void keyPressSeesCharacterKeysOnly()
    {
        m_control->setText("ab");
        m_control->setSelStart(2);
        QStringList typed;
        connect(m_control.get(), &RichTextControl::keyPress, this, [&](KeyStroke &key) {
            typed << key.text;
            if (key.text == QLatin1String("z"))
                key.consumed = true;
        });
        QTest::keyClick(m_edit, Qt::Key_Left);
        QTest::keyClicks(m_edit, "xz");
        QCOMPARE(typed, QStringList({"x", "z"}));
        QCOMPARE(m_control->text(), QByteArray("axb"));
    }

    void ctrlZUndoesTheLastEdit()
    {
        m_control->setText("ab");
        m_control->setSelection({0, 2});
        m_control->setSelBold(true);
        QTest::keySequence(m_edit, QKeySequence::Undo);
        m_control->setSelection({0, 2});
        QVERIFY(m_control->selBold() == false);
        QVERIFY(!m_control->canUndo()); // never undoes the loaded text
        QTest::keySequence(m_edit, QKeySequence::Undo);
        QCOMPARE(m_control->text(), QByteArray("ab"));
    }

    // Other programs paste a copied equation as one (Office Math in the RTF), or as its text.
    void copiedEquationIsOfficeMathAndLinearText()
    {
        m_control->setText("v =  ok");
        m_control->setSelStart(4);
        m_control->insertEquation(QStringLiteral("(Delta x)/(Delta t)"));
        m_control->setSelection({0, 5});
        QTest::keySequence(m_edit, QKeySequence::Copy);
        const QMimeData *data = QApplication::clipboard()->mimeData();
        const QByteArray rtf = data->data("text/rtf");
        QVERIFY2(rtf.contains("{\\mmath{\\*\\vgeq") && rtf.contains("{\\*\\moMath{") && rtf.contains("{\\mf"),
                 rtf.left(400).constData());
        QCOMPARE(data->text(), QStringLiteral("v = (Delta x)/(Delta t)"));

        auto other = createRichTextControl();
        auto *edit = qobject_cast<QTextEdit *>(other->widget());
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(other->equationAt(4), QStringLiteral("(Delta x)/(Delta t)"));
    }

    void copyPutsRtfAndTextNeverHtml()
    {
        m_control->setText("gras normal");
        m_control->setSelection({0, 4});
        m_control->setSelBold(true);
        m_control->setSelection({0, 6});
        QTest::keySequence(m_edit, QKeySequence::Copy);
        const QMimeData *data = QApplication::clipboard()->mimeData();
        QVERIFY(data->data("text/rtf").startsWith("{\\rtf"));
        QVERIFY(data->data("application/rtf").startsWith("{\\rtf"));
        QCOMPARE(data->text(), QStringLiteral("gras n"));
        QVERIFY(!data->hasHtml());

        auto other = createRichTextControl();
        auto *edit = qobject_cast<QTextEdit *>(other->widget());
        other->setText("[]");
        other->setSelStart(1);
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(other->text(), QByteArray("[gras n]"));
        other->setSelection({1, 4});
        QVERIFY(other->selBold() == true);
        other->setSelection({5, 2});
        QVERIFY(other->selBold() == false);
    }

    void shiftInsertPastesAPictureAsOnePosition()
    {
        m_control->setText("ab");
        m_control->setSelStart(1);
        QImage image(16, 9, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QApplication::clipboard()->clear();
        QApplication::clipboard()->setImage(image);
        QTest::keyClick(m_edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(m_control->text(), QByteArray("a b"));
        QCOMPARE(m_control->objectCount(), 1);
        QCOMPARE(m_control->objectAt(0).sizePx, QSize(16, 9));
        QCOMPARE(m_control->selStart(), 2);
    }

    void htmlOnTheClipboardIsPastedAsText()
    {
        auto *data = new QMimeData;
        data->setHtml(QStringLiteral("<b>gras</b>"));
        data->setText(QStringLiteral("gras"));
        QApplication::clipboard()->setMimeData(data);
        m_control->setText("");
        QTest::keySequence(m_edit, QKeySequence::Paste);
        QCOMPARE(m_control->text(), QByteArray("gras"));
        m_control->setSelection({0, 4});
        QVERIFY(m_control->selBold() == false);
    }

    void typingInASymbolFontKeepsTheLetter()
    {
        m_control->setText("");
        m_control->setSelFontName("Symbol");
        QTest::keyClicks(m_edit, "ab");
        QCOMPARE(m_control->text(), QByteArray("ab"));
        QCOMPARE(m_edit->toPlainText(), QString::fromUtf8("\u03b1\u03b2")); // what is shown
        m_control->setSelection({0, 2});
        m_control->setSelFontName("Arial");
        QCOMPARE(m_edit->toPlainText(), QStringLiteral("ab"));
    }

    void mouseAndFocusSignals()
    {
        QSignalSpy down(m_control.get(), &RichTextControl::mouseDown);
        QSignalSpy clicked(m_control.get(), &RichTextControl::clicked);
        m_control->setText("abc");
        QTest::mouseClick(m_edit->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(down.count(), 1);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(down.first().first().value<MouseStroke>().button, int(Qt::LeftButton));
    }

private:
    std::unique_ptr<RichTextControl> m_control;
    QTextEdit *m_edit = nullptr;
};

QTEST_MAIN(tst_RichTextEdit)
#include "tst_richtextedit.moc"
