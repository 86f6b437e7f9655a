#include "pdftext.h"
#include "platform/qtprinting.h"

#include <QFile>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The real PDF writer of the export: the file it leaves, and the one it must not spoil.
class tst_QtPrinting : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writesThePagesTheJobDraws()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("deux pages.pdf"));
        QtPrinting printing;
        QVERIFY(printing.printToPdf(path, QStringLiteral("deux pages"), [](QPagedPaintDevice &pdf) {
            QPainter painter(&pdf);
            painter.drawText(100, 100, QStringLiteral("Page un"));
            pdf.newPage();
            painter.drawText(100, 100, QStringLiteral("Page deux"));
            return true;
        }));
        QCOMPARE(pdfPageCount(path), 2);
        const std::optional<QString> text = pdfText(path);
        if (!text)
            QSKIP("pdftotext is not installed: the text cannot be read back");
        QVERIFY2(text->contains(QStringLiteral("Page deux")), qPrintable(*text));
    }

    void failedJobLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ancien.pdf"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien");
        old.close();
        QtPrinting printing;
        QVERIFY(!printing.printToPdf(path, QString(), [](QPagedPaintDevice &) { return false; }));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("ancien"));
        QVERIFY(!printing.printToPdf(dir.filePath(QStringLiteral("absent/x.pdf")), QString(),
                                     [](QPagedPaintDevice &) { return true; }));
    }
};

QTEST_MAIN(tst_QtPrinting)
#include "tst_qtprinting.moc"
