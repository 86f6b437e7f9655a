#include "richtext/richtextfactory.h"

#include <QAccessible>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>

// What a screen reader or a magnifier reads of the text view, at every zoom.
class tst_RichTextAccessible : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup() { m_control.reset(); }

    void charactersFollowTheZoom_data();
    void charactersFollowTheZoom();
    void caretAtTheEndFollowsTheZoom();
    void nameRoleAndTextStay();
    void equationIsReadAsItsLinearText();
    void protectedTextRefusesEdits_data();
    void protectedTextRefusesEdits();

private:
    QAccessibleTextInterface *text() const;
    QRect inViewport(const QRect &global) const;

    std::unique_ptr<RichTextControl> m_control;
    QTextEdit *m_edit = nullptr;
};

void tst_RichTextAccessible::init()
{
    m_control = createRichTextControl();
    m_edit = qobject_cast<QTextEdit *>(m_control->widget());
    QVERIFY(m_edit);
    m_edit->setAccessibleName(QStringLiteral("Texte"));
    m_edit->resize(1000, 500);
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));
    m_control->setText("abcdef");
    m_control->setSelection({0, m_control->textLength()});
    m_control->setSelFontName(QStringLiteral("DejaVu Sans Mono"));
    m_control->setSelFontSize(30);
    m_control->setSelection({0, 0});
}

QAccessibleTextInterface *tst_RichTextAccessible::text() const
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(m_edit);
    return accessible ? accessible->textInterface() : nullptr;
}

QRect tst_RichTextAccessible::inViewport(const QRect &global) const
{
    return global.translated(m_edit->viewport()->mapFromGlobal(QPoint(0, 0)));
}

void tst_RichTextAccessible::charactersFollowTheZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("character");
    for (int zoom : {50, 100, 200, 400})
        for (int character : {0, 3, 5})
            QTest::addRow("%d %%, character %d", zoom, character) << zoom << character;
}

void tst_RichTextAccessible::charactersFollowTheZoom()
{
    QFETCH(int, zoom);
    QFETCH(int, character);
    QAccessibleTextInterface *letters = text();
    QVERIFY(letters);
    const QRect unzoomed = inViewport(letters->characterRect(character));
    QVERIFY(unzoomed.width() > 10);
    m_control->setZoom(zoom);
    const qreal factor = zoom / 100.0;
    const QRect rect = inViewport(letters->characterRect(character));
    // Whole pixels at either size and a font hinted at each: one pixel, and one per zoom step.
    const qreal slack = 1 + factor;
    QVERIFY2(qAbs(rect.width() - unzoomed.width() * factor) <= slack,
             qPrintable(QString::number(rect.width())));
    QVERIFY2(qAbs(rect.height() - unzoomed.height() * factor) <= slack,
             qPrintable(QString::number(rect.height())));
    QVERIFY2(qAbs(rect.left() - unzoomed.left() * factor) <= slack * (character + 1),
             qPrintable(QString::number(rect.left())));
    // Mouse review: anywhere on the drawn letter names that letter, its right half too.
    const QPoint middle = m_edit->viewport()->mapToGlobal(rect.center());
    for (qreal across : {0.25, 0.75}) {
        const QPoint at(
            m_edit->viewport()->mapToGlobal(QPoint(rect.left() + int(rect.width() * across), 0)).x(),
            middle.y());
        QCOMPARE(letters->offsetAtPoint(at), character);
    }
}

void tst_RichTextAccessible::caretAtTheEndFollowsTheZoom()
{
    QAccessibleTextInterface *letters = text();
    QVERIFY(letters);
    m_control->setSelection({6, 0});
    QCOMPARE(letters->cursorPosition(), 6);
    const QRect unzoomed = inViewport(letters->characterRect(letters->cursorPosition()));
    QVERIFY(unzoomed.height() > 20);
    m_control->setZoom(200);
    const QRect caret = inViewport(letters->characterRect(letters->cursorPosition()));
    QVERIFY2(qAbs(caret.height() - 2 * unzoomed.height()) <= 3, qPrintable(QString::number(caret.height())));
    QVERIFY2(qAbs(caret.left() - 2 * unzoomed.left()) <= 6, qPrintable(QString::number(caret.left())));
    // Past the letters, no letter.
    QCOMPARE(letters->offsetAtPoint(m_edit->viewport()->mapToGlobal(caret.center() + QPoint(200, 0))), -1);
}

void tst_RichTextAccessible::nameRoleAndTextStay()
{
    m_control->setZoom(200);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(m_edit);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Texte"));
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->state().editable);
    QVERIFY(accessible->state().multiLine);
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("abcdef"));
    QAccessibleTextInterface *letters = accessible->textInterface();
    QCOMPARE(letters->characterCount(), 6);
    QCOMPARE(letters->text(1, 3), QStringLiteral("bc"));
    QVERIFY(accessible->editableTextInterface());
}

void tst_RichTextAccessible::equationIsReadAsItsLinearText()
{
    m_control->setSelStart(3);
    m_control->insertEquation(QStringLiteral("x^2"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(m_edit);
    QVERIFY(accessible);
    QAccessibleTextInterface *letters = accessible->textInterface();
    QCOMPARE(letters->characterCount(), 7); // one position, as for the caret
    QCOMPARE(letters->text(3, 4), QStringLiteral("x^2"));
    QCOMPARE(letters->text(0, 7), QStringLiteral("abcx^2def"));
}

void tst_RichTextAccessible::protectedTextRefusesEdits_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("insertion inside the protected letters") << 3 << 3 << QByteArray("abcdef");
    QTest::newRow("deletion across them") << 1 << 3 << QByteArray("abcdef");
    QTest::newRow("replacement beside them") << 4 << 6 << QByteArray("abcdX");
}

void tst_RichTextAccessible::protectedTextRefusesEdits()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QByteArray, expected);
    m_control->setSelection({2, 2});
    m_control->setSelProtected(true); // c and d
    m_control->setSelection({0, 0});
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(m_edit);
    QVERIFY(accessible);
    accessible->editableTextInterface()->replaceText(start, end, QStringLiteral("X"));
    QCOMPARE(m_control->text(), expected);
}

QTEST_MAIN(tst_RichTextAccessible)
#include "tst_richtextaccessible.moc"
