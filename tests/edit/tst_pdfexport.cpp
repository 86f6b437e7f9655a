#include "edit/pdfexport.h"
#include "pdftext.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ExportFixture
{
    EditorState state;
    ScriptedPlatform fake;
    Platform platform = fake.platform();
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    QStringList status;
    PdfExport pdf{*exo, state, platform, [this](const QString &message) { status << message; }};
};

// A text of `paragraphs` numbered paragraphs, long enough to fill pages.
QByteArray numberedParagraphs(int paragraphs)
{
    QByteArray text;
    for (int i = 1; i <= paragraphs; ++i)
        text += "Paragraphe " + QByteArray::number(i) + " de la correction\r";
    return text;
}

} // namespace

class tst_PdfExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void dialogProposesTheDocumentsNameInItsFolder_data();
    void dialogProposesTheDocumentsNameInItsFolder();
    void samePagesAsPrinting_data();
    void samePagesAsPrinting();
    void theWholeTextWhateverIsSelected();
    void cancelWritesNothing();
    void existingFileIsReplacedOnlyOnYes();
    void unwritableFolderSaysSoAndAsksAgain();

private:
    QString path(const QString &name) const { return QDir::toNativeSeparators(m_dir.filePath(name)); }
    QTemporaryDir m_dir;
};

void tst_PdfExport::dialogProposesTheDocumentsNameInItsFolder_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("an RTF document") << "cours/enonce.rtf"
                                     << "cours/enonce.pdf";
    QTest::newRow("dots in the name keep all but the last") << "cours/td.2.corrige.rtf"
                                                            << "cours/td.2.corrige.pdf";
    QTest::newRow("a plain-text document") << "notes.txt"
                                           << "notes.pdf";
}

void tst_PdfExport::dialogProposesTheDocumentsNameInItsFolder()
{
    QFETCH(QString, document);
    QFETCH(QString, proposed);
    ExportFixture f;
    f.state.currentDocumentPath = path(document);
    f.fake.files.cancelNext();
    QVERIFY(!f.pdf.exportpdf());
    QCOMPARE(f.fake.files.requests().size(), 1);
    const FileDialogCall &call = f.fake.files.requests().first();
    QCOMPARE(call.mode, FileDialogMode::Save);
    QCOMPARE(call.request.title, QStringLiteral("Exporter en PDF"));
    QCOMPARE(call.request.initialName, path(proposed));
    QCOMPARE(call.request.initialDirectory,
             QFileInfo(path(proposed)).absolutePath().replace('/', QDir::separator()));
    QCOMPARE(call.request.filter, QStringLiteral("Document PDF|*.pdf"));
}

void tst_PdfExport::samePagesAsPrinting_data()
{
    QTest::addColumn<int>("paragraphs");
    QTest::newRow("a short text, one page") << 3;
    QTest::newRow("a long text, several pages") << 150;
}

void tst_PdfExport::samePagesAsPrinting()
{
    QFETCH(int, paragraphs);
    ExportFixture f;
    f.exo->setText(numberedParagraphs(paragraphs));
    f.fake.printer.setPrinterInstalled(true);
    f.fake.printer.printOnCurrent(QString(),
                                  [&f](QPagedPaintDevice &device) { return f.exo->printSelection(device); });
    const int printedPages = f.fake.printer.lastPageCount();
    QVERIFY(printedPages >= 1);

    const QString pdf = path(QStringLiteral("pages%1.pdf").arg(paragraphs));
    f.fake.files.chooseNext(pdf);
    QVERIFY(f.pdf.exportpdf());
    QCOMPARE(pdfPageCount(pdf), printedPages);
    if (paragraphs > 100)
        QVERIFY(printedPages > 1);
    QCOMPARE(f.status.size(), 1);
    QVERIFY2(f.status[0].contains(pdf), qPrintable(f.status[0]));

    const std::optional<QString> text = pdfText(pdf);
    if (!text)
        QSKIP("pdftotext is not installed: the exported text cannot be read back");
    QVERIFY(text->contains(QStringLiteral("Paragraphe 1 de la correction")));
    QVERIFY(text->contains(QStringLiteral("Paragraphe %1 de la correction").arg(paragraphs)));
    QCOMPARE(int(text->count(QLatin1Char('\f'))), printedPages);
}

void tst_PdfExport::theWholeTextWhateverIsSelected()
{
    ExportFixture f;
    f.exo->setText("premier mot\rsecond paragraphe");
    f.exo->setSelection({0, 7});
    const QString pdf = path(QStringLiteral("whole.pdf"));
    f.fake.files.chooseNext(pdf);
    QVERIFY(f.pdf.exportpdf());
    QCOMPARE(f.exo->selection().start, 0); // the selection is left as it was
    QCOMPARE(f.exo->selection().length, 7);
    const std::optional<QString> text = pdfText(pdf);
    if (!text)
        QSKIP("pdftotext is not installed: the exported text cannot be read back");
    QVERIFY2(text->contains(QStringLiteral("second paragraphe")), qPrintable(*text));
}

void tst_PdfExport::cancelWritesNothing()
{
    ExportFixture f;
    f.exo->setText("texte");
    f.state.currentDocumentPath = path(QStringLiteral("annule.rtf"));
    f.fake.files.cancelNext();
    QVERIFY(!f.pdf.exportpdf());
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("annule.pdf"))));
    QVERIFY(f.status.isEmpty());
    QVERIFY(f.fake.messages.asked().isEmpty());
}

void tst_PdfExport::existingFileIsReplacedOnlyOnYes()
{
    ExportFixture f;
    f.exo->setText("nouveau texte");
    const QString pdf = path(QStringLiteral("existant.pdf"));
    {
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien");
    }
    // A name without ".pdf" gets it.
    f.fake.files.chooseNext(path(QStringLiteral("existant")));
    f.fake.messages.answerNext(MessageAnswer::No);
    f.fake.files.cancelNext();
    QVERIFY(!f.pdf.exportpdf());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("ancien"));
    file.close();
    QCOMPARE(f.fake.messages.askedTexts(), QStringList{QStringLiteral("Ecraser le fichier existant?")});
    QCOMPARE(f.fake.files.requests().at(1).request.initialName, pdf); // asked again where it was

    f.fake.files.chooseNext(pdf);
    f.fake.messages.answerNext(MessageAnswer::Yes);
    QVERIFY(f.pdf.exportpdf());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("%PDF"));
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_PdfExport::unwritableFolderSaysSoAndAsksAgain()
{
    ExportFixture f;
    f.exo->setText("texte");
    f.fake.files.chooseNext(path(QStringLiteral("absent/dossier/texte.pdf")));
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.fake.files.cancelNext();
    QVERIFY(!f.pdf.exportpdf());
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QCOMPARE(f.fake.messages.asked()[0].title, QStringLiteral("Exportation impossible"));
    QCOMPARE(f.fake.messages.asked()[0].icon, MessageIcon::Stop);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("absent"))));
    VERIFY_ALL_CONSUMED(f.fake);
}

QTEST_MAIN(tst_PdfExport)
#include "tst_pdfexport.moc"
