#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedclipboard.h"
#include "symbols/ionformulacommand.h"
#include "symbols/ionformuladialog.h"
#include "symbols/ionformulapicture.h"
#include "symbols/symbolhooks.h"

#include <QFontMetricsF>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <cmath>

namespace {

const IonFormula sulfate{QStringLiteral("SO"), QStringLiteral("2-"), QStringLiteral("4")};

IonFormulaStyle style12()
{
    IonFormulaStyle style;
    style.fontName = QStringLiteral("DejaVu Sans");
    style.size = 12;
    style.colour = qRgb(200, 0, 0);
    return style;
}

int twips(double pixels)
{
    return int(std::lround(pixels * 15));
}

// The picture built the long way, as the composer was first written: a first canvas H high
// with the base and the lower script, pasted into a second canvas 4 s lower, the upper script
// drawn over it. All in twips on 96-dpi pixels.
QImage twoCanvases(const IonFormula &formula, const IonFormulaStyle &style)
{
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(3780);
    probe.setDotsPerMeterY(3780);
    QFont base(style.fontName);
    base.setPointSizeF(style.size);
    QFont script = base;
    script.setPointSizeF(0.8 * style.size);
    const QFontMetricsF baseMetrics(base, &probe);
    const QFontMetricsF scriptMetrics(script, &probe);
    const int s = int(style.size);
    const int W = twips(baseMetrics.horizontalAdvance(formula.base));
    const int H = twips(baseMetrics.height());
    const int X = std::max(twips(scriptMetrics.horizontalAdvance(formula.upper)),
                           twips(scriptMetrics.horizontalAdvance(formula.lower)));
    const auto canvas = [](int widthTwips, int heightTwips) {
        QImage image(int(std::lround(widthTwips / 15.0)), int(std::lround(heightTwips / 15.0)),
                     QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        return image;
    };
    QImage first = canvas(W + X + 4, H);
    {
        QPainter painter(&first);
        painter.setPen(QColor::fromRgb(style.colour));
        painter.setFont(base);
        painter.drawText(QPointF(0, baseMetrics.ascent()), formula.base);
        painter.setFont(script);
        painter.drawText(QPointF(W / 15.0, (6 * s + 15) / 15.0 + scriptMetrics.ascent()), formula.lower);
    }
    QImage second = canvas(W + X + 4, H + 4 * s);
    QPainter painter(&second);
    painter.drawImage(QPointF(0, 4 * s / 15.0), first);
    painter.setPen(QColor::fromRgb(style.colour));
    painter.setFont(script);
    painter.drawText(QPointF(W / 15.0, -45 / 15.0 + scriptMetrics.ascent()), formula.upper);
    painter.end();
    return second;
}

// The format memory as the main window will run it: memoriser keeps the size, and the
// selection change that the paste raises gives it back.
struct Fixture
{
    EditorState state;
    ScriptedClipboard clipboard;
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    SymbolHooks hooks;
    double remembered = 0;
    IonFormulaRequest seen;
    double sizeWhileOpen = 0;
    bool pressOk = true;
    IonFormulaCommand command{state, *exo, clipboard, hooks, [this](IonFormulaRequest &request) {
                                  seen = request;
                                  sizeWhileOpen = exo->selFontSize().valueOr(0);
                                  request.formula = sulfate;
                                  request.accepted = pressOk;
                              }};

    Fixture()
    {
        hooks.memoriser = [this] { remembered = exo->selFontSize().valueOr(0); };
        hooks.pasteClipboard = [this] {
            exo->insertPicture(clipboard.image());
            if (state.formatRestorePending == 1) {
                exo->setSelFontSize(remembered);
                state.formatRestorePending = 0;
            }
        };
        command.setDevicePixelRatioSource([] { return 1.0; });
    }
};

} // namespace

Q_DECLARE_METATYPE(IonFormula)

class tst_IonFormula : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void pictureFollowsTheResult_data();
    void pictureFollowsTheResult();
    void highDensityScreenKeepsTheSizeInPoints();
    void smallTextIsRaisedWhileOpenAndGivenBack();
    void cancelInsertsNothing();
    void dialogStartsFromTheSelectionFormat();
    void dialogDefaults();
    void dialogGivesTheBoxesBack();
};

