#include "richtext/documentconverter.h"
#include "richtext/editorlayout.h"
#include "richtext/richtextdocument.h"
#include "rtf/rtfreader.h"
#include "testimages.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

// The editor's layout against Qt's own: the same text must come out with the same geometry and
// the same pixels, after loading and after any sequence of edits.
class tst_EditorLayout : public QObject
{
    Q_OBJECT
private:
    struct Pair
    {
        RichTextDocument qt;     // Qt's layout, the reference
        RichTextDocument editor; // ours
        EditorLayout *layout = nullptr;

        explicit Pair(const QByteArray &rtf, qreal width)
        {
            editor.prepareLayout(RichTextDocument::Medium::Screen);
            qt.prepareLayout(RichTextDocument::Medium::Paper);
            layout = qobject_cast<EditorLayout *>(editor.documentLayout());
            const RtfReadResult read = RtfReader::read(rtf);
            for (RichTextDocument *d : {&qt, &editor}) {
                d->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
                QTextCursor c(d);
                DocumentConverter::insert(c, read.document, DocumentConverter::Mode::WholeDocument);
                d->setPageSize(QSizeF(width, -1));
            }
        }
        void finish() { layout->finishTypesetting(); }
    };

    static QByteArray pngPicture(int width, int height)
    {
        const QByteArray png = pngBytes(width, height, Qt::darkCyan);
        return "{\\pict\\pngblip\\picw" + QByteArray::number(width) + "\\pich" + QByteArray::number(height) +
               " " + png.toHex() + "}";
    }

