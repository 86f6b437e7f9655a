#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "samplefiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

// What the reader makes of any RTF, the writer writes so that reading and writing it again
// gives the same bytes: files saved by the editor do not drift from one save to the next.
using namespace SampleFiles;

namespace {

QString plainText(const RichDocument &document)
{
    QString text;
    for (const Paragraph &paragraph : document.paragraphs) {
        for (const TextRun &run : paragraph.runs)
            text += run.text;
        text += QLatin1Char('\n');
    }
    return text;
}

// The position of the first difference, with some context, for the failure message.
QByteArray firstDifference(const QByteArray &a, const QByteArray &b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    const qsizetype from = std::max<qsizetype>(0, i - 40);
    return "at " + QByteArray::number(i) + ":\n  " + a.mid(from, 100) + "\n  " + b.mid(from, 100);
}

} // namespace

class tst_RtfRoundTrip : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void stableFromTheFirstWrite_data();
    void stableFromTheFirstWrite();
};

void tst_RtfRoundTrip::stableFromTheFirstWrite_data()
{
    QTest::addColumn<QByteArray>("rtf");
    const QStringList files = rtfFilesIn(samplesFolder()) + rtfFilesIn(QFINDTESTDATA("../rtf/data/rtf"));
    for (const QString &path : files) {
        const QByteArray bytes = SampleFiles::read(path);
        if (RtfReader::looksLikeRtf(bytes)) // one sample is a body fragment without "{\rtf"
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << bytes;
    }
    auto row = [](const char *name, const QByteArray &rtf) { QTest::newRow(name) << rtf; };
    row("final paragraph mark", R"({\rtf1 a\par})");
    row("two final paragraph marks", R"({\rtf1 a\par\par})");
    row("empty", R"({\rtf1 })");
    row("only a paragraph mark", R"({\rtf1 \par})");
    row("exact offsets", R"({\rtf1 m{\dn6\vgoff-64 2}x{\up3 3}{\super s}{\sub i}})");
    row("symbol bytes and unicode under a symbol font",
        R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}\f1 a\'b7\u945?\u-3999?\f0 b})");
    row("cp1252 undefined bytes", R"({\rtf1 \'81\'8d\'8f\'90\'9d\'80})");
    row("characters outside cp1252", R"({\rtf1 \u8594?\u955?\u-10179?\u-8704?})");
    row("tabs, indents, bullets",
        R"({\rtf1\pard\tqr\tx3000\tx1000\li720\fi-360\ri100\qc{\*\pn\pnlvlblt}a\par\pard\ls1 b\par\pard\qj c})");
    row("protected and coloured", R"({\rtf1{\colortbl ;\red1\green2\blue3;}\protect\cf1 a\protect0\cf0 b})");
    row("line breaks and tables", R"({\rtf1 a\line b\intbl c\cell d\cell\row e})");
    row("metafile kept verbatim", "{\\rtf1 x{\\pict\\wmetafile8\\picwgoal100\\pichgoal100 0102\r\n03}y}");
    row("object kept verbatim", R"({\rtf1 {\object\objemb\objw100\objh100{\*\objclass P}{\*\objdata 00}}})");
}

void tst_RtfRoundTrip::stableFromTheFirstWrite()
{
    QFETCH(QByteArray, rtf);
    const RtfReadResult source = RtfReader::read(rtf);
    QVERIFY(source.ok);
    const QByteArray first = RtfWriter::write(source.document);
    const RtfReadResult reread = RtfReader::read(first);
    QVERIFY(reread.ok);
    const QByteArray second = RtfWriter::write(reread.document);
    QVERIFY2(first == second, firstDifference(first, second).constData());
    QCOMPARE(reread.document.paragraphs.size(), source.document.paragraphs.size());
    QCOMPARE(reread.document.endsWithParagraphMark, source.document.endsWithParagraphMark);
    QCOMPARE(plainText(reread.document), plainText(source.document));
}

QTEST_GUILESS_MAIN(tst_RtfRoundTrip)
#include "tst_rtfroundtrip.moc"
