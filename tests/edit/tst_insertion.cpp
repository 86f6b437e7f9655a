#include "edit/insertioncommands.h"
#include "edit/objectinsertion.h"
#include "edit/printcommands.h"
#include "pdftext.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "scriptedplatform.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// exo and Rtfinsert over the scripted platform; Shift+Insert pastes the scripted clipboard's
// picture, as the control does with the system's.
struct InsertionFixture
{
    EditorState state;
    ScriptedPlatform fake;
    Platform platform = fake.platform();
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    std::unique_ptr<RichTextControl> Rtfinsert = createRichTextControl();
    int memorised = 0;
    QStringList status;
    std::unique_ptr<InsertionCommands> commands;
    std::optional<ObjectChoice> nextChoice;
    std::unique_ptr<ObjectInsertion> objects;
    std::unique_ptr<PrintCommands> printing;

    explicit InsertionFixture(const QByteArray &text = "abc")
    {
        exo->setText(text);
        InsertionHooks hooks;
        hooks.memoriser = [this] { ++memorised; };
        hooks.createBuffer = [] { return createRichTextControl(); };
        hooks.showStatus = [this](const QString &message) { status << message; };
        commands = std::make_unique<InsertionCommands>(*exo, *Rtfinsert, state, platform, hooks);
        objects = std::make_unique<ObjectInsertion>(*exo, *commands, platform, [this] { return nextChoice; });
        printing =
            std::make_unique<PrintCommands>(*exo, state, fake.printer, hooks.showStatus, &fake.messages);
        // Only a paste sent to exo itself lands: the focus may be anywhere when it is sent.
        fake.keys.setHandler([this](QWidget *receiver, const QString &keys) {
            if (receiver == exo->widget() && keys == QLatin1String("+{INSERT}") && fake.clipboard.hasImage())
                exo->insertPicture(fake.clipboard.image());
        });
    }
};

QString writeImage(const QString &path, QSize size, QColor color, const char *format = nullptr)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image.save(path, format) ? path : QString();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return path;
}

} // namespace

class tst_Insertion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        // The user's documents folder of these tests: a PDF for a text without a file goes there.
        qputenv("HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("home"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("home/.config"))));
        QDir().mkpath(m_dir.filePath(QStringLiteral("home/Documents")));
    }

    void optionsStartTickedAndToggle();
    void imageDialogAsksAsWritten();
    void imageUnlinkedLeavesTheBitmapOnTheClipboard();
    void imageFailures_data();
    void imageFailures();
    void imageLinkedBecomesAnObjectOfItsFile();
    void hugeJpegIsScaledToTheTextWidth();
    void rtfFileReplacesTheSelectionWithItsFormatting();
    void plainTextFileGoesThroughTheControlsLoad();
    void unreadableTextFileChangesNothing();
    void pasteSpecial_data();
    void pasteSpecial();

    void linkedObjectFollowsItsFile();
    void unlinkedObjectIsPastedWhenItsApplicationCloses();
    void objectWhoseApplicationFailsLeavesTheText();
    void newDrawingIsMadeBesideTheDocument();

    void printSelectionOrWholeText_data();
    void printSelectionOrWholeText();
    void withoutPrinterThePdfGoesBesideTheDocument_data();
    void withoutPrinterThePdfGoesBesideTheDocument();
    void cancelledSetUpSaysNothing();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void tst_Insertion::optionsStartTickedAndToggle()
{
    InsertionFixture f;
    QVERIFY(f.commands->linksObjects());
    QVERIFY(f.commands->linksPaste());
    f.commands->lierobj();
    QVERIFY(!f.commands->linksObjects());
    QVERIFY(f.commands->linksPaste());
    f.commands->liercolle();
    f.commands->lierobj();
    QVERIFY(f.commands->linksObjects());
    QVERIFY(!f.commands->linksPaste());
}

