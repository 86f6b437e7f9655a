// Files go both ways between the editor and LibreOffice: a document the editor writes, with
// every attribute the control holds, is converted by LibreOffice headless to flat ODF and each
// attribute is found there on its word; LibreOffice's own RTF of that document reads back here
// with the same attributes. Skips itself where LibreOffice is not installed
// (scripts/interop.sh installs it and runs this test).
#include "richtext/richtextfactory.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "symbols/ionformulapicture.h"
#include "testimages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <cmath>
#include <functional>

namespace {

CharStyle plain()
{
    CharStyle style;
    style.halfPoints = 24;
    return style;
}

TextRun run(const QString &text, const CharStyle &style = plain())
{
    return TextRun{text, style, {}};
}

TextRun objectRun(const std::shared_ptr<EmbeddedObject> &object)
{
    TextRun result = run(QString(QChar(0xFFFC)));
    result.object = object;
    return result;
}

std::shared_ptr<EmbeddedObject> pngObject(const QImage &image)
{
    auto object = std::make_shared<EmbeddedObject>();
    object->imageData = encodedImage(image);
    object->imageFormat = "png";
    object->image = image;
    object->widthTwips = image.width() * 15;
    object->heightTwips = image.height() * 15;
    return object;
}

// The polyatomic ion SO4 2- as the composer draws it, at 12 pt.
QImage ionPicture()
{
    IonFormulaStyle style;
    style.fontName = QStringLiteral("Arial");
    style.size = 12;
    return IonFormulaPicture::compose({QStringLiteral("SO"), QStringLiteral("2-"), QStringLiteral("4")},
                                      style)
        .convertToFormat(QImage::Format_RGB32);
}

// An object of another application, linked to its file, shown by its picture.
QImage objectPicture()
{
    QImage image(36, 28, QImage::Format_RGB32);
    image.fill(qRgb(220, 60, 60));
    QPainter(&image).fillRect(4, 4, 12, 20, Qt::white);
    return image;
}

TextRun picture(const char *format)
{
    QImage image(40, 24, QImage::Format_RGB32);
    image.fill(qRgb(30, 120, 200));
    QPainter(&image).fillRect(5, 5, 10, 10, Qt::yellow);
    auto object = std::make_shared<EmbeddedObject>();
    object->imageData = encodedImage(image, format);
    object->imageFormat = format;
    object->image = image;
    object->widthTwips = 600;
    object->heightTwips = 360;
    TextRun result = run(QString(QChar(0xFFFC)));
    result.object = object;
    return result;
}

// One paragraph per attribute, each holding its marker word.
RichDocument everyAttribute()
{
    RichDocument document;
    document.paragraphs.clear();
    const auto with = [](auto change) {
        CharStyle style = plain();
        change(style);
        return style;
    };
    const auto paragraph = [&](const QList<TextRun> &runs, ParagraphStyle style = {}) {
        document.paragraphs.append(Paragraph{style, runs});
    };
    paragraph({run(QStringLiteral("Mot ")),
               run(QStringLiteral("gras"), with([](CharStyle &s) { s.bold = true; })),
               run(QStringLiteral(" ")),
               run(QStringLiteral("italique"), with([](CharStyle &s) { s.italic = true; })),
               run(QStringLiteral(" ")),
               run(QStringLiteral("souligne"), with([](CharStyle &s) { s.underline = true; })),
               run(QStringLiteral(" ")),
               run(QStringLiteral("barre"), with([](CharStyle &s) { s.strikethrough = true; }))});
    paragraph({run(QStringLiteral("courrier"),
                   with([](CharStyle &s) { s.fontName = QStringLiteral("Courier New"); })),
               run(QStringLiteral(" ")), run(QStringLiteral("times"), with([](CharStyle &s) {
                                                 s.fontName = QStringLiteral("Times New Roman");
                                             })),
               run(QStringLiteral(" ")),
               run(QStringLiteral("seize"), with([](CharStyle &s) { s.halfPoints = 32; })),
               run(QStringLiteral(" ")),
               run(QStringLiteral("huit"), with([](CharStyle &s) { s.halfPoints = 16; }))});
    const QList<std::pair<QString, QRgb>> colours = {{QStringLiteral("noir"), qRgb(0, 0, 0)},
                                                     {QStringLiteral("rouge"), qRgb(255, 0, 0)},
                                                     {QStringLiteral("vert"), qRgb(0, 128, 0)},
                                                     {QStringLiteral("bleu"), qRgb(0, 0, 255)},
                                                     {QStringLiteral("brun"), qRgb(128, 64, 0)}};
    QList<TextRun> coloured;
    for (const auto &[word, rgb] : colours) {
        coloured << run(word, with([rgb = rgb](CharStyle &s) { s.color = rgb; })) << run(QStringLiteral(" "));
    }
    paragraph(coloured);
    QList<TextRun> offsets{run(QStringLiteral("H"))};
    for (const int twips : {-1000, -50, 60, 80, 1000}) {
        offsets << run(QStringLiteral("d%1").arg(twips), with([twips](CharStyle &s) {
                           s.offsetTwips = twips;
                           s.halfPoints = 16;
                       }))
                << run(QStringLiteral(" "));
    }
    paragraph(offsets);
    paragraph({run(QStringLiteral("grec ")), run(QStringLiteral("abl"), with([](CharStyle &s) {
                                                     s.fontName = QStringLiteral("Symbol");
                                                     s.symbolFont = true;
                                                 })),
               run(QStringLiteral(" dingbats ")), run(QStringLiteral("J"), with([](CharStyle &s) {
                                                          s.fontName = QStringLiteral("Wingdings");
                                                          s.symbolFont = true;
                                                      }))});
    ParagraphStyle bulleted;
    bulleted.bullet = true;
    bulleted.leftIndentTwips = 360;
    bulleted.firstLineIndentTwips = -360;
    paragraph({run(QStringLiteral("puce"))}, bulleted);
    paragraph({run(QStringLiteral("1.\tnumero"))});
    ParagraphStyle tabs;
    tabs.tabs = {{1134, TabKind::Left}, {2835, TabKind::Left}};
    paragraph({run(QStringLiteral("tabulations\tun\tdeux"))}, tabs);
    ParagraphStyle indents;
    indents.leftIndentTwips = 567;
    indents.rightIndentTwips = 1134;
    paragraph({run(QStringLiteral("retraits"))}, indents);
    ParagraphStyle centred;
    centred.alignment = ParagraphAlignment::Center;
    paragraph({run(QStringLiteral("centre"))}, centred);
    ParagraphStyle right;
    right.alignment = ParagraphAlignment::Right;
    paragraph({run(QStringLiteral("droite"))}, right);
    paragraph({run(QStringLiteral("gauche"))});
    paragraph({run(QStringLiteral("protege"), with([](CharStyle &s) { s.protectedText = true; }))});
    paragraph({run(QStringLiteral("images ")), picture("png"), run(QStringLiteral(" ")), picture("jpeg")});
    paragraph({run(QStringLiteral("formule ")), objectRun(pngObject(ionPicture()))});
    const auto linked = pngObject(objectPicture());
    linked->className = QStringLiteral("Paint.Picture");
    linked->sourcePath = QStringLiteral("/tmp/dessin.png");
    paragraph({run(QStringLiteral("objet ")), objectRun(linked)});
    return document;
}

// What LibreOffice's flat ODF says of one stretch of text.
struct Segment
{
    QString text;
    QHash<QString, QString> properties; // text and paragraph properties, by attribute name
    bool inList = false;
    QString listKind;  // "bullet", "number" or ""
    int paragraph = 0; // its paragraph's index
};

struct OdfPicture
{
    int paragraph = 0; // the paragraph it stands in
    QImage image;
    double widthTwips = 0; // its frame
    double heightTwips = 0;
};

struct FlatOdf
{
    QList<Segment> segments;
    QStringList paragraphs; // each paragraph's text
    QStringList images;     // MIME types guessed from the data
    QList<OdfPicture> pictures;
};

double toTwips(const QString &length)
{
    static const QList<std::pair<QString, double>> units = {
        {QStringLiteral("cm"), 567.0}, {QStringLiteral("mm"), 56.7},  {QStringLiteral("in"), 1440.0},
        {QStringLiteral("pt"), 20.0},  {QStringLiteral("pc"), 240.0},
    };
    for (const auto &[unit, factor] : units) {
        if (length.endsWith(unit))
            return length.chopped(unit.size()).toDouble() * factor;
    }
    return length.toDouble();
}

FlatOdf parseFlatOdf(const QByteArray &xml)
{
    QHash<QString, QHash<QString, QString>> styles;
    QHash<QString, QString> parents;
    QHash<QString, QString> listKinds;
    FlatOdf result;
    QXmlStreamReader reader(xml);
    QString currentStyle;
    QString currentList;
    QStringList paragraphStyles;
    QStringList spanStyles;
    QStringList listStyles;
    QString paragraphText;
    int depthInParagraph = 0;
    OdfPicture frame;
    const auto resolved = [&](const QString &name) {
        QHash<QString, QString> props;
        QStringList chain;
        for (QString n = name; !n.isEmpty() && !chain.contains(n); n = parents.value(n))
            chain.prepend(n);
        for (const QString &n : chain)
            props.insert(styles.value(n));
        return props;
    };
    while (!reader.atEnd()) {
        reader.readNext();
        const QStringView name = reader.qualifiedName();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            if (name == u"style:style") {
                currentStyle = attributes.value(QLatin1String("style:name")).toString();
                parents.insert(currentStyle,
                               attributes.value(QLatin1String("style:parent-style-name")).toString());
            } else if (name == u"style:text-properties" || name == u"style:paragraph-properties") {
                for (const QXmlStreamAttribute &a : attributes)
                    styles[currentStyle].insert(a.qualifiedName().toString(), a.value().toString());
            } else if (name == u"style:tab-stop") {
                QString &tabs = styles[currentStyle][QStringLiteral("tabs")];
                tabs += QString::number(std::lround(
                            toTwips(attributes.value(QLatin1String("style:position")).toString()))) +
                        QLatin1Char(' ');
            } else if (name == u"text:list-style") {
                currentList = attributes.value(QLatin1String("style:name")).toString();
            } else if (name == u"text:list-level-style-bullet" || name == u"text:list-level-style-number") {
                if (!listKinds.contains(currentList))
                    listKinds.insert(currentList,
                                     name == u"text:list-level-style-bullet" ? "bullet" : "number");
            } else if (name == u"text:list") {
                listStyles << attributes.value(QLatin1String("text:style-name")).toString();
            } else if (name == u"text:p" || name == u"text:h") {
                paragraphStyles << attributes.value(QLatin1String("text:style-name")).toString();
                paragraphText.clear();
                ++depthInParagraph;
            } else if (name == u"text:span") {
                spanStyles << attributes.value(QLatin1String("text:style-name")).toString();
            } else if (name == u"text:tab" && depthInParagraph > 0) {
                paragraphText += QLatin1Char('\t');
            } else if (name == u"draw:frame") {
                frame.paragraph = int(result.paragraphs.size());
                frame.widthTwips = toTwips(attributes.value(QLatin1String("svg:width")).toString());
                frame.heightTwips = toTwips(attributes.value(QLatin1String("svg:height")).toString());
            } else if (name == u"office:binary-data") {
                const QString data = reader.readElementText().trimmed();
                result.images << (data.startsWith(QLatin1String("iVBOR"))  ? QStringLiteral("image/png")
                                  : data.startsWith(QLatin1String("/9j/")) ? QStringLiteral("image/jpeg")
                                                                           : QStringLiteral("other"));
                frame.image = QImage::fromData(QByteArray::fromBase64(data.toLatin1()))
                                  .convertToFormat(QImage::Format_RGB32);
                result.pictures << frame;
            }
        } else if (reader.isEndElement()) {
            if (name == u"text:p" || name == u"text:h") {
                result.paragraphs << paragraphText;
                paragraphStyles.removeLast();
                --depthInParagraph;
            } else if (name == u"text:span") {
                spanStyles.removeLast();
            } else if (name == u"text:list") {
                listStyles.removeLast();
            }
        } else if (reader.isCharacters() && depthInParagraph > 0 && !reader.isWhitespace()) {
            Segment segment;
            segment.text = reader.text().toString();
            paragraphText += segment.text;
            segment.properties = resolved(paragraphStyles.last());
            for (const QString &span : std::as_const(spanStyles))
                segment.properties.insert(resolved(span));
            segment.inList = !listStyles.isEmpty();
            segment.paragraph = int(result.paragraphs.size());
            for (const QString &list : std::as_const(listStyles)) {
                if (listKinds.contains(list))
                    segment.listKind = listKinds.value(list);
            }
            result.segments << segment;
        }
    }
    return result;
}

