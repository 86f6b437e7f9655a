#include "rtf/rtfreader.h"
#include "samplefiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

// Reads RTF written by other word processors: the real-world files of the folder named by
// VELIGRAM_SAMPLES and the fixtures in data/rtf. When LibreOffice is installed, its plain-text
// export is the reference the reader's text is compared with.
using namespace SampleFiles;

namespace {

QString fixturesFolder()
{
    return QFINDTESTDATA("data/rtf");
}

// Symbol-font bytes are shown as LibreOffice writes them: U+F000 + byte.
QString plainText(const RichDocument &document)
{
    QString text;
    for (const Paragraph &paragraph : document.paragraphs) {
        for (const TextRun &run : paragraph.runs) {
            if (!run.style.symbolFont) {
                text += run.text;
                continue;
            }
            for (const QChar c : run.text)
                text += c.unicode() >= 0x20 ? QChar(char16_t(0xF000 + c.unicode())) : c;
        }
        text += QLatin1Char('\n');
    }
    return text;
}

// Words of a text, with what the two programs legitimately show differently removed: list
// labels (LibreOffice writes them, the editor draws bullets without characters), pictures,
// kinds of white space, cells (LibreOffice puts each on its own line, the reader separates
// them with tabs).
QStringList words(QString text)
{
    static const QRegularExpression label(
        QStringLiteral(
            "^\\s*(?:[\u2022\u25E6\u25AA\u25A0\u25CF\u25CB\u27A2\u2013*\\-\uF0B7\uF0A7\uF0D8\uF076\uF0FC]"
            "|\\(?[0-9a-zA-Z]{1,4}[.)])\\s+"),
        QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression space(QStringLiteral("\\s+"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    text.remove(QChar(0xFEFF));
    text.remove(QChar(0xFFFC));
    text.remove(QChar(0x00AD));
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text.replace(QChar(0x2028), QLatin1Char('\n'));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList result;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(label);
        result += line.split(space, Qt::SkipEmptyParts);
    }
    return result;
}

// Length of the longest common subsequence, by Myers' O((N+M)D) difference algorithm: fast
// when the texts mostly agree.
qsizetype commonWords(const QStringList &a, const QStringList &b)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    const qsizetype max = n + m;
    std::vector<qsizetype> v(size_t(2 * max + 2), 0);
    const qsizetype offset = max + 1;
    for (qsizetype d = 0; d <= max; ++d) {
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = (k == -d || (k != d && v[size_t(offset + k - 1)] < v[size_t(offset + k + 1)]))
                              ? v[size_t(offset + k + 1)]
                              : v[size_t(offset + k - 1)] + 1;
            qsizetype y = x - k;
            while (x < n && y < m && a.at(x) == b.at(y)) {
                ++x;
                ++y;
            }
            v[size_t(offset + k)] = x;
            if (x >= n && y >= m)
                return (n + m - d) / 2;
        }
    }
    return 0;
}

} // namespace

class tst_RtfSamples : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void readsEveryFile_data();
    void readsEveryFile();
    void agreesWithLibreOffice();
};

void tst_RtfSamples::readsEveryFile_data()
{
    QTest::addColumn<QString>("path");
    const QStringList files = rtfFilesIn(samplesFolder()) + rtfFilesIn(fixturesFolder());
    if (files.isEmpty())
        QSKIP("No sample folder (VELIGRAM_SAMPLES) and no fixtures");
    for (const QString &path : files)
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void tst_RtfSamples::readsEveryFile()
{
    QFETCH(QString, path);
    const QByteArray bytes = SampleFiles::read(path);
    QElapsedTimer timer;
    timer.start();
    const RtfReadResult result = RtfReader::read(bytes);
    QVERIFY(timer.elapsed() < 2000);
    if (!RtfReader::looksLikeRtf(bytes)) {
        // A fragment of a body without "{\rtf" (one sample is such a piece): not ours to read.
        QVERIFY(!result.ok);
        return;
    }
    QVERIFY(result.ok);
    const QString text = plainText(result.document);
    QVERIFY2(!text.trimmed().isEmpty(), "no text read");
    for (const QChar c : text) {
        QVERIFY2(
            c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n'),
            qPrintable(QStringLiteral("control character U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))));
        QVERIFY2(c != QChar::ReplacementCharacter, "undecodable byte");
    }
    // RTF syntax leaking into the text means a destination was read as text.
    static const QRegularExpression controlWord(QStringLiteral(
        "\\\\(?:pard?|plain|fs?[0-9]+|cf[0-9]+|insrsid[0-9]+|rtlch|ltrch|loch|hich|dbch|lang[0-9]+|cell|row|"
        "tab|pict|bin[0-9]*|fonttbl|colortbl|stylesheet|listtext|pntext|u[0-9]+)(?![a-z])"));
    QVERIFY2(!controlWord.match(text).hasMatch(), qPrintable(controlWord.match(text).captured()));
}

void tst_RtfSamples::agreesWithLibreOffice()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed: no reference texts");
    if (samplesFolder().isEmpty())
        QSKIP("No sample folder (VELIGRAM_SAMPLES): the fixtures alone are too few producers to judge");
    QStringList files;
    for (const QString &path : rtfFilesIn(samplesFolder()) + rtfFilesIn(fixturesFolder()))
        if (RtfReader::looksLikeRtf(SampleFiles::read(path)))
            files.append(path);
    if (files.isEmpty())
        QSKIP("No sample folder (VELIGRAM_SAMPLES) and no fixtures");
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess process;
    // A profile of its own, so that a LibreOffice already running elsewhere does not swallow
    // the conversion.
    process.start(soffice,
                  QStringList{QStringLiteral("-env:UserInstallation=") +
                                  QUrl::fromLocalFile(out.filePath(QStringLiteral("profile"))).toString(),
                              QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                              QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                              out.path()} +
                      files);
    QVERIFY(process.waitForFinished(240000));
    qsizetype total = 0;
    qsizetype agreeing = 0;
    QStringList producers;
    for (const QString &path : files) {
        const QFileInfo info(path);
        const QString reference = QString::fromUtf8(
            SampleFiles::read(out.filePath(info.completeBaseName() + QStringLiteral(".txt"))));
        if (reference.isEmpty()) {
            qWarning() << "LibreOffice gave no text for" << info.fileName();
            continue;
        }
        const QStringList ours = words(plainText(RtfReader::read(SampleFiles::read(path)).document));
        const QStringList theirs = words(reference);
        const qsizetype common = commonWords(ours, theirs);
        total += ours.size() + theirs.size();
        agreeing += 2 * common;
        const double ratio =
            ours.isEmpty() && theirs.isEmpty() ? 1.0 : 2.0 * common / double(ours.size() + theirs.size());
        qInfo("%6.1f %%  %s (%lld / %lld words)", ratio * 100.0, qPrintable(info.fileName()),
              static_cast<long long>(ours.size()), static_cast<long long>(theirs.size()));
        const QString producer = info.fileName().section(QLatin1Char('-'), 0, 0);
        if (!producers.contains(producer))
            producers.append(producer);
    }
    QVERIFY(total > 0);
    const double agreement = double(agreeing) / double(total);
    qInfo("Agreement with LibreOffice: %.2f %% of %lld words over %lld files from %lld producers",
          agreement * 100.0, static_cast<long long>(total), static_cast<long long>(files.size()),
          static_cast<long long>(producers.size()));
    QVERIFY(producers.size() >= 5);
    QVERIFY(agreement >= 0.95);
}

QTEST_GUILESS_MAIN(tst_RtfSamples)
#include "tst_rtfsamples.moc"