void tst_Insertion::imageDialogAsksAsWritten()
{
    InsertionFixture f;
    f.state.currentDocumentPath = QDir::toNativeSeparators(path(QStringLiteral("enonce.rtf")));
    f.fake.files.cancelNext();
    f.commands->ima();
    QCOMPARE(f.fake.files.requests().size(), 1);
    const FileDialogRequest &request = f.fake.files.requests()[0].request;
    QCOMPARE(request.title, QStringLiteral("Insertion d'une image"));
    QCOMPARE(request.initialName, QStringLiteral("*.bmp"));
    QCOMPARE(request.filter, QStringLiteral("Image bitmap(*.bmp)|*.bmp|Image gif|*.gif|image JPEG|*.JPG|"
                                            "Image PNG|*.png|Tous (*.*)|*.*"));
    QCOMPARE(request.initialDirectory, QDir::toNativeSeparators(m_dir.path()));
    // Cancelled: the remembered format waits for the next selection change.
    QCOMPARE(f.memorised, 1);
    QCOMPARE(f.state.formatRestorePending, 1);
    QVERIFY(f.fake.clipboard.log().isEmpty());
    QCOMPARE(f.exo->text(), QByteArray("abc"));
}

void tst_Insertion::imageUnlinkedLeavesTheBitmapOnTheClipboard()
{
    InsertionFixture f;
    f.commands->lierobj();
    const QString bmp = writeImage(path(QStringLiteral("carre.bmp")), QSize(12, 8), Qt::red);
    f.exo->setSelection({1, 0});
    f.fake.files.chooseNext(bmp);
    f.commands->ima();
    QCOMPARE(f.fake.clipboard.log(), QStringList({"clear", "setImage"}));
    QCOMPARE(f.fake.clipboard.image().size(), QSize(12, 8));
    QCOMPARE(f.fake.clipboard.image().pixelColor(3, 3), QColor(Qt::red));
    QCOMPARE(f.fake.keys.sent(), QStringList({"+{INSERT}"}));
    QVERIFY(f.commands->picture5().isNull());
    QCOMPARE(f.exo->objectCount(), 1);
    QVERIFY(f.exo->objectAt(0).sourcePath.isEmpty()); // a static picture, bound to nothing
    QCOMPARE(f.exo->text(), QByteArray("a bc"));
}

void tst_Insertion::imageFailures_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<QString>("file");
    QTest::newRow("undecodable picture, unlinked") << false << "broken.jpg";
    QTest::newRow("missing file, linked") << true << "absent.png";
    QTest::newRow("missing file, unlinked") << false << "absent.png";
}

void tst_Insertion::imageFailures()
{
    QFETCH(bool, linked);
    QFETCH(QString, file);
    writeFile(path(QStringLiteral("broken.jpg")), QByteArray("\xFF\xD8\xFF\xE0 not really", 16));
    InsertionFixture f;
    if (!linked)
        f.commands->lierobj();
    f.fake.files.chooseNext(path(file));
    f.commands->ima();
    QVERIFY(f.fake.clipboard.log().isEmpty());
    QVERIFY(f.fake.keys.sent().isEmpty());
    QCOMPARE(f.exo->text(), QByteArray("abc"));
    QCOMPARE(f.state.formatRestorePending, 1);
}

void tst_Insertion::imageLinkedBecomesAnObjectOfItsFile()
{
    InsertionFixture f;
    const QString png = writeImage(path(QStringLiteral("schema.png")), QSize(20, 10), Qt::blue);
    f.fake.files.chooseNext(png);
    f.commands->ima();
    QCOMPARE(f.exo->objectCount(), 1);
    QCOMPARE(f.exo->objectAt(0).sourcePath, QFileInfo(png).absoluteFilePath());
    QCOMPARE(f.exo->objectAt(0).sizePx, QSize(20, 10));
    QVERIFY(f.fake.clipboard.log().isEmpty()); // embedded: the clipboard is not used
    // Saved as an object with its picture, and read back as one.
    const QByteArray rtf = f.exo->textRtf();
    QVERIFY2(rtf.contains("{\\object\\objemb"), rtf.left(300).constData());
    QVERIFY(rtf.contains("{\\result{\\pict\\pngblip"));
    const auto reloaded = createRichTextControl();
    reloaded->setTextRtf(rtf);
    QCOMPARE(reloaded->objectCount(), 1);
    QCOMPARE(reloaded->objectAt(0).sourcePath, QFileInfo(png).absoluteFilePath());
    QCOMPARE(reloaded->objectAt(0).sizePx, QSize(20, 10));
}