    static QImage render(QTextDocument &document, const QSize &size, int cursor, int selectionStart,
                         int selectionEnd)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(QPointF(0, 0), size);
        context.cursorPosition = cursor;
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = QTextCursor(&document);
        selection.cursor.setPosition(selectionStart);
        selection.cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
        selection.format.setBackground(Qt::blue);
        selection.format.setForeground(Qt::white);
        context.selections << selection;
        document.documentLayout()->draw(&painter, context);
        return image;
    }

    static void compareGeometry(Pair &pair)
    {
        QCOMPARE(pair.editor.blockCount(), pair.qt.blockCount());
        QCOMPARE(pair.editor.documentLayout()->documentSize(), pair.qt.documentLayout()->documentSize());
        for (QTextBlock a = pair.qt.begin(), b = pair.editor.begin(); a.isValid();
             a = a.next(), b = b.next()) {
            const QRectF expected = pair.qt.documentLayout()->blockBoundingRect(a);
            const QRectF actual = pair.editor.documentLayout()->blockBoundingRect(b);
            if (actual != expected)
                QFAIL(qPrintable(QStringLiteral("block %1: %2,%3 %4x%5 instead of %6,%7 %8x%9")
                                     .arg(a.blockNumber())
                                     .arg(actual.x())
                                     .arg(actual.y())
                                     .arg(actual.width())
                                     .arg(actual.height())
                                     .arg(expected.x())
                                     .arg(expected.y())
                                     .arg(expected.width())
                                     .arg(expected.height())));
            QCOMPARE(b.layout()->lineCount(), a.layout()->lineCount());
        }
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void looksLikeQtLayout_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<qreal>("width");
        const QByteArray words =
            "Le dioxyg\\'e8ne O{\\dn6 2} et l'ion sulfate SO{\\dn6 4}{\\up6 2-} r\\'e9agissent; ";
        QTest::newRow("paragraphs that wrap")
            << words + words + words + "\\par " + words + "\\par\\par fin" << 300.0;
        QTest::newRow("alignments") << "\\qc centr\\'e9 " + words + "\\par\\qr \\`a droite\\par\\qj " +
                                           words + words + "\\par\\ql gauche"
                                    << 280.0;
        QTest::newRow("indents and first lines")
            << "\\li720\\ri360\\fi-360 " + words + words + "\\par\\pard\\fi720 " + words + words << 320.0;
        QTest::newRow("tab stops") << QByteArray("\\tx1440\\tqr\\tx4320 a\\tab b\\tab c\\par\\pard x\\tab y")
                                   << 400.0;
        QTest::newRow("bullets") << "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-360\\li360 " +
                                        words + "\\par{\\pntext\\'b7\\tab}deux\\par\\pard apr\\'e8s"
                                 << 300.0;
        QTest::newRow("sizes and offsets")
            << QByteArray("\\fs48 grand {\\fs16 petit} {\\up20 haut} {\\dn20 bas}\\par\\fs20 normal")
            << 300.0;
        QTest::newRow("pictures, one wider than the page")
            << "avant " + pngPicture(40, 30) + " apr\\'e8s\\par " + pngPicture(500, 20) + "\\par fin"
            << 250.0;
        QTest::newRow("Greek and a character beyond the first plane")
            << QByteArray("{\\f1 abg} x\\u-10187?\\u-8150? y") << 300.0;
        QTest::newRow("empty paragraphs") << QByteArray("\\par\\par\\par x\\par") << 200.0;
    }

    void looksLikeQtLayout()
    {
        QFETCH(QByteArray, body);
        QFETCH(qreal, width);
        const QByteArray rtf =
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\f0\\fs20 " + body + "}";
        Pair pair(rtf, width);
        pair.finish();
        compareGeometry(pair);

        const QSize size(int(width), int(pair.qt.documentLayout()->documentSize().height()) + 10);
        const int end = pair.qt.characterCount() - 1;
        for (const auto &[cursor, from, to] : {std::tuple{0, 3, 40}, std::tuple{end, 0, end},
                                               std::tuple{qMin(7, end), qMin(7, end), qMin(7, end)}}) {
            const QImage expected = render(pair.qt, size, cursor, from, qMin(to, end));
            const QImage actual = render(pair.editor, size, cursor, from, qMin(to, end));
            QVERIFY2(actual == expected, qPrintable(QStringLiteral("pixels differ, caret %1").arg(cursor)));
        }

        for (int y = -5; y < size.height() + 20; y += 7) {
            for (int x = -5; x < size.width() + 20; x += 13) {
                const QPointF p(x, y);
                QCOMPARE(pair.editor.documentLayout()->hitTest(p, Qt::FuzzyHit),
                         pair.qt.documentLayout()->hitTest(p, Qt::FuzzyHit));
                QCOMPARE(pair.editor.documentLayout()->hitTest(p, Qt::ExactHit),
                         pair.qt.documentLayout()->hitTest(p, Qt::ExactHit));
            }
        }
    }

    void editsKeepTheGeometry_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("seed 1") << 1u;
        QTest::newRow("seed 7") << 7u;
        QTest::newRow("seed 42") << 42u;
    }

    void editsKeepTheGeometry()
    {
        // Random edits of every kind, the same on both documents; after each, the editor's
        // layout must agree with a layout that saw the edit as Qt's does.
        QFETCH(quint32, seed);
        QByteArray body;
        for (int i = 0; i < 40; ++i)
            body += "Paragraphe " + QByteArray::number(i) +
                    (i % 3 ? " assez long pour passer \\'e0 la ligne" : "") + "\\par ";
        Pair pair("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + body + "}", 260);
        pair.finish();
        QRandomGenerator random(seed);
        for (int step = 0; step < 80; ++step) {
            const int length = pair.qt.characterCount() - 1;
            const int at = random.bounded(length + 1);
            const int span = qMin(length - at, int(random.bounded(30)));
            const int kind = random.bounded(7);
            for (RichTextDocument *d : {&pair.qt, &pair.editor}) {
                QTextCursor c(d);
                c.setPosition(at);
                c.setPosition(at + span, QTextCursor::KeepAnchor);
                switch (kind) {
                case 0:
                    c.insertText(QStringLiteral("mot "));
                    break;
                case 1:
                    c.insertBlock();
                    break;
                case 2:
                    c.removeSelectedText();
                    break;
                case 3: {
                    QTextCharFormat f;
                    f.setFontPointSize(8 + (step % 4) * 6);
                    c.mergeCharFormat(f);
                    break;
                }
                case 4: {
                    QTextBlockFormat f;
                    f.setAlignment(step % 2 ? Qt::AlignRight : Qt::AlignHCenter);
                    f.setLeftMargin(step % 5 * 7);
                    f.setBottomMargin(step % 3 * 4);
                    c.mergeBlockFormat(f);
                    break;
                }
                case 5:
                    c.insertText(QStringLiteral("un\nde\nux"));
                    break;
                default:
                    c.beginEditBlock();
                    c.insertText(QStringLiteral("a"));
                    c.insertBlock();
                    c.insertText(QStringLiteral("b"));
                    c.endEditBlock();
                    break;
                }
            }
            compareGeometry(pair);
            if (QTest::currentTestFailed())
                QFAIL(
                    qPrintable(QStringLiteral("after step %1 (kind %2 at %3)").arg(step).arg(kind).arg(at)));
        }
    }

    void typesetsWhatIsAskedFirst()
    {
        QByteArray body;
        for (int i = 0; i < 3000; ++i)
            body += "Ligne " + QByteArray::number(i) + "\\par ";
        Pair pair("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + body + "}", 300);
        QVERIFY(!pair.layout->isComplete());

        // A page at the top typesets about a page, not the text.
        QImage page(300, 200, QImage::Format_RGB32);
        QPainter painter(&page);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, 0, 300, 200);
        pair.layout->draw(&painter, context);
        QVERIFY(!pair.layout->isComplete());
        QVERIFY(pair.layout->documentSize().height() < 1000);

        // The last paragraph's rectangle (a caret sent to the end) typesets all of it, in place.
        const QRectF last = pair.layout->blockBoundingRect(pair.editor.lastBlock());
        QVERIFY(pair.layout->isComplete());
        QCOMPARE(last, pair.qt.documentLayout()->blockBoundingRect(pair.qt.lastBlock()));

        // An edit at the top moves what is below it.
        for (RichTextDocument *d : {&pair.qt, &pair.editor}) {
            QTextCursor c(d);
            c.insertBlock();
        }
        compareGeometry(pair);
    }

    void finishesInTheBackground()
    {
        QByteArray body;
        for (int i = 0; i < 2000; ++i)
            body += "Ligne " + QByteArray::number(i) + " et sa suite\\par ";
        Pair pair("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + body + "}", 120);
        QSignalSpy sizes(pair.layout, &QAbstractTextDocumentLayout::documentSizeChanged);
        QTRY_VERIFY_WITH_TIMEOUT(pair.layout->isComplete(), 20000);
        QVERIFY(!sizes.isEmpty());
        QCOMPARE(sizes.last().first().toSizeF(), pair.qt.documentLayout()->documentSize());
        compareGeometry(pair);
    }

    void nullPageLaysOutNothing()
    {
        Pair pair("{\\rtf1\\ansi abc\\par def}", 200);
        pair.editor.setPageSize(QSizeF(0, 0));
        QCOMPARE(pair.layout->blockBoundingRect(pair.editor.begin()), QRectF());
        QCOMPARE(pair.layout->documentSize(), QSizeF());
        QTextCursor(&pair.editor).insertText(QStringLiteral("x"));
        QTextCursor(&pair.qt).insertText(QStringLiteral("x"));
        pair.editor.setPageSize(QSizeF(200, -1));
        pair.finish();
        compareGeometry(pair);
    }
};

QTEST_MAIN(tst_EditorLayout)
#include "tst_editorlayout.moc"