// Symbol-font text comes back as the private-use copies U+F000 + byte.
QString bytesOf(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() >= 0xF000 && c.unicode() <= 0xF0FF)
            c = QChar(c.unicode() - 0xF000);
    }
    return text;
}

const Segment *segmentWith(const FlatOdf &odf, const QString &word)
{
    for (const Segment &segment : odf.segments) {
        if (bytesOf(segment.text).contains(word))
            return &segment;
    }
    return nullptr;
}

// The run holding `word` in our reading of LibreOffice's RTF, with its paragraph.
std::pair<const TextRun *, const Paragraph *> runWith(const RichDocument &document, const QString &word)
{
    for (const Paragraph &paragraph : document.paragraphs) {
        for (const TextRun &run : paragraph.runs) {
            if (run.text.contains(word))
                return {&run, &paragraph};
        }
    }
    return {nullptr, nullptr};
}

// Raise in points of a text-position ("33% 58%", "super 58%", "-8%") in a font of `points`.
double raisePoints(const Segment &segment, double points)
{
    const QString position = segment.properties.value(QStringLiteral("style:text-position"));
    if (position.isEmpty())
        return 0;
    const QString first = position.section(QLatin1Char(' '), 0, 0);
    const double percent = first == QLatin1String("super") ? 33
                           : first == QLatin1String("sub") ? -33
                                                           : first.chopped(1).toDouble();
    return percent / 100.0 * points;
}