void tst_Insertion::hugeJpegIsScaledToTheTextWidth()
{
    QImage photo(4000, 3000, QImage::Format_Grayscale8);
    photo.fill(128);
    const QString jpeg = path(QStringLiteral("photo.JPG"));
    QVERIFY(photo.save(jpeg, "JPEG", 50));
    photo = QImage();
    for (const bool linked : {true, false}) {
        InsertionFixture f;
        if (!linked)
            f.commands->lierobj();
        f.fake.files.chooseNext(jpeg);
        f.commands->ima();
        QCOMPARE(f.exo->objectCount(), 1);
        const QSize shown = f.exo->objectAt(0).sizePx;
        QVERIFY2(shown.width() <= f.commands->pictureWidth() && shown.width() >= 100,
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        QCOMPARE(shown.height(), shown.width() * 3 / 4);
    }
}

void tst_Insertion::rtfFileReplacesTheSelectionWithItsFormatting()
{
    InsertionFixture f("avant XXX apres");
    const QString rtf =
        writeFile(path(QStringLiteral("morceau.rtf")),
                  "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}}\\f0\\b gras\\b0  fin}");
    f.exo->setSelection({6, 3});
    f.fake.files.chooseNext(rtf);
    f.commands->insertext();
    const FileDialogRequest &request = f.fake.files.requests()[0].request;
    QCOMPARE(request.title, QStringLiteral("Insertion d'un texte"));
    QCOMPARE(request.filter, QStringLiteral("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*"));
    QCOMPARE(request.initialName, QStringLiteral("*.rtf"));
    QCOMPARE(f.exo->text(), QByteArray("avant gras fin apres"));
    f.exo->setSelection({6, 4});
    QCOMPARE(f.exo->selBold(), true);
    QCOMPARE(f.exo->selFontName(), QStringLiteral("Times New Roman"));
    QVERIFY(f.Rtfinsert->text().isEmpty());
    QCOMPARE(f.memorised, 0); // the inserted text keeps its own format
}

void tst_Insertion::plainTextFileGoesThroughTheControlsLoad()
{
    InsertionFixture f("[]");
    const QString txt = writeFile(path(QStringLiteral("notes.txt")), "\xE9t\xE9\r\nH2O");
    f.exo->setSelection({1, 0});
    f.fake.files.chooseNext(txt, 2);
    f.commands->insertext();
    QCOMPARE(Cp1252::decode(f.exo->text()), QStringLiteral("[\u00e9t\u00e9\rH2O]"));
}

void tst_Insertion::unreadableTextFileChangesNothing()
{
    InsertionFixture f;
    f.fake.files.chooseNext(m_dir.path()); // a folder
    f.commands->insertext();
    f.fake.files.cancelNext();
    f.commands->insertext();
    QCOMPARE(f.exo->text(), QByteArray("abc"));
}

void tst_Insertion::pasteSpecial_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("unlinked, plain text: a picture") << false << false;
    QTest::newRow("unlinked, rich text: a picture") << false << true;
    QTest::newRow("linked: the clipboard as it is") << true << true;
}

void tst_Insertion::pasteSpecial()
{
    QFETCH(bool, linked);
    QFETCH(bool, rtf);
    InsertionFixture f;
    if (!linked)
        f.commands->liercolle();
    if (rtf)
        f.fake.clipboard.setRtf("{\\rtf1 {\\b H}{\\sub 2}O}", QStringLiteral("H2O"));
    else
        f.fake.clipboard.putPlainText(QStringLiteral("H2O"));
    const QStringList before = f.fake.clipboard.log();
    f.exo->setSelection({3, 0});
    f.commands->supercolle();
    QCOMPARE(f.memorised, 1);
    QCOMPARE(f.state.formatRestorePending, 1);
    QCOMPARE(f.fake.keys.sent(), QStringList({"+{INSERT}"}));
    if (linked) {
        QCOMPARE(f.fake.clipboard.log(), before);
        QVERIFY(!f.fake.clipboard.hasImage());
        return;
    }
    QCOMPARE(f.fake.clipboard.log().mid(before.size()), QStringList({"clear", "setImage"}));
    const QImage picture = f.fake.clipboard.image();
    QVERIFY(picture.width() > 10 && picture.height() > 5);
    QVERIFY(!f.commands->picture5().isNull()); // paste special leaves its picture in the holder
    QCOMPARE(f.exo->objectCount(), 1);
    QCOMPARE(f.exo->text(), QByteArray("abc "));
}

