#include "recovery/slicedcopy.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "rtf/rtfwriter.h"

#include <QImage>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

// Texts whose pieces must join back exactly: runs cut in two, paragraphs cut before and after
// their mark, an empty last paragraph, symbol bytes, pictures.
QByteArray sample(const QString &name)
{
    if (name == QLatin1String("empty"))
        return {};
    if (name == QLatin1String("formats"))
        return R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}{\colortbl;\red255\green0\blue0;})"
               R"(\pard\qc\li300 Le {\b gras} et {\i\cf1 l'italique rouge}, H{\dn4 2}O et {\f1 abg}.\par)"
               R"(\pard\tx1200\tab Second paragraphe, plus long que les autres pour couper ses runs.\par)"
               R"(\pard{\pntext\'B7\tab}{\*\pn\pnlvlblt}\fi-200\li400 une puce\par})";
    if (name == QLatin1String("empty last paragraph"))
        return R"({\rtf1\ansi\pard un\par\pard deux\par\pard\par})";
    if (name == QLatin1String("one long paragraph"))
        return "{\\rtf1\\ansi " + QByteArray("mot {\\b gras} ").repeated(400) + "}";
    return {};
}

} // namespace

class tst_SlicedCopy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void piecesJoinIntoTheWholeText_data();
    void piecesJoinIntoTheWholeText();
    void aPictureSurvivesTheCut();
    void piecesClampToTheText();
    void aChangeUnderwayStartsOver();
    void aTextThatNeverStopsChangingIsTakenWhole();
};

void tst_SlicedCopy::piecesJoinIntoTheWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("piece");
    for (const char *text : {"empty", "formats", "empty last paragraph", "one long paragraph"}) {
        for (const int piece : {1, 3, 7, 64, 100000})
            QTest::addRow("%s, pieces of %d", text, piece) << QString::fromLatin1(text) << piece;
    }
}

void tst_SlicedCopy::piecesJoinIntoTheWholeText()
{
    QFETCH(QString, text);
    QFETCH(int, piece);
    std::unique_ptr<RichTextControl> control = createRichTextControl();
    control->setTextRtf(sample(text));
    SlicedCopy copy(*control);
    copy.setPieceSize(piece);
    int steps = 0;
    while (!copy.step())
        QVERIFY(++steps < 100000);
    QCOMPARE(RtfWriter::write(SlicedCopy::join(copy.take())), control->textRtf());
}

void tst_SlicedCopy::aPictureSurvivesTheCut()
{
    std::unique_ptr<RichTextControl> control = createRichTextControl();
    control->setText("avant  apres");
    control->setSelection({6, 0});
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    control->insertPicture(picture);
    SlicedCopy copy(*control);
    copy.setPieceSize(2);
    while (!copy.step()) {
    }
    QCOMPARE(RtfWriter::write(SlicedCopy::join(copy.take())), control->textRtf());
}

void tst_SlicedCopy::piecesClampToTheText()
{
    std::unique_ptr<RichTextControl> control = createRichTextControl();
    control->setTextRtf(sample(QStringLiteral("formats")));
    const int length = control->textLength();
    QCOMPARE(RtfWriter::write(control->textPiece(-5, length + 99)), control->textRtf());
    QCOMPARE(RtfWriter::write(control->textPiece(-5, 4)), RtfWriter::write(control->textPiece(0, 4)));
    QCOMPARE(RtfWriter::write(control->textPiece(9, 4)), RtfWriter::write(control->textPiece(9, 9)));
    for (const int at : {0, 9, length}) {
        const RichDocument empty = control->textPiece(at, at);
        QCOMPARE(empty.paragraphs.size(), 1);
        QVERIFY(empty.paragraphs.first().runs.isEmpty());
        QVERIFY(!empty.endsWithParagraphMark);
    }
}

void tst_SlicedCopy::aChangeUnderwayStartsOver()
{
    std::unique_ptr<RichTextControl> control = createRichTextControl();
    control->setTextRtf(sample(QStringLiteral("formats")));
    SlicedCopy copy(*control);
    copy.setPieceSize(10);
    QVERIFY(!copy.step());
    QVERIFY(!copy.step());
    // Typing at the start shifts every position: pieces from before would leave a hole.
    control->setSelection({0, 0});
    control->setSelText("Ajout. ");
    while (!copy.step()) {
    }
    QCOMPARE(copy.restarts(), 1);
    QCOMPARE(RtfWriter::write(SlicedCopy::join(copy.take())), control->textRtf());
}

void tst_SlicedCopy::aTextThatNeverStopsChangingIsTakenWhole()
{
    std::unique_ptr<RichTextControl> control = createRichTextControl();
    control->setTextRtf(sample(QStringLiteral("one long paragraph")));
    SlicedCopy copy(*control);
    copy.setPieceSize(16);
    for (int i = 0; i < SlicedCopy::wholeAfterRestarts; ++i) {
        QVERIFY(!copy.step());
        control->setSelection({0, 0});
        control->setSelText("x");
    }
    QVERIFY(copy.step());
    QCOMPARE(RtfWriter::write(SlicedCopy::join(copy.take())), control->textRtf());
}

QTEST_MAIN(tst_SlicedCopy)
#include "tst_slicedcopy.moc"
