#include "richtext/richtextfactory.h"
#include "richtext/viewzoom.h"
#include "testimages.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QWheelEvent>

// The view's magnification: the text looks larger or smaller, and stays what it is.
class tst_ViewZoom : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_control = createRichTextControl();
        m_edit = qobject_cast<QTextEdit *>(m_control->widget());
        QVERIFY(m_edit);
        m_edit->resize(1000, 500);
        m_edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_edit));
    }
    void cleanup() { m_control.reset(); }

    void steps_data();
    void steps();
    void controlClampsWhatItIsGiven();
    void textAndSavedFileStayTheSame();
    void hitTestsLandOnTheCharacter_data();
    void hitTestsLandOnTheCharacter();
    void caretAndPicturesGrowWithTheText();
    void controlWheelZooms();

private:
    void typeLargeMonospace(const QByteArray &text);
    QRect caretAt(int position) const;

    std::unique_ptr<RichTextControl> m_control;
    QTextEdit *m_edit = nullptr;
};

void tst_ViewZoom::steps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("expected");
    QTest::newRow("one step up") << 100 << 1 << 110;
    QTest::newRow("one step down") << 100 << -1 << 90;
    QTest::newRow("stops at 400 %") << 390 << 3 << 400;
    QTest::newRow("stops at 50 %") << 60 << -5 << 50;
    QTest::newRow("between steps goes to the nearest first") << 104 << 1 << 110;
    QTest::newRow("far below the scale") << -300 << 0 << 50;
    QTest::newRow("far above the scale") << 100000 << 0 << 400;
}

void tst_ViewZoom::steps()
{
    QFETCH(int, from);
    QFETCH(int, steps);
    QFETCH(int, expected);
    QCOMPARE(ViewZoom::stepped(from, steps), expected);
}

void tst_ViewZoom::controlClampsWhatItIsGiven()
{
    QSignalSpy changed(m_control.get(), &RichTextControl::zoomChanged);
    m_control->setZoom(1000);
    QCOMPARE(m_control->zoom(), 400);
    m_control->setZoom(400);
    QCOMPARE(changed.size(), 1); // no news when nothing changed
    m_control->setZoom(10);
    QCOMPARE(m_control->zoom(), 50);
    QCOMPARE(changed.last().at(0).toInt(), 50);
}

void tst_ViewZoom::textAndSavedFileStayTheSame()
{
    m_control->setTextRtf(
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\pard\li570\ri360\tx1134\tx2268\f0\fs28 Na{\sub +} )"
        R"(\tab Cl{\super -}\par})");
    m_control->setSelection({0, 0});
    m_control->insertPicture(QImage::fromData(pngBytes(40, 20)));
    QTemporaryDir folder;
    const QString before = folder.filePath(QStringLiteral("before.rtf"));
    QVERIFY(m_control->saveFile(before));
    const QByteArray rtf = m_control->textRtf();
    const QByteArray text = m_control->text();
    m_control->setSelection({0, 3});
    const Mixed<double> indent = m_control->selIndent();
    const Mixed<double> rightIndent = m_control->selRightIndent();
    const Mixed<double> tab = m_control->selTabs(1);
    const double width = m_control->rightMargin();

    for (int zoom : {50, 400, 170}) {
        m_control->setZoom(zoom);
        QCOMPARE(m_control->zoom(), zoom);
        QCOMPARE(m_control->text(), text);
        QCOMPARE(m_control->textRtf(), rtf);
        QVERIFY(m_control->selIndent() == indent);
        QVERIFY(m_control->selRightIndent() == rightIndent);
        QVERIFY(m_control->selTabs(1) == tab);
        QCOMPARE(m_control->rightMargin(), width);
        const QString after = folder.filePath(QStringLiteral("after%1.rtf").arg(zoom));
        QVERIFY(m_control->saveFile(after));
        QFile a(before), b(after);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }
}