void tst_Insertion::linkedObjectFollowsItsFile()
{
    InsertionFixture f;
    const QString png = writeImage(path(QStringLiteral("montage.png")), QSize(30, 20), Qt::green);
    f.nextChoice = ObjectChoice{ObjectChoice::Type::Image, png};
    f.exo->setSelection({3, 0});
    f.objects->objet();
    const QString source = QFileInfo(png).absoluteFilePath();
    QCOMPARE(f.fake.objects.opened(), QStringList({source}));
    QCOMPARE(f.exo->objectCount(), 1);
    QCOMPARE(f.exo->objectAt(0).className, QStringLiteral("Image"));
    QVERIFY(!f.exo->objectAt(0).isPicture);
    QCOMPARE(f.exo->objectAt(0).sizePx, QSize(30, 20));

    writeImage(png, QSize(40, 25), Qt::yellow); // the user saves in the application
    f.fake.objects.change(source);
    QCOMPARE(f.exo->objectAt(0).sizePx, QSize(40, 25));
    QVERIFY(QFile::remove(png)); // the file goes: the last picture stays
    f.fake.objects.finish(source);
    QCOMPARE(f.exo->objectCount(), 1);
    QCOMPARE(f.exo->objectAt(0).sizePx, QSize(40, 25));
    const QByteArray rtf = f.exo->textRtf();
    QVERIFY(rtf.contains("{\\*\\objclass Image}"));
    QVERIFY(f.fake.clipboard.log().isEmpty());
}

void tst_Insertion::unlinkedObjectIsPastedWhenItsApplicationCloses()
{
    InsertionFixture f;
    f.commands->lierobj();
    const QString other = writeFile(path(QStringLiteral("mesures.csv")), "t;x\n0;1\n");
    f.nextChoice = ObjectChoice{ObjectChoice::Type::File, other};
    f.objects->objet();
    const QString source = QFileInfo(other).absoluteFilePath();
    QVERIFY(f.fake.objects.isRunning(source));
    QCOMPARE(f.exo->objectCount(), 0); // nothing until the application closes
    f.fake.objects.change(source);
    QVERIFY(!f.commands->picture5().isNull());
    f.fake.objects.finish(source);
    QCOMPARE(f.fake.clipboard.log(), QStringList({"clear", "setImage"}));
    QCOMPARE(f.fake.keys.sent(), QStringList({"+{INSERT}"}));
    QCOMPARE(f.exo->objectCount(), 1);
    QVERIFY(f.exo->objectAt(0).isPicture); // a static picture of the file's icon
    QVERIFY(f.commands->picture5().isNull());
}

void tst_Insertion::objectWhoseApplicationFailsLeavesTheText()
{
    for (const bool linked : {true, false}) {
        InsertionFixture f;
        if (!linked)
            f.commands->lierobj();
        const QString png = writeImage(path(QStringLiteral("echec.png")), QSize(5, 5), Qt::black);
        f.nextChoice = ObjectChoice{ObjectChoice::Type::Image, png};
        f.fake.objects.failNext();
        f.objects->objet();
        QCOMPARE(f.exo->text(), QByteArray("abc"));
        QVERIFY(f.fake.clipboard.log().isEmpty());
    }
    InsertionFixture cancelled;
    cancelled.objects->objet(); // the dialog cancelled
    QVERIFY(cancelled.fake.objects.opened().isEmpty());
    InsertionFixture missing;
    missing.nextChoice = ObjectChoice{ObjectChoice::Type::File, path(QStringLiteral("absent.doc"))};
    missing.objects->objet();
    QVERIFY(missing.fake.objects.opened().isEmpty());
}

void tst_Insertion::newDrawingIsMadeBesideTheDocument()
{
    QTemporaryDir folder;
    InsertionFixture f;
    f.state.currentDocumentPath = QDir::toNativeSeparators(folder.filePath(QStringLiteral("exo.rtf")));
    f.nextChoice = ObjectChoice{ObjectChoice::Type::Drawing, {}};
    f.objects->objet();
    f.objects->objet();
    const QString first = folder.filePath(QStringLiteral("Dessin.png"));
    QCOMPARE(f.fake.objects.opened().value(0), first);
    QCOMPARE(f.fake.objects.opened().value(1), folder.filePath(QStringLiteral("Dessin 2.png")));
    QCOMPARE(QImage(first).size(), QSize(ObjectInsertion::drawingWidth, ObjectInsertion::drawingHeight));
    QCOMPARE(f.exo->objectCount(), 2);
    QCOMPARE(f.exo->objectAt(0).className, QStringLiteral("Dessin"));
}