using OdfCheck = std::function<QString(const FlatOdf &, const Segment &)>;
using RtfCheck = std::function<QString(const TextRun &, const Paragraph &)>;

QString expectProperty(const Segment &segment, const char *name, const QString &expected)
{
    const QString actual = segment.properties.value(QLatin1String(name));
    return actual == expected ? QString()
                              : QStringLiteral("%1 is \"%2\", not \"%3\"").arg(name, actual, expected);
}

QString expectTrue(bool ok, const QString &what)
{
    return ok ? QString() : what;
}

// The picture in the segment's paragraph shows `expected`, pixel for pixel, at its size.
QString expectPictureIn(const FlatOdf &odf, const Segment &segment, const QImage &expected)
{
    for (const OdfPicture &picture : odf.pictures) {
        if (picture.paragraph != segment.paragraph)
            continue;
        if (picture.image != expected)
            return QStringLiteral("a %1 x %2 picture, not the %3 x %4 one")
                .arg(picture.image.width())
                .arg(picture.image.height())
                .arg(expected.width())
                .arg(expected.height());
        const bool sized = std::abs(picture.widthTwips - expected.width() * 15) < 15 &&
                           std::abs(picture.heightTwips - expected.height() * 15) < 15;
        return expectTrue(
            sized, QStringLiteral("framed %1 x %2 twips").arg(picture.widthTwips).arg(picture.heightTwips));
    }
    return QStringLiteral("no picture in its paragraph");
}

