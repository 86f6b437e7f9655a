#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedclipboard.h"
#include "symbols/reactionarrows.h"
#include "symbols/symbolhooks.h"

#include <QPainter>
#include <QStandardPaths>
#include <QTest>

namespace {

// The arrows as this test reads the drawing rule: six aliased lines, flat ends, on white.
QImage expectedArrows(int h, int pen, QColor colour)
{
    QImage image(3 * h, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(colour, pen, Qt::SolidLine, Qt::FlatCap));
    const double w = 3.0 * h;
    const QPointF upperTail(0, h / 4.0);
    const QPointF lowerTip(w, 3.0 * h / 4.0);
    painter.drawLine(upperTail, QPointF(w, h / 4.0));
    painter.drawLine(upperTail, QPointF(h / 2.0, 0));
    painter.drawLine(upperTail, QPointF(h / 2.0, h / 2.0));
    painter.drawLine(QPointF(0, 3.0 * h / 4.0), lowerTip);
    painter.drawLine(QPointF(2.5 * h, h), lowerTip);
    painter.drawLine(QPointF(2.5 * h, h / 2.0), lowerTip);
    return image;
}

// Rows of column x that are not white.
int inkedRows(const QImage &image, int x)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    return rows;
}

struct Fixture
{
    EditorState state;
    ScriptedClipboard clipboard;
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    SymbolHooks hooks;
    QStringList calls;
    int sizeBox = 12;
    ReactionArrows arrows{state, *exo, clipboard, hooks};

    Fixture()
    {
        hooks.memoriser = [this] { calls << QStringLiteral("memoriser"); };
        hooks.fontSizeBox = [this] { return sizeBox; };
        hooks.pasteClipboard = [this] {
            calls << QStringLiteral("paste");
            exo->insertPicture(clipboard.image());
        };
    }
};

} // namespace

class tst_ReactionArrows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void picture_data();
    void picture();
    void pastedThroughTheFormatMemoryRoad();
    void mixedColourKeepsThePreviousPen();
};

void tst_ReactionArrows::picture_data()
{
    QTest::addColumn<int>("sizeBox");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("lineWidth");

    QTest::newRow("12 points bold") << 12 << true << qRgb(0, 0, 0) << 2;
    QTest::newRow("20 points plain") << 20 << false << qRgb(0, 0, 0) << 1;
    QTest::newRow("16 points plain blue") << 16 << false << qRgb(0, 0, 255) << 1;
}

void tst_ReactionArrows::picture()
{
    QFETCH(int, sizeBox);
    QFETCH(bool, bold);
    QFETCH(QRgb, colour);
    QFETCH(int, lineWidth);

    Fixture f;
    f.sizeBox = sizeBox;
    f.exo->setSelBold(bold);
    f.exo->setSelColor(colour);
    f.arrows.insert();

    const QImage picture = f.clipboard.image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(3 * sizeBox, sizeBox));
    QCOMPARE(picture, expectedArrows(sizeBox, lineWidth, QColor::fromRgb(colour)));
    // In the middle only the two shafts cross a column: the pen width shows there.
    QCOMPARE(inkedRows(picture, 3 * sizeBox / 2), 2 * lineWidth);
    QCOMPARE(picture.pixel(3 * sizeBox / 2, sizeBox / 4), colour);
}

void tst_ReactionArrows::pastedThroughTheFormatMemoryRoad()
{
    Fixture f;
    f.exo->setSelText("A B");
    f.exo->setSelection({1, 1});
    f.clipboard.setRtf("{\\rtf1 old}", QStringLiteral("old"));
    f.arrows.insert();

    QCOMPARE(f.state.formatRestorePending, int16_t(1));
    QCOMPARE(f.calls, (QStringList{"memoriser", "paste"}));
    QCOMPARE(f.clipboard.log().mid(1), (QStringList{"clear", "setImage"}));
    QVERIFY(!f.clipboard.hasRtf()); // the previous content is lost
    QCOMPARE(f.exo->text(), QByteArray("A B"));
    QCOMPARE(f.exo->objectCount(), 1);
    QCOMPARE(f.exo->objectAt(0).sizePx, QSize(36, 12));
}

void tst_ReactionArrows::mixedColourKeepsThePreviousPen()
{
    Fixture f;
    f.hooks.pasteClipboard = nullptr; // keep the text as it is between the clicks
    f.exo->setSelColor(qRgb(255, 0, 0));
    f.exo->setSelText("r");
    f.exo->setSelColor(qRgb(0, 0, 255));
    f.exo->setSelText("b");
    f.exo->setSelection({0, 2});
    QVERIFY(f.exo->selColor().isMixed());
    f.arrows.insert();
    QCOMPARE(f.arrows.penColour(), qRgb(0, 0, 0)); // black at the first use

    f.exo->setSelection({0, 1});
    f.arrows.insert();
    QCOMPARE(f.arrows.penColour(), qRgb(255, 0, 0));
    f.exo->setSelection({0, 2});
    f.arrows.insert();
    QCOMPARE(f.arrows.penColour(), qRgb(255, 0, 0)); // the previous use's colour
    QCOMPARE(f.clipboard.image().pixel(18, 3), qRgb(255, 0, 0));
}

QTEST_MAIN(tst_ReactionArrows)
#include "tst_reactionarrows.moc"