void tst_IonFormula::pictureFollowsTheResult_data()
{
    QTest::addColumn<IonFormula>("formula");
    QTest::addColumn<double>("size");

    QTest::newRow("sulfate at 12 points") << sulfate << 12.0;
    QTest::newRow("ammonium at 20 points") << IonFormula{"NH", "+", "4"} << 20.0;
    QTest::newRow("long charge") << IonFormula{"PO", "3-", "4"} << 10.0;
}

void tst_IonFormula::pictureFollowsTheResult()
{
    QFETCH(IonFormula, formula);
    QFETCH(double, size);
    IonFormulaStyle style = style12();
    style.size = size;

    const IonFormulaLayout layout = IonFormulaPicture::measure(formula, style);
    const QImage picture = IonFormulaPicture::compose(formula, style);
    QCOMPARE(picture.size(), QSize(int(std::lround(layout.widthTwips() / 15.0)),
                                   int(std::lround((layout.lineHeight + 4 * size) / 15.0))));
    QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), twoCanvases(formula, style));
    // The upper script's top 45 twips are outside: the top row carries ink of it.
    bool inkOnTop = false;
    for (int x = 0; x < picture.width(); ++x)
        inkOnTop = inkOnTop || picture.pixel(x, 0) != qRgb(255, 255, 255);
    QVERIFY(inkOnTop || formula.upper == QLatin1String("+"));
}

void tst_IonFormula::highDensityScreenKeepsTheSizeInPoints()
{
    const QImage normal = IonFormulaPicture::compose(sulfate, style12(), 1);
    const QImage sharp = IonFormulaPicture::compose(sulfate, style12(), 2);
    QCOMPARE(sharp.size(), normal.size() * 2);
    QCOMPARE(sharp.deviceIndependentSize(), QSizeF(normal.size()));

    auto text = createRichTextControl();
    text->insertPicture(sharp);
    QCOMPARE(text->objectAt(0).sizePx, normal.size());
    const QByteArray saved = text->textRtf();
    const QByteArray width = "\\picwgoal" + QByteArray::number(normal.width() * 15);
    const QByteArray height = "\\pichgoal" + QByteArray::number(normal.height() * 15);
    QVERIFY2(saved.contains(width), saved.left(400));
    QVERIFY2(saved.contains(height), saved.left(400));
    auto reloaded = createRichTextControl();
    reloaded->setTextRtf(saved);
    QCOMPARE(reloaded->objectCount(), 1);
    QCOMPARE(reloaded->objectAt(0).sizePx, normal.size());
}

void tst_IonFormula::smallTextIsRaisedWhileOpenAndGivenBack()
{
    Fixture f;
    f.exo->setSelFontSize(8);
    f.exo->setSelText("x");
    f.command.run();

    QCOMPARE(f.sizeWhileOpen, 10.0);
    QCOMPARE(f.seen.style.size, 10.0);
    QCOMPARE(f.state.ionFormulaReady, int16_t(1));
    QCOMPARE(f.clipboard.log(), (QStringList{"clear", "setImage"}));
    QCOMPARE(f.exo->objectCount(), 1);
    QCOMPARE(f.exo->selFontSize().valueOr(0), 8.0); // typing goes on at 8 points
    QCOMPARE(f.state.formatRestorePending, int16_t(0));
}

void tst_IonFormula::cancelInsertsNothing()
{
    Fixture f;
    f.pressOk = false;
    f.exo->setSelFontSize(8);
    f.command.run();
    QCOMPARE(f.state.ionFormulaReady, int16_t(0));
    QCOMPARE(f.exo->objectCount(), 0);
    QVERIFY(f.clipboard.log().isEmpty());
    // The 10-point minimum stays until the format memory's next selection change.
    QCOMPARE(f.exo->selFontSize().valueOr(0), 10.0);
    QCOMPARE(f.state.formatRestorePending, int16_t(1));
}