void tst_Insertion::printSelectionOrWholeText_data()
{
    QTest::addColumn<TextRange>("selection");
    QTest::addColumn<QString>("printed");
    QTest::newRow("a selected word") << TextRange{3, 6} << "chimie";
    QTest::newRow("nothing selected: the whole text") << TextRange{2, 0} << "La chimie\nfin";
}

void tst_Insertion::printSelectionOrWholeText()
{
    QFETCH(TextRange, selection);
    QFETCH(QString, printed);
    InsertionFixture f("La chimie\rfin");
    f.exo->setSelection(selection);
    f.printing->imprimons();
    QCOMPARE(f.fake.printer.jobCount(), 1);
    QVERIFY(f.fake.printer.calls()[0].direct);
    QVERIFY(f.fake.printer.lastJobResult());
    QCOMPARE(f.fake.printer.lastPageCount(), 1);
    QVERIFY(f.status.isEmpty()); // a printer: nothing to say
    QCOMPARE(f.exo->selection(), selection);
    const std::optional<QString> text = pdfText(f.fake.printer.lastPdfPath());
    if (!text)
        QSKIP("pdftotext is not installed: the printed text cannot be read back");
    QCOMPARE(text->trimmed().remove(QLatin1Char('\f')), printed);
}

void tst_Insertion::withoutPrinterThePdfGoesBesideTheDocument_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<bool>("pdfExists");
    QTest::addColumn<QString>("pdf");
    QTest::newRow("a document with a file") << path(QStringLiteral("cours/enonce.v2.rtf")) << false
                                            << path(QStringLiteral("cours/enonce.v2.pdf"));
    QTest::newRow("a text without a file")
        << EditorState::untitled << false << path(QStringLiteral("home/Documents/SANS NOM.pdf"));
    QTest::newRow("a text read from a .pdf name keeps it")
        << path(QStringLiteral("cours/drole.pdf")) << false << path(QStringLiteral("cours/drole.pdf.pdf"));
    QTest::newRow("an older PDF of that name is kept")
        << path(QStringLiteral("cours/td.rtf")) << true << path(QStringLiteral("cours/td (2).pdf"));
}

void tst_Insertion::withoutPrinterThePdfGoesBesideTheDocument()
{
    QFETCH(QString, document);
    QFETCH(bool, pdfExists);
    QFETCH(QString, pdf);
    QDir().mkpath(path(QStringLiteral("cours")));
    const QString older = path(QStringLiteral("cours/td.pdf"));
    if (pdfExists)
        QVERIFY(!writeFile(older, "older").isEmpty());
    InsertionFixture f("Bonjour");
    f.state.currentDocumentPath = QDir::toNativeSeparators(document);
    f.fake.printer.setPrinterInstalled(false);
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.printing->imprimons();
    QCOMPARE(QDir::fromNativeSeparators(f.fake.printer.calls()[0].pdfWhenNoPrinter), pdf);
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(pdfPageCount(pdf), 1);
    QCOMPARE(f.status.size(), 1);
    QVERIFY2(f.status[0].contains(QDir::toNativeSeparators(pdf)), qPrintable(f.status[0]));
    // Said in a box too: a status line goes by unnoticed.
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(f.fake.messages.asked()[0].text.contains(QDir::toNativeSeparators(pdf)));
    if (pdfExists) {
        QFile kept(older);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("older"));
        QFile::remove(older);
    }
    QFile::remove(pdf);
}

void tst_Insertion::cancelledSetUpSaysNothing()
{
    InsertionFixture f;
    f.fake.printer.cancelSetUpNext();
    f.printing->configimp();
    QCOMPARE(f.fake.printer.calls().size(), 1);
    QVERIFY(f.fake.printer.calls()[0].setUp);
    QVERIFY(f.fake.messages.asked().isEmpty());
    QVERIFY(f.status.isEmpty());
}

QTEST_MAIN(tst_Insertion)
#include "tst_insertion.moc"