void tst_ViewZoom::typeLargeMonospace(const QByteArray &text)
{
    m_control->setText(text);
    m_control->setSelection({0, m_control->textLength()});
    m_control->setSelFontName(QStringLiteral("DejaVu Sans Mono"));
    m_control->setSelFontSize(30);
    m_control->setSelection({0, 0});
}

QRect tst_ViewZoom::caretAt(int position) const
{
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(position);
    return m_edit->cursorRect(cursor);
}

void tst_ViewZoom::hitTestsLandOnTheCharacter_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("character");
    for (int zoom : {50, 100, 400})
        for (int character : {0, 2, 5})
            QTest::addRow("%d %%, character %d", zoom, character) << zoom << character;
}

void tst_ViewZoom::hitTestsLandOnTheCharacter()
{
    QFETCH(int, zoom);
    QFETCH(int, character);
    typeLargeMonospace("abcdef");
    // Where the character lies at 100 %, taken to the zoom: a click a third into it puts the
    // caret before it, whatever rounding the larger or smaller fonts bring.
    const QRect left = caretAt(character);
    const QRect right = caretAt(character + 1);
    const qreal factor = zoom / 100.0;
    const QPointF unzoomed(left.x() + (right.x() - left.x()) / 3.0, left.center().y());
    m_control->setZoom(zoom);
    QCOMPARE(m_edit->horizontalScrollBar()->value(), 0);
    QCOMPARE(m_edit->verticalScrollBar()->value(), 0);
    const QPoint click = (unzoomed * factor).toPoint();
    QTest::mouseClick(m_edit->viewport(), Qt::LeftButton, Qt::NoModifier, click);
    QCOMPARE(m_control->selStart(), character);
    QCOMPARE(m_edit->cursorForPosition(click).position(), character);
}

void tst_ViewZoom::caretAndPicturesGrowWithTheText()
{
    typeLargeMonospace("ab");
    m_control->setSelection({1, 0});
    m_control->insertPicture(QImage::fromData(pngBytes(60, 10)));
    // a [picture] b: positions 1 and 2 stand on either side of the picture.
    const int pictureAt100 = caretAt(2).x() - caretAt(1).x();
    const int letterAt100 = caretAt(1).x() - caretAt(0).x();
    QCOMPARE(pictureAt100, 60);
    for (int zoom : {50, 200, 400}) {
        m_control->setZoom(zoom);
        const qreal factor = zoom / 100.0;
        const int picture = caretAt(2).x() - caretAt(1).x();
        QVERIFY2(qAbs(picture - 60 * factor) <= 1, qPrintable(QString::number(picture)));
        const int letter = caretAt(1).x() - caretAt(0).x();
        QVERIFY2(qAbs(letter - letterAt100 * factor) <= 1 + factor, qPrintable(QString::number(letter)));
        QVERIFY(caretAt(0).height() > 0);
    }
}

void tst_ViewZoom::controlWheelZooms()
{
    QSignalSpy changed(m_control.get(), &RichTextControl::zoomChanged);
    const auto wheel = [this](int delta, Qt::KeyboardModifiers modifiers) {
        const QPointF at(50, 50);
        QWheelEvent event(at, m_edit->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_edit->viewport(), &event);
    };
    wheel(120, Qt::ControlModifier);
    QCOMPARE(m_control->zoom(), 110);
    wheel(60, Qt::ControlModifier); // half a notch from a touchpad: not a step yet
    QCOMPARE(m_control->zoom(), 110);
    wheel(60, Qt::ControlModifier);
    QCOMPARE(m_control->zoom(), 120);
    wheel(-240, Qt::ControlModifier);
    QCOMPARE(m_control->zoom(), 100);
    wheel(120, Qt::NoModifier); // scrolls, does not zoom
    QCOMPARE(m_control->zoom(), 100);
    QCOMPARE(changed.size(), 3);
}

QTEST_MAIN(tst_ViewZoom)
#include "tst_viewzoom.moc"
