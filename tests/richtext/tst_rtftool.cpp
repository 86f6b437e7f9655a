#include "pdftext.h"
#include "rtf/rtfwriter.h"
#include "rtf/symbolencoding.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run tool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(VELIGRAM_TOOL), QStringList{QStringLiteral("rtf")} + args);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The last line of the tool's stderr; the platform may print notes of its own before it.
QByteArray lastLine(const QByteArray &err)
{
    return err.trimmed().split('\n').constLast();
}

} // namespace

class tst_RtfTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void plainTextFileIsWindows1252()
    {
        const Run run = tool({QStringLiteral("text"), QFINDTESTDATA("data/plain-cp1252.txt")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out),
                 QStringLiteral("Premi\u00e8re ligne : \u00e9t\u00e9 \u20ac\nH2O et CO2\n\n\tfin\n"));
    }

    void rtfTextShowsSymbolGlyphsLinesAndObjects()
    {
        const Run run = tool({QStringLiteral("text"), QFINDTESTDATA("data/exercise.rtf")});
        QCOMPARE(run.exitCode, 0);
        const QString smiley = SymbolEncoding::toUnicode(QStringLiteral("Wingdings"), 'J');
        QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("L'\u00e9nergie \u0394E = h\u03bd\nH2O\tfin\n"
                                                            "Question \u2192 ") +
                                                 smiley + QStringLiteral("\n\ufffc\n"));
    }

    void roundTripOfRtfIsAFixedPoint()
    {
        const QString once = m_dir.filePath(QStringLiteral("once.rtf"));
        const QString twice = m_dir.filePath(QStringLiteral("twice.rtf"));
        QCOMPARE(tool({QStringLiteral("roundtrip"), QFINDTESTDATA("data/exercise.rtf"), once}).exitCode, 0);
        QCOMPARE(tool({QStringLiteral("roundtrip"), once, twice}).exitCode, 0);
        const QByteArray written = readAll(once);
        QVERIFY2(written.startsWith("{\\rtf1\\ansi\\ansicpg1252"), written.constData());
        QCOMPARE(readAll(twice), written);
        // Same text as the original, picture included.
        QCOMPARE(tool({QStringLiteral("text"), once}).out,
                 tool({QStringLiteral("text"), QFINDTESTDATA("data/exercise.rtf")}).out);
    }

    void plainTextLineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("CR/LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n");
        QTest::newRow("LF, no final break") << QByteArray("a\nb") << QStringLiteral("a\nb\n");
        QTest::newRow("lone CR") << QByteArray("a\rb") << QStringLiteral("a\nb\n");
        QTest::newRow("empty lines kept") << QByteArray("a\n\n\nb\n") << QStringLiteral("a\n\n\nb\n");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("\n");
        QTest::newRow("UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9 \xCE\xB1\n")
            << QStringLiteral("\u00e9t\u00e9 \u03b1\n");
    }
    void plainTextLineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString path = m_dir.filePath(QStringLiteral("lines.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        const Run run = tool({QStringLiteral("text"), path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), text);
    }

    void roundTripOfPlainTextWritesTheWritersRtf()
    {
        const QString out = m_dir.filePath(QStringLiteral("plain.rtf"));
        const Run run = tool({QStringLiteral("roundtrip"), QFINDTESTDATA("data/plain-cp1252.txt"), out});
        QCOMPARE(run.exitCode, 0);
        RichDocument expected;
        expected.paragraphs = {
            Paragraph{{},
                      {TextRun{QStringLiteral("Premi\u00e8re ligne : \u00e9t\u00e9 \u20ac"), {}, nullptr}}},
            Paragraph{{}, {TextRun{QStringLiteral("H2O et CO2"), {}, nullptr}}},
            Paragraph{},
            Paragraph{{}, {TextRun{QStringLiteral("\tfin"), {}, nullptr}}},
            // The file's last line end leaves an empty last paragraph; a final mark followed
            // by nothing would be read as implicit, so the empty paragraph gets its own mark.
            Paragraph{},
        };
        expected.endsWithParagraphMark = true;
        QCOMPARE(readAll(out), RtfWriter::write(expected));
    }

    void pdfOfATwoPageDocument()
    {
        // Ninety short paragraphs of 10-point text fill a little more than one A4 page.
        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\fs20 ";
        for (int i = 1; i <= 90; ++i)
            rtf += "Ligne " + QByteArray::number(i) + "\\par ";
        rtf += "}";
        const QString in = m_dir.filePath(QStringLiteral("long.rtf"));
        {
            QFile file(in);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(rtf);
        }
        const QString out = m_dir.filePath(QStringLiteral("long.pdf"));
        const Run run = tool({QStringLiteral("pdf"), in, out});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(pdfPageCount(out), 2);
        const std::optional<QString> text = pdfText(out);
        if (!text)
            QSKIP("pdftotext is not installed: the PDF's text cannot be checked");
        QVERIFY2(text->contains(QStringLiteral("Ligne 1\n")), qPrintable(*text));
        QVERIFY(text->contains(QStringLiteral("Ligne 90")));
        const QStringList pages = text->split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 2);
        QVERIFY2(!pages[1].contains(QLatin1Char('1')) || pages[1].contains(QStringLiteral("Ligne 90")), "");
        // Nothing but the text: no page number under it.
        for (const QString &line : text->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (!line.trimmed().isEmpty() && line.trimmed() != QStringLiteral("\f"))
                QVERIFY2(line.trimmed().remove(QLatin1Char('\f')).startsWith(QStringLiteral("Ligne ")),
                         qPrintable(line));
        }
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("messageStart");
        const QString missing = m_dir.filePath(QStringLiteral("absent.rtf"));
        const QString unwritable = m_dir.filePath(QStringLiteral("no/such/folder/out.rtf"));
        QTest::newRow("text of a missing file")
            << QStringList{QStringLiteral("text"), missing} << QByteArray("veligram-tool: cannot read");
        QTest::newRow("round trip from a missing file")
            << QStringList{QStringLiteral("roundtrip"), missing, m_dir.filePath(QStringLiteral("keep.rtf"))}
            << QByteArray("veligram-tool: cannot read");
        QTest::newRow("round trip into a missing folder")
            << QStringList{QStringLiteral("roundtrip"), QFINDTESTDATA("data/plain-cp1252.txt"), unwritable}
            << QByteArray("veligram-tool: cannot write");
        QTest::newRow("PDF of a missing file")
            << QStringList{QStringLiteral("pdf"), missing, m_dir.filePath(QStringLiteral("keep.rtf"))}
            << QByteArray("veligram-tool: cannot read");
        QTest::newRow("PDF of a folder, over an older file")
            << QStringList{QStringLiteral("pdf"), m_dir.path(), m_dir.filePath(QStringLiteral("keep.rtf"))}
            << QByteArray("veligram-tool: cannot read");
        QTest::newRow("PDF into a missing folder")
            << QStringList{QStringLiteral("pdf"), QFINDTESTDATA("data/plain-cp1252.txt"), unwritable}
            << QByteArray("veligram-tool: cannot write");
        QTest::newRow("unknown command")
            << QStringList{QStringLiteral("show")} << QByteArray("veligram-tool: usage");
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, messageStart);
        const QString keep = m_dir.filePath(QStringLiteral("keep.rtf"));
        {
            QFile file(keep);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("previous content");
        }
        const Run run = tool(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(lastLine(run.err).startsWith(messageStart), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QCOMPARE(readAll(keep), QByteArray("previous content")); // a failed run writes nothing
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_RtfTool)
#include "tst_rtftool.moc"