QString expectPictureIn(const Paragraph &paragraph, const QImage &expected)
{
    for (const TextRun &r : paragraph.runs) {
        if (r.object)
            return expectTrue(r.object->image.convertToFormat(QImage::Format_RGB32) == expected,
                              QStringLiteral("a different %1 x %2 picture")
                                  .arg(r.object->image.width())
                                  .arg(r.object->image.height()));
    }
    return QStringLiteral("no picture in its paragraph");
}

} // namespace

Q_DECLARE_METATYPE(OdfCheck)
Q_DECLARE_METATYPE(RtfCheck)

class tst_LibreOfficeInterop : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void editorToLibreOffice_data() { rows(); }
    void editorToLibreOffice();
    void libreOfficeToEditor_data() { rows(); }
    void libreOfficeToEditor();

private:
    void rows();
    bool convert(const QString &input, const QString &format, const QString &outDir);

    QString m_soffice;
    QTemporaryDir m_dir;
    FlatOdf m_odf;
    RichDocument m_back;
};

bool tst_LibreOfficeInterop::convert(const QString &input, const QString &format, const QString &outDir)
{
    QProcess process;
    // A profile of its own, so that a LibreOffice already running does not take the job.
    process.start(m_soffice, {QStringLiteral("-env:UserInstallation=") +
                                  QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString(),
                              QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                              QStringLiteral("--outdir"), outDir, input});
    return process.waitForFinished(240000) && process.exitCode() == 0;
}

