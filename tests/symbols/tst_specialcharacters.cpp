#include "richtext/richtextfactory.h"
#include "symbols/specialcharacters.h"
#include "symbols/specialcharsdialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

namespace {

// A caret after "ab" in 16-point italic red text; the tool bar's font box reads "Arial".
struct Fixture
{
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    std::unique_ptr<RichTextControl> tampontext = createRichTextControl();
    QString fontBox = QStringLiteral("Arial");
    SpecialCharacters characters{
        *exo, *tampontext, {[this] { return fontBox; }, [this](const QString &name) { fontBox = name; }}};

    Fixture()
    {
        exo->setSelFontName(QStringLiteral("Arial"));
        exo->setSelFontSize(16);
        exo->setSelItalic(true);
        exo->setSelColor(qRgb(255, 0, 0));
        exo->setSelText("ab");
    }
};

const QStringList fonts{"Wingdings", "Symbol", "Arial", "DejaVu Sans"};

} // namespace

class tst_SpecialCharacters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void insertsInTheGridFontWithTheCaretFormat();
    void keepsTheOffsetOfASuperscript();
    void clicksFollowOneAnother();
    void blankFontBoxTypesOnInTheFirstCharactersFont();
    void grid_data();
    void grid();
    void cellCharacters_data();
    void cellCharacters();
    void onlyAPickedNameChangesTheGrid();
    void pressAndReleaseColours();
};

void tst_SpecialCharacters::insertsInTheGridFontWithTheCaretFormat()
{
    Fixture f;
    f.characters.insert(QStringLiteral("Wingdings"), 74);
    f.exo->setSelText("x");
    QCOMPARE(f.exo->text(), QByteArray("abJx"));
    f.exo->setSelection({2, 1});
    QCOMPARE(f.exo->selFontName().valueOr({}), QStringLiteral("Wingdings"));
    QCOMPARE(f.exo->selFontSize().valueOr(0), 16.0);
    QCOMPARE(f.exo->selItalic().valueOr(false), true);
    QCOMPARE(f.exo->selColor().valueOr(0), qRgb(255, 0, 0));
    f.exo->setSelection({3, 1});
    QCOMPARE(f.exo->selFontName().valueOr({}), QStringLiteral("Arial")); // the font box's font
    QCOMPARE(f.fontBox, QStringLiteral("Arial"));
}

void tst_SpecialCharacters::keepsTheOffsetOfASuperscript()
{
    Fixture f;
    f.exo->setSelCharOffset(80);
    f.characters.insert(QStringLiteral("Symbol"), 97);
    f.exo->setSelection({2, 1});
    QCOMPARE(f.exo->selCharOffset().valueOr(0), 80);
    QCOMPARE(f.exo->selFontName().valueOr({}), QStringLiteral("Symbol"));
}

void tst_SpecialCharacters::clicksFollowOneAnother()
{
    Fixture f;
    f.exo->setSelection({1, 0});
    f.characters.insert(QStringLiteral("Wingdings"), 74);
    f.characters.insert(QStringLiteral("Wingdings"), 75);
    QCOMPARE(f.exo->text(), QByteArray("aJKb"));
    QCOMPARE(f.exo->selection(), (TextRange{3, 0}));
    f.exo->undo(); // one click, one undo step
    QCOMPARE(f.exo->text(), QByteArray("aJb"));
}

void tst_SpecialCharacters::blankFontBoxTypesOnInTheFirstCharactersFont()
{
    // Over several fonts the box is blank: what is typed next must not come out in the grid's
    // font (a "z" in Symbol shows a zeta).
    Fixture f;
    f.exo->setSelection({2, 0});
    f.exo->setSelFontName(QStringLiteral("Times New Roman"));
    f.exo->setSelText("cd");
    f.exo->setSelection({1, 2}); // "b" in Arial, "c" in Times
    QVERIFY(f.exo->selFontName().isMixed());
    f.fontBox = QStringLiteral(" ");
    f.characters.insert(QStringLiteral("Symbol"), 97);
    f.exo->setSelText("z");
    QCOMPARE(f.exo->text(), QByteArray("aazd"));
    f.exo->setSelection({2, 1});
    QCOMPARE(f.exo->selFontName().valueOr({}), QStringLiteral("Arial"));
}

void tst_SpecialCharacters::grid_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("code");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("top left") << 0 << 40 << QPoint(8, 16);
    QTest::newRow("top right") << 26 << 66 << QPoint(8 + 24 * 26, 16);
    QTest::newRow("second row") << 27 << 67 << QPoint(8, 40);
    QTest::newRow("bottom right") << 215 << 255 << QPoint(8 + 24 * 26, 16 + 24 * 7);
}

