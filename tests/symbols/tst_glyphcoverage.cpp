#include "richtext/qtrichtextcontrol.h"
#include "richtext/richtextdocument.h"
#include "richtext/richtextfactory.h"
#include "rtf/symbolencoding.h"
#include "symbols/symbolpalette.h"
#include "symbols/symboltable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPainterPath>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <memory>

// Run as on a stock Debian desktop: fontconfig sees only the fonts Debian installs by default
// (DejaVu's core faces, Liberation, the URW fonts), whatever else this machine has. Every
// symbol of the palettes and every Symbol or Wingdings byte of a text must then show a glyph,
// never an empty box.
namespace {

const QStringList dejavuCore = {
    QStringLiteral("DejaVuSans.ttf"),     QStringLiteral("DejaVuSans-Bold.ttf"),
    QStringLiteral("DejaVuSansMono.ttf"), QStringLiteral("DejaVuSansMono-Bold.ttf"),
    QStringLiteral("DejaVuSerif.ttf"),    QStringLiteral("DejaVuSerif-Bold.ttf"),
};
const QString dejavuFolder = QStringLiteral("/usr/share/fonts/truetype/dejavu");
const QStringList otherFolders = {
    QStringLiteral("/usr/share/fonts/truetype/liberation"),
    QStringLiteral("/usr/share/fonts/opentype/urw-base35"),
    QStringLiteral("/usr/share/fonts/type1/urw-base35"),
};

QString g_missingFonts; // why the test skips; empty when the stock fonts are all here

// Builds the stock font set in `folder` and points fontconfig at it; must run before the
// application opens its font database.
void useStockFonts(const QString &folder)
{
    const QDir dir(folder);
    dir.mkpath(QStringLiteral("dejavu"));
    QStringList missing;
    for (const QString &file : dejavuCore) {
        const QString source = dejavuFolder + QLatin1Char('/') + file;
        if (!QFile::link(source, dir.filePath(QStringLiteral("dejavu/") + file)))
            missing << source;
    }
    QString dirs = QStringLiteral("<dir>%1</dir>\n").arg(dir.filePath(QStringLiteral("dejavu")));
    for (const QString &other : otherFolders) {
        if (!QDir(other).exists())
            missing << other;
        dirs += QStringLiteral("<dir>%1</dir>\n").arg(other);
    }
    if (!missing.isEmpty()) {
        g_missingFonts = QStringLiteral("Debian's default fonts are not all installed (fonts-dejavu-core, "
                                        "fonts-liberation, fonts-urw-base35): missing ") +
                         missing.join(QLatin1String(", "));
        return;
    }
    // The system's rules stay: among them, the aliases that answer "Symbol" with URW's
    // Symbol-encoded substitute, the case the display must survive.
    const QString config =
        QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                       "<fontconfig>\n%1<cachedir>%2</cachedir>\n"
                       "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n"
                       "</fontconfig>\n")
            .arg(dirs, dir.filePath(QStringLiteral("cache")));
    QFile file(dir.filePath(QStringLiteral("fonts.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
        g_missingFonts = QStringLiteral("cannot write the font configuration");
        return;
    }
    file.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(file.fileName()));
}

// The font the text is drawn in, as resolved on this machine, has an outline for `c`: no
// fallback through another font, which a stock desktop does not have for these characters.
QString missingGlyph(const QFont &requested, QChar c)
{
    QFont font = requested;
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(font);
    const QString used = QFontInfo(font).family();
    if (!raw.isValid())
        return QStringLiteral("no font for %1").arg(requested.family());
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString(c));
    if (!raw.supportsCharacter(c) || glyphs.size() != 1 || glyphs.first() == 0 ||
        raw.pathForGlyph(glyphs.first()).isEmpty())
        return QStringLiteral("U+%1 in %2").arg(c.unicode(), 4, 16, QLatin1Char('0')).arg(used);
    return {};
}

// A byte is expected to show when its font has a glyph for it: every byte of Wingdings but
// DEL, and every byte of Symbol that its encoding defines.
bool hasGlyphInItsFont(const QString &font, int byte)
{
    if (byte == 0x7F)
        return false;
    const char16_t u = SymbolEncoding::toUnicode(font, uchar(byte)).unicode();
    return font == QLatin1String("Wingdings") || u < 0xF000 || u > 0xF0FF;
}

} // namespace

class tst_GlyphCoverage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        if (!g_missingFonts.isEmpty())
            QSKIP(qPrintable(g_missingFonts));
    }

    void paletteButtonsShowTheirGlyphs()
    {
        SymbolPalette palette;
        palette.prepareButtons(12);
        QStringList missing;
        for (const SymbolButton &entry : SymbolTable::buttons()) {
            const QAbstractButton *button = palette.button(entry.index);
            QVERIFY(button);
            QCOMPARE(button->text().size(), 1);
            const QString fault = missingGlyph(button->font(), button->text().at(0));
            if (!fault.isEmpty())
                missing << QStringLiteral("%1 (%2 %3): %4")
                               .arg(entry.objectName(), entry.fontName)
                               .arg(entry.code)
                               .arg(fault);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String("\n   "))));
    }

    void symbolBytesInTheTextShowAGlyph_data()
    {
        QTest::addColumn<QString>("font");
        QTest::newRow("Symbol") << QStringLiteral("Symbol");
        QTest::newRow("Wingdings") << QStringLiteral("Wingdings");
    }

    void symbolBytesInTheTextShowAGlyph()
    {
        QFETCH(QString, font);
        QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset2 " + font.toLatin1() + ";}}\\f0 ";
        QList<int> bytes;
        for (int byte = 0x21; byte <= 0xFF; ++byte) {
            if (!hasGlyphInItsFont(font, byte))
                continue;
            bytes << byte;
            rtf += "\\'" + QByteArray::number(byte, 16).rightJustified(2, '0');
        }
        rtf += "}";
        const std::unique_ptr<RichTextControl> control = createRichTextControl();
        control->setTextRtf(rtf);
        auto *qt = dynamic_cast<QtRichTextControl *>(control.get());
        QVERIFY(qt);
        QCOMPARE(control->text().size(), bytes.size());

        QStringList missing;
        QTextCursor cursor(&qt->document());
        for (int i = 0; i < bytes.size(); ++i) {
            cursor.setPosition(i + 1);
            const QFont shownIn = cursor.charFormat().font();
            const QString fault = missingGlyph(shownIn, qt->document().characterAt(i));
            if (!fault.isEmpty())
                missing << QStringLiteral("byte %1: %2").arg(bytes.at(i)).arg(fault);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String("\n   "))));

        // What is shown is no part of what is saved: the bytes and the font come back as read.
        QByteArray expected;
        for (const int byte : std::as_const(bytes))
            expected += char(byte);
        QCOMPARE(control->text(), expected);
        control->setSelection({0, int(bytes.size())});
        QVERIFY(control->selFontName() == font);
        const std::unique_ptr<RichTextControl> reread = createRichTextControl();
        reread->setTextRtf(control->textRtf());
        QCOMPARE(reread->text(), expected);
        reread->setSelection({0, int(bytes.size())});
        QVERIFY(reread->selFontName() == font);
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir fonts;
    useStockFonts(fonts.path());
    QApplication app(argc, argv);
    tst_GlyphCoverage test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_glyphcoverage.moc"