void tst_LibreOfficeInterop::initTestCase()
{
    m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (m_soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed: scripts/interop.sh installs it and runs this test");
    // Written by the editor: the model goes into the control and out of it again.
    auto control = createRichTextControl();
    control->setTextRtf(RtfWriter::write(everyAttribute()));
    const QString rtfPath = m_dir.filePath(QStringLiteral("attributs.rtf"));
    QVERIFY(control->saveFile(rtfPath));
    QVERIFY(convert(rtfPath, QStringLiteral("fodt"), m_dir.path()));
    QFile flat(m_dir.filePath(QStringLiteral("attributs.fodt")));
    QVERIFY2(flat.open(QIODevice::ReadOnly), "LibreOffice wrote no flat ODF");
    m_odf = parseFlatOdf(flat.readAll());
    QVERIFY(!m_odf.segments.isEmpty());

    const QString back = m_dir.filePath(QStringLiteral("retour"));
    QVERIFY(QDir().mkpath(back));
    QVERIFY(convert(flat.fileName(), QStringLiteral("rtf"), back));
    QFile rtf(back + QStringLiteral("/attributs.rtf"));
    QVERIFY2(rtf.open(QIODevice::ReadOnly), "LibreOffice wrote no RTF");
    // Loaded by the control, as a teacher opens it, then read back as the model.
    auto reopened = createRichTextControl();
    QVERIFY(reopened->loadFile(rtf.fileName()));
    const RtfReadResult read = RtfReader::read(reopened->textRtf());
    QVERIFY2(read.ok, qPrintable(read.message));
    m_back = read.document;
}

void tst_LibreOfficeInterop::rows()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<OdfCheck>("inOdf");
    QTest::addColumn<RtfCheck>("inRtf");
    const auto row = [](const char *name, const char *word, OdfCheck odf, RtfCheck rtf) {
        QTest::newRow(name) << QString::fromUtf8(word) << odf << rtf;
    };
    row(
        "bold", "gras", [](auto &, auto &s) { return expectProperty(s, "fo:font-weight", "bold"); },
        [](auto &r, auto &) { return expectTrue(r.style.bold, "not bold"); });
    row(
        "italic", "italique", [](auto &, auto &s) { return expectProperty(s, "fo:font-style", "italic"); },
        [](auto &r, auto &) { return expectTrue(r.style.italic, "not italic"); });
    row(
        "underline", "souligne",
        [](auto &, auto &s) { return expectProperty(s, "style:text-underline-style", "solid"); },
        [](auto &r, auto &) { return expectTrue(r.style.underline, "not underlined"); });
    row(
        "strikethrough", "barre",
        [](auto &, auto &s) { return expectProperty(s, "style:text-line-through-style", "solid"); },
        [](auto &r, auto &) { return expectTrue(r.style.strikethrough, "not struck through"); });
    row(
        "Courier New", "courrier",
        [](auto &, auto &s) { return expectProperty(s, "style:font-name", "Courier New"); },
        [](auto &r, auto &) { return expectTrue(r.style.fontName == "Courier New", r.style.fontName); });
    row(
        "Times New Roman", "times",
        [](auto &, auto &s) { return expectProperty(s, "style:font-name", "Times New Roman"); },
        [](auto &r, auto &) { return expectTrue(r.style.fontName == "Times New Roman", r.style.fontName); });
    row(
        "16 pt", "seize", [](auto &, auto &s) { return expectProperty(s, "fo:font-size", "16pt"); },
        [](auto &r, auto &) {
            return expectTrue(r.style.halfPoints == 32, QString::number(r.style.halfPoints));
        });
    row(
        "8 pt", "huit", [](auto &, auto &s) { return expectProperty(s, "fo:font-size", "8pt"); },
        [](auto &r, auto &) {
            return expectTrue(r.style.halfPoints == 16, QString::number(r.style.halfPoints));
        });
    const QList<std::tuple<const char *, const char *, QRgb>> colours = {
        {"black pen", "noir", qRgb(0, 0, 0)},
        {"red pen", "rouge", qRgb(255, 0, 0)},
        {"green pen", "vert", qRgb(0, 128, 0)},
        {"blue pen", "bleu", qRgb(0, 0, 255)},
        {"palette colour", "brun", qRgb(128, 64, 0)}};
    for (const auto &[name, word, rgb] : colours) {
        const QString hex = QColor(rgb).name();
        row(
            name, word, [hex](auto &, auto &s) { return expectProperty(s, "fo:color", hex); },
            [rgb = rgb](auto &r, auto &) {
                return expectTrue(r.style.color.value_or(qRgb(0, 0, 0)) == rgb,
                                  QColor(r.style.color.value_or(0)).name());
            });
    }
    for (const int twips : {-1000, -50, 60, 80, 1000}) {
        const QByteArray name = "offset " + QByteArray::number(twips) + " twips";
        const QByteArray word = "d" + QByteArray::number(twips);
        QTest::newRow(name.constData()) << QString::fromLatin1(word) << OdfCheck([twips](auto &, auto &s) {
            const double expected = twips / 20.0; // points
            const double actual = raisePoints(s, 8);
            return expectTrue(std::abs(actual - expected) <= 0.5,
                              QStringLiteral("raised %1 pt, not %2 pt").arg(actual).arg(expected));
        }) << RtfCheck([twips](auto &r, auto &) {
            return expectTrue(std::abs(r.style.offsetTwips - twips) <= 10,
                              QStringLiteral("offset %1 twips").arg(r.style.offsetTwips));
        });
    }
    row(
        "Symbol Greek", "abl", [](auto &, auto &s) { return expectProperty(s, "style:font-name", "Symbol"); },
        [](auto &r, auto &) {
            return expectTrue(r.style.fontName == "Symbol" && r.style.symbolFont, r.style.fontName);
        });
    row(
        "Wingdings", "J", [](auto &, auto &s) { return expectProperty(s, "style:font-name", "Wingdings"); },
        [](auto &r, auto &) {
            return expectTrue(r.style.fontName == "Wingdings" && r.style.symbolFont, r.style.fontName);
        });
    row(
        "bullet", "puce",
        [](auto &, auto &s) { return expectTrue(s.listKind == "bullet", "not a bulleted list"); },
        [](auto &, auto &p) { return expectTrue(p.style.bullet, "not a bullet"); });
    row(
        "numbered paragraph", "numero",
        [](auto &odf, auto &) {
            return expectTrue(odf.paragraphs.contains(QStringLiteral("1.\tnumero")),
                              QStringLiteral("no \"1.<tab>numero\""));
        },
        [](auto &r, auto &) { return expectTrue(r.text.contains(QStringLiteral("1.\tnumero")), r.text); });
    row(
        "tab stops", "tabulations", [](auto &, auto &s) { return expectProperty(s, "tabs", "1134 2835 "); },
        [](auto &, auto &p) {
            QStringList tabs;
            for (const TabStop &tab : p.style.tabs)
                tabs << QString::number(tab.positionTwips);
            return expectTrue(tabs == QStringList{"1134", "2835"}, tabs.join(' '));
        });
    row(
        "indents", "retraits",
        [](auto &, auto &s) {
            const double left = toTwips(s.properties.value(QStringLiteral("fo:margin-left")));
            const double right = toTwips(s.properties.value(QStringLiteral("fo:margin-right")));
            return expectTrue(std::abs(left - 567) < 3 && std::abs(right - 1134) < 3,
                              QStringLiteral("margins %1 and %2 twips").arg(left).arg(right));
        },
        [](auto &, auto &p) {
            return expectTrue(
                p.style.leftIndentTwips == 567 && p.style.rightIndentTwips == 1134,
                QStringLiteral("%1 %2").arg(p.style.leftIndentTwips).arg(p.style.rightIndentTwips));
        });
    row(
        "centred", "centre", [](auto &, auto &s) { return expectProperty(s, "fo:text-align", "center"); },
        [](auto &, auto &p) {
            return expectTrue(p.style.alignment == ParagraphAlignment::Center, "not centred");
        });
    row(
        "right", "droite", [](auto &, auto &s) { return expectProperty(s, "fo:text-align", "end"); },
        [](auto &, auto &p) {
            return expectTrue(p.style.alignment == ParagraphAlignment::Right, "not right");
        });
    row(
        "left", "gauche",
        [](auto &, auto &s) {
            const QString align = s.properties.value(QStringLiteral("fo:text-align"));
            return expectTrue(align.isEmpty() || align == "start" || align == "left", align);
        },
        [](auto &, auto &p) {
            return expectTrue(p.style.alignment == ParagraphAlignment::Left, "not left");
        });
    row(
        "protected", "protege",
        [](auto &, auto &) { return QString(); }, // LibreOffice has no protected characters: found as text
        [](auto &r, auto &) { return expectTrue(r.style.protectedText, "not protected"); });
    row(
        "PNG and JPEG pictures", "images",
        [](auto &odf, auto &) {
            return expectTrue(odf.images.contains("image/png") && odf.images.contains("image/jpeg"),
                              odf.images.join(' '));
        },
        [](auto &, auto &p) {
            int pictures = 0;
            for (const TextRun &r : p.runs)
                pictures += r.object && !r.object->image.isNull();
            return expectTrue(pictures == 2, QStringLiteral("%1 pictures").arg(pictures));
        });
    row(
        "ion-formula picture", "formule",
        [](auto &odf, auto &s) { return expectPictureIn(odf, s, ionPicture()); },
        [](auto &, auto &p) { return expectPictureIn(p, ionPicture()); });
    row(
        "embedded object", "objet",
        [](auto &odf, auto &s) { return expectPictureIn(odf, s, objectPicture()); },
        [](auto &, auto &p) { return expectPictureIn(p, objectPicture()); });
}

void tst_LibreOfficeInterop::editorToLibreOffice()
{
    QFETCH(QString, word);
    QFETCH(OdfCheck, inOdf);
    const Segment *segment = segmentWith(m_odf, word);
    QVERIFY2(segment, qPrintable(QStringLiteral("\"%1\" is not in LibreOffice's document").arg(word)));
    const QString fault = inOdf(m_odf, *segment);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void tst_LibreOfficeInterop::libreOfficeToEditor()
{
    QFETCH(QString, word);
    QFETCH(RtfCheck, inRtf);
    if (QByteArray(QTest::currentDataTag()) == "protected")
        QSKIP("LibreOffice keeps no character protection: its RTF has no \\protect to read back");
    const auto [run, paragraph] = runWith(m_back, word);
    QVERIFY2(run, qPrintable(QStringLiteral("\"%1\" is not in LibreOffice's RTF").arg(word)));
    const QString fault = inRtf(*run, *paragraph);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

QTEST_MAIN(tst_LibreOfficeInterop)
#include "tst_libreofficeinterop.moc"