void tst_SpecialCharacters::grid()
{
    QFETCH(int, index);
    QFETCH(int, code);
    QFETCH(QPoint, topLeft);

    SpecialCharsDialog dialog(QStringLiteral("Wingdings"), fonts, {});
    QCOMPARE(dialog.objectName(), QStringLiteral("echanti"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Caractères spéciaux"));
    QCOMPARE(dialog.findChildren<CharacterCell *>().size(), 216);
    auto *cell = dialog.findChild<CharacterCell *>(QStringLiteral("Label1(%1)").arg(index));
    QVERIFY(cell);
    QCOMPARE(cell->code(), code);
    QCOMPARE(cell->geometry(), QRect(topLeft, QSize(25, 25)));
    QVERIFY(cell->accessibleName().startsWith(QString::number(code)));
    auto *box = dialog.findChild<QComboBox *>(QStringLiteral("Combo1"));
    QCOMPARE(box->currentText(), QStringLiteral("Wingdings"));
    QCOMPARE(box->itemText(0), QStringLiteral("Arial")); // sorted
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("Fermer"));
}

void tst_SpecialCharacters::cellCharacters_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown"); // empty: an empty cell

    QTest::newRow("Wingdings smiley through the mapping") << "Wingdings" << 74 << "☺";
    // The OK hand has no Unicode character of 16 bits: it shows the look-alike the text shows.
    QTest::newRow("Wingdings byte without a character") << "Wingdings" << 66 << "☝";
    QTest::newRow("Wingdings byte without any glyph") << "Wingdings" << 127 << "";
    QTest::newRow("Symbol alpha") << "Symbol" << 97 << "α";
    QTest::newRow("Arial e acute") << "DejaVu Sans" << 233 << "é";
    QTest::newRow("undefined Windows-1252 byte") << "DejaVu Sans" << 0x81 << "";
}

void tst_SpecialCharacters::cellCharacters()
{
    QFETCH(QString, font);
    QFETCH(int, code);
    QFETCH(QString, shown);

    const QChar c = SpecialCharsDialog::cellCharacter(font, uchar(code));
    QCOMPARE(c.isNull() ? QString() : QString(c), shown);
    SpecialCharsDialog dialog(font, fonts, {});
    auto *cell = dialog.findChild<CharacterCell *>(QStringLiteral("Label1(%1)").arg(code - 40));
    QCOMPARE(cell->text(), shown);
}

void tst_SpecialCharacters::onlyAPickedNameChangesTheGrid()
{
    QString insertedFont;
    SpecialCharsDialog dialog(QStringLiteral("Wingdings"), fonts,
                              [&](const QString &font, unsigned char) { insertedFont = font; });
    auto *box = dialog.findChild<QComboBox *>(QStringLiteral("Combo1"));
    box->setCurrentText(QStringLiteral("Typed Font"));
    QCOMPARE(dialog.gridFont(), QStringLiteral("Wingdings"));
    auto *cell = dialog.findChild<CharacterCell *>(QStringLiteral("Label1(34)"));
    QTest::mouseClick(cell, Qt::LeftButton);
    QCOMPARE(insertedFont, QStringLiteral("Typed Font")); // used for the insertion only

    const int symbol = box->findText(QStringLiteral("Symbol"));
    box->setCurrentIndex(symbol);
    Q_EMIT box->activated(symbol);
    QCOMPARE(dialog.gridFont(), QStringLiteral("Symbol"));
    QCOMPARE(dialog.findChild<CharacterCell *>(QStringLiteral("Label1(57)"))->text(), QStringLiteral("α"));
}

void tst_SpecialCharacters::pressAndReleaseColours()
{
    SpecialCharsDialog dialog(QStringLiteral("Wingdings"), fonts, {});
    auto *cell = dialog.findChild<CharacterCell *>(QStringLiteral("Label1(0)"));
    QTest::mousePress(cell, Qt::LeftButton);
    QCOMPARE(cell->palette().color(QPalette::Window), QColor(0, 0, 128));
    QCOMPARE(cell->palette().color(QPalette::WindowText), QColor(Qt::white));
    QTest::mouseRelease(cell, Qt::LeftButton);
    QCOMPARE(cell->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(cell->palette().color(QPalette::WindowText), QColor(Qt::black));
}

QTEST_MAIN(tst_SpecialCharacters)
#include "tst_specialcharacters.moc"
