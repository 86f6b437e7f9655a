#include "rtf/symbolencoding.h"
#include "rtf/symbolglyphs.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

// Symbol-font bytes must be drawn whatever answers to "Symbol" on the machine: nothing, the
// symbol-encoded URW substitute, or a real symbol-encoded font of that name.
namespace {

// Some pixels inked when `text` is drawn in `family` alone, with no fallback font.
bool inks(const QString &family, const QString &text)
{
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setPixelSize(40);
    QImage image(64, 64, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(8, 48), text);
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] < 128)
                return true;
        }
    }
    return false;
}

QByteArray be16(quint16 v)
{
    QByteArray b(2, '\0');
    qToBigEndian(v, b.data());
    return b;
}

QByteArray be32(quint32 v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

// A TrueType font named "Symbol" with a symbol cmap (3,0) like the real one: bytes 0x20-0xFF
// at U+F020-U+F0FF, every one a square, and nothing at any Unicode letter.
QByteArray symbolEncodedFont()
{
    const QByteArray square = be16(1) + be16(100) + be16(0) + be16(500) + be16(700) + be16(3) + be16(0) +
                              QByteArray("\x01\x01\x01\x01", 4) + be16(100) + be16(0) + be16(300) + be16(0) +
                              be16(0) + be16(700) + be16(0) + be16(0) + be16(65536 - 700);
    const QByteArray glyf = square;
    const QByteArray loca = be16(0) + be16(0) + be16(quint16(square.size() / 2));
    const QByteArray head = be32(0x00010000) + be32(0x00010000) + be32(0) + be32(0x5F0F3CF5) + be16(0) +
                            be16(1000) + QByteArray(16, '\0') + be16(100) + be16(0) + be16(500) + be16(700) +
                            be16(0) + be16(8) + be16(2) + be16(0) + be16(0);
    const QByteArray hhea = be32(0x00010000) + be16(800) + be16(65536 - 200) + be16(0) + be16(600) + be16(0) +
                            be16(100) + be16(500) + be16(1) + be16(0) + be16(0) + QByteArray(8, '\0') +
                            be16(0) + be16(2);
    const QByteArray hmtx = be16(600) + be16(0) + be16(600) + be16(100);
    const QByteArray maxp =
        be32(0x00010000) + be16(2) + be16(4) + be16(1) + be16(0) + be16(0) + be16(2) + QByteArray(18, '\0');
    // Format 4, two segments: F020-F0FF all to glyph 1, and the closing FFFF.
    const QByteArray subtable = be16(4) + be16(32) + be16(0) + be16(4) + be16(4) + be16(1) + be16(0) +
                                be16(0xF0FF) + be16(0xFFFF) + be16(0) + be16(0xF020) + be16(0xFFFF) +
                                be16(quint16(1 - 0xF020)) + be16(1) + be16(0) + be16(0);
    const QByteArray cmap = be16(0) + be16(1) + be16(3) + be16(0) + be32(12) + subtable;
    QByteArray names;
    QByteArray records;
    const std::pair<int, QString> entries[] = {{1, QStringLiteral("Symbol")},
                                               {2, QStringLiteral("Regular")},
                                               {4, QStringLiteral("Symbol")},
                                               {6, QStringLiteral("Symbol")}};
    for (const auto &[id, value] : entries) {
        QByteArray utf16;
        for (const QChar c : value)
            utf16 += be16(c.unicode());
        records += be16(3) + be16(0) + be16(0x409) + be16(quint16(id)) + be16(quint16(utf16.size())) +
                   be16(quint16(names.size()));
        names += utf16;
    }
    const QByteArray name = be16(0) + be16(4) + be16(quint16(6 + records.size())) + records + names;
    const QByteArray post = be32(0x00030000) + QByteArray(28, '\0');
    const std::pair<const char *, QByteArray> tables[] = {{"cmap", cmap}, {"glyf", glyf}, {"head", head},
                                                          {"hhea", hhea}, {"hmtx", hmtx}, {"loca", loca},
                                                          {"maxp", maxp}, {"name", name}, {"post", post}};
    const int count = int(std::size(tables));
    QByteArray font = be32(0x00010000) + be16(quint16(count)) + be16(128) + be16(3) + be16(16);
    QByteArray data;
    quint32 offset = quint32(12 + 16 * count);
    for (const auto &[tag, table] : tables) {
        font += QByteArray(tag, 4) + be32(0) + be32(offset) + be32(quint32(table.size()));
        QByteArray padded = table;
        while (padded.size() % 4)
            padded += '\0';
        data += padded;
        offset += quint32(padded.size());
    }
    return font + data;
}

QString urwSymbolFile()
{
    for (const char *path : {"/usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf",
                             "/usr/share/fonts/type1/urw-base35/StandardSymbolsPS.t1"}) {
        if (QFile::exists(QLatin1String(path)))
            return QLatin1String(path);
    }
    return {};
}

} // namespace