void tst_IonFormula::dialogStartsFromTheSelectionFormat()
{
    Fixture f;
    f.exo->setSelFontName(QStringLiteral("Times New Roman"));
    f.exo->setSelFontSize(12);
    f.exo->setSelBold(true);
    f.exo->setSelColor(qRgb(255, 0, 0));
    f.command.run();
    QCOMPARE(f.seen.style.fontName, QStringLiteral("Times New Roman"));
    QCOMPARE(f.seen.style.size, 12.0);
    QCOMPARE(f.seen.style.bold, true);
    QCOMPARE(f.seen.style.italic, false);
    QCOMPARE(f.seen.style.colour, qRgb(255, 0, 0));
}

void tst_IonFormula::dialogDefaults()
{
    IonFormulaRequest request;
    request.style = style12();
    request.style.bold = true;
    IonFormulaDialog dialog(request);
    QCOMPARE(dialog.objectName(), QStringLiteral("polyion"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Insertion de la formule d'un ion polyatomique"));
    auto *frame = dialog.findChild<QGroupBox *>(QStringLiteral("Frame1"));
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Formule"));
    // The design's 15 x (5 x 12 + 20) twips, grown by what the boxes need beyond theirs.
    QVERIFY(frame->height() * 15 >= 1200);
    auto *base = dialog.findChild<QLineEdit *>(QStringLiteral("baset"));
    auto *upper = dialog.findChild<QLineEdit *>(QStringLiteral("Text2"));
    auto *lower = dialog.findChild<QLineEdit *>(QStringLiteral("Text3"));
    QVERIFY(base && upper && lower);
    QVERIFY(base->text().isEmpty() && upper->text().isEmpty() && lower->text().isEmpty());
    QCOMPARE(base->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(base->font().pointSizeF(), 12.0);
    QVERIFY(base->font().bold());
    QCOMPARE(upper->font().pointSizeF(), 9.6);
    QCOMPARE(lower->font().pointSizeF(), 9.6);
    // At least the design's heights (2 s and 0.8 s x 1.5), and tall enough for their fonts;
    // the base starts two thirds down the upper box, the lower box halfway down the base.
    QVERIFY(base->height() >= 24);
    QVERIFY(upper->height() >= int(std::lround(0.8 * 12 * 1.5)));
    QVERIFY(upper->height() >= upper->minimumSizeHint().height());
    QVERIFY(base->height() >= base->minimumSizeHint().height());
    QCOMPARE(lower->height(), upper->height());
    QCOMPARE(base->y(), upper->y() + upper->height() * 2 / 3);
    QCOMPARE(lower->y(), base->y() + base->height() / 2);
    QCOMPARE(frame->height(), lower->y() + lower->height() + 2 * 12 + 4);
    QCOMPARE(dialog.height(), frame->y() + frame->height() + 30);
    QVERIFY(upper->y() >= 16);
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("Command3"));
    auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("Command2"));
    QVERIFY(ok && cancel);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Annuler"));
    QCOMPARE(dialog.focusWidget(), cancel);
    QList<QWidget *> tabOrder{cancel};
    for (QWidget *next = cancel->nextInFocusChain(); next != cancel && tabOrder.size() < 5;
         next = next->nextInFocusChain()) {
        if (next->focusPolicy() & Qt::TabFocus)
            tabOrder << next;
    }
    QCOMPARE(tabOrder, (QList<QWidget *>{cancel, ok, upper, lower, base}));
}

void tst_IonFormula::dialogGivesTheBoxesBack()
{
    IonFormulaRequest request;
    request.style = style12();
    IonFormulaDialog dialog(request);
    QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("baset")), QStringLiteral("SO"));
    QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("2-"));
    QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text3")), QStringLiteral("4"));
    dialog.findChild<QPushButton *>(QStringLiteral("Command3"))->click();
    const IonFormulaRequest back = dialog.request();
    QVERIFY(back.accepted);
    QCOMPARE(back.formula.base, QStringLiteral("SO"));
    QCOMPARE(back.formula.upper, QStringLiteral("2-"));
    QCOMPARE(back.formula.lower, QStringLiteral("4"));
}

QTEST_MAIN(tst_IonFormula)
#include "tst_ionformula.moc"
