#include "platform/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStandardPaths>
#include <QTest>

class tst_QtClipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QGuiApplication::clipboard()->clear(); }
    void rtfRoundTrip();
    void rtfIsOfferedUnderEveryName();
    void readsForeignRtf_data();
    void readsForeignRtf();
    void plainTextIsNotRtf();
    void imageRoundTrip();
    void clearEmptiesEverything();
};

void tst_QtClipboard::rtfRoundTrip()
{
    QtClipboard clipboard;
    const QByteArray rtf = QByteArrayLiteral("{\\rtf1\\ansi H{\\dn5 2}O}");
    clipboard.setRtf(rtf, QStringLiteral("H2O"));
    QVERIFY(clipboard.hasRtf());
    QCOMPARE(clipboard.rtf(), rtf);
    QCOMPARE(clipboard.text(), QStringLiteral("H2O"));
    QVERIFY(!clipboard.hasImage());
}

void tst_QtClipboard::rtfIsOfferedUnderEveryName()
{
    QtClipboard clipboard;
    clipboard.setRtf(QByteArrayLiteral("{\\rtf1 x}"), QStringLiteral("x"));
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(data->hasFormat(QStringLiteral("text/rtf")));
    QVERIFY(data->hasFormat(QStringLiteral("application/rtf")));
    QCOMPARE(data->text(), QStringLiteral("x"));
}

void tst_QtClipboard::readsForeignRtf_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray rtf = QByteArrayLiteral("{\\rtf1 y}");
    QTest::newRow("text/rtf") << "text/rtf" << rtf << rtf;
    QTest::newRow("application/rtf") << "application/rtf" << rtf << rtf;
    QTest::newRow("text/richtext holding RTF") << "text/richtext" << rtf << rtf;
    QTest::newRow("text/richtext of the other kind")
        << "text/richtext" << QByteArrayLiteral("<bold>y</bold>") << QByteArray();
    QTest::newRow("not RTF under an RTF name") << "text/rtf" << QByteArrayLiteral("hello") << QByteArray();
}

void tst_QtClipboard::readsForeignRtf()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    auto data = std::make_unique<QMimeData>();
    data->setData(format, bytes);
    QGuiApplication::clipboard()->setMimeData(data.release());
    QtClipboard clipboard;
    QCOMPARE(clipboard.rtf(), expected);
    QCOMPARE(clipboard.hasRtf(), !expected.isEmpty());
}

void tst_QtClipboard::plainTextIsNotRtf()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("plain"));
    QtClipboard clipboard;
    QVERIFY(!clipboard.hasRtf());
    QCOMPARE(clipboard.rtf(), QByteArray());
    QCOMPARE(clipboard.text(), QStringLiteral("plain"));
}

void tst_QtClipboard::imageRoundTrip()
{
    QtClipboard clipboard;
    clipboard.setRtf(QByteArrayLiteral("{\\rtf1 x}"), QStringLiteral("x"));
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    clipboard.setImage(image);
    QVERIFY(clipboard.hasImage());
    QVERIFY(!clipboard.hasRtf()); // a put replaces the whole content
    const QImage back = clipboard.image();
    QCOMPARE(back.size(), image.size());
    QCOMPARE(back.pixelColor(3, 3), QColor(10, 200, 30));
}

void tst_QtClipboard::clearEmptiesEverything()
{
    QtClipboard clipboard;
    clipboard.setRtf(QByteArrayLiteral("{\\rtf1 x}"), QStringLiteral("x"));
    clipboard.clear();
    QVERIFY(!clipboard.hasRtf());
    QVERIFY(!clipboard.hasImage());
    QCOMPARE(clipboard.text(), QString());
}

QTEST_MAIN(tst_QtClipboard)
#include "tst_qtclipboard.moc"