class tst_SymbolGlyphs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { SymbolGlyphs::forgetFonts(); }

    void drawsTheUnicodeGlyph_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("text");
        const QString setups[] = {QStringLiteral("as installed"), QStringLiteral("URW substitute"),
                                  QStringLiteral("real Symbol font")};
        for (const QString &setup : setups) {
            auto row = [&](const char *what, const char *font, int byte, const QString &text) {
                QTest::addRow("%s, %s", qPrintable(setup), what) << setup << font << byte << text;
            };
            row("lambda", "Symbol", 0x6C, QStringLiteral("λ"));
            row("Delta", "Symbol", 0x44, QStringLiteral("Δ"));
            row("alpha", "Symbol", 0x61, QStringLiteral("α"));
            row("Wingdings check mark", "Wingdings", 0xFC, QStringLiteral("✔"));
            row("Zapf Dingbats check mark", "Zapf Dingbats", 0x33, QStringLiteral("✓"));
            row("Zapf Dingbats star", "Zapf Dingbats", 0x48, QStringLiteral("★"));
        }
    }

    void drawsTheUnicodeGlyph()
    {
        QFETCH(QString, setup);
        QFETCH(QString, font);
        QFETCH(int, byte);
        QFETCH(QString, text);
        if (setup == QLatin1String("URW substitute")) {
            const QString file = urwSymbolFile();
            if (file.isEmpty())
                QSKIP("fonts-urw-base35 is not installed: no Standard Symbols PS to stand in for Symbol");
            QVERIFY(QFontDatabase::addApplicationFont(file) >= 0);
            QFont::insertSubstitution(QStringLiteral("Symbol"), QStringLiteral("Standard Symbols PS"));
            // The fault this guards: the substitute has no Unicode lambda to draw.
            QVERIFY(!inks(QStringLiteral("Standard Symbols PS"), QStringLiteral("λ")));
        } else if (setup == QLatin1String("real Symbol font")) {
            static const int id = QFontDatabase::addApplicationFontFromData(symbolEncodedFont());
            QVERIFY(id >= 0);
            QVERIFY(QFontDatabase::applicationFontFamilies(id).contains(QStringLiteral("Symbol")));
        }
        const SymbolGlyph glyph = SymbolGlyphs::glyph(font, uchar(byte));
        QCOMPARE(glyph.text, text);
        QVERIFY2(!SymbolEncoding::isSymbolFont(glyph.family), qPrintable(glyph.family));
        QVERIFY2(glyph.family != QLatin1String("Standard Symbols PS"), qPrintable(glyph.family));
        QVERIFY2(inks(glyph.family, glyph.text), qPrintable(glyph.family));
    }

    void bytesWithoutUnicodeStayInTheirFont()
    {
        const SymbolGlyph glyph = SymbolGlyphs::glyph(QStringLiteral("Webdings"), 0x61);
        QCOMPARE(glyph.text, QString(QChar(0xF061)));
        QCOMPARE(glyph.family, QStringLiteral("Webdings"));
        QCOMPARE(SymbolGlyphs::glyph(QStringLiteral("Symbol"), 0x20).family, QStringLiteral("Symbol"));
    }
};

QTEST_MAIN(tst_SymbolGlyphs)
#include "tst_symbolglyphs.moc"
