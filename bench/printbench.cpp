// Timing of "&Imprimer" on a PDF printer; run by hand, not by ctest.
//   printbench            a formatted text of at least 50 pages printed to a PDF file
#include "richtext/richtextfactory.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Exercise-like paragraphs: bold titles, subscripts and exponents, tab stops, a small picture
// every twenty paragraphs.
QByteArray pictureHex()
{
    QImage image(80, 40, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

QByteArray sampleRtf(int paragraphs)
{
    const QByteArray picture = pictureHex();
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New "
        "Roman;}}\\fs20 ";
    for (int i = 0; i < paragraphs; ++i) {
        rtf += "\\pard\\tx1134\\tx2268 {\\b Question " + QByteArray::number(i + 1) + "}\\tab ";
        rtf += "On dissout m = 2,5 g de CuSO{\\sub 4} dans V = 250 mL d'eau ; la concentration vaut "
               "c = 6,3.10{\\super -2} mol.L{\\super -1}. {\\f1\\i Calculer la quantit\\'e9 de mati\\'e8re "
               "et comparer au r\\'e9sultat de la question pr\\'e9c\\'e9dente.}\\par ";
        if (i % 20 == 19)
            rtf += "{\\pict\\pngblip\\picw80\\pich40\\picwgoal1200\\pichgoal600 " + picture + "}\\par ";
    }
    return rtf + "}";
}

int pageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(file.readAll())); it.hasNext(); it.next())
        ++pages;
    return pages;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const auto exo = createRichTextControl();
    exo->setTextRtf(sampleRtf(1500));
    exo->setSelection({0, 0});
    const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));
    QElapsedTimer timer;
    timer.start();
    bool printed = false;
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        printed = exo->printSelection(writer);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    const int pages = pageCount(pdf);
    std::printf("print to PDF: %d pages in %.3f s (%.1f ms a page), %s; target: 50 pages under 2 s\n", pages,
                seconds, pages > 0 ? seconds * 1000 / pages : 0.0, printed ? "ok" : "FAILED");
    return printed && pages >= 50 ? 0 : 1;
}
