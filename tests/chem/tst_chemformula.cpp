#include "chem/chemformula.h"
#include "format/scriptaligner.h"
#include "format/scriptformat.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "scriptedclipboard.h"
#include "symbols/chemformulacommand.h"
#include "symbols/ionformulacommand.h"
#include "symbols/symbolhooks.h"

#include <QElapsedTimer>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

constexpr double kTextSize = 12;

struct Fixture
{
    EditorState state;
    ChemScriptSettings settings;
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    ChemFormulaCommand command{state, *exo, [this] { return settings; }};

    explicit Fixture(bool smallMode = true, const QString &font = QStringLiteral("DejaVu Sans"))
    {
        settings.smallMode = smallMode;
        command.setDevicePixelRatioSource([] { return 1.0; });
        exo->setSelFontName(font);
        exo->setSelFontSize(kTextSize);
    }
    void type(const QByteArray &text)
    {
        exo->setText(text);
        exo->setSelection({0, int(text.size())});
        exo->setSelFontName(QStringLiteral("DejaVu Sans"));
        exo->setSelFontSize(kTextSize);
        exo->clearUndo();
    }
};

// The text as runs: "|" between runs; a run is prefixed "_" when written as "&Indice" writes it,
// "^" as "E&xposant" does, "~" when raised by 5 x size; pictures read "[ion]" or "[arrows]"
// (3 h by h), a Symbol character "{code}". Anything else shows its offset and size.
QString describe(RichTextControl &text, const ChemScriptSettings &settings)
{
    const QByteArray chars = text.text();
    const double scriptSize = settings.smallMode ? ScriptFormat::kSmallScriptSize : kTextSize;
    const int index = ScriptFormat::scriptOffset(ScriptFormat::Index, kTextSize, settings.exponentStep,
                                                 settings.indexStep, settings.smallMode);
    const int exponent = ScriptFormat::scriptOffset(ScriptFormat::Exponent, kTextSize, settings.exponentStep,
                                                    settings.indexStep, settings.smallMode);
    QStringList runs;
    QString prefix = QStringLiteral("?");
    int object = 0;
    for (int p = 0; p < chars.size(); ++p) {
        text.setSelection({p, 1});
        const int offset = text.selCharOffset().valueOr(-9999);
        const double size = text.selFontSize().valueOr(-1);
        QString mark;
        if (offset == 0 && size == kTextSize)
            mark = QString();
        else if (offset == index && size == scriptSize)
            mark = QStringLiteral("_");
        else if (offset == exponent && size == scriptSize)
            mark = QStringLiteral("^");
        else if (offset == std::lround(5 * kTextSize) && size == kTextSize)
            mark = QStringLiteral("~");
        else
            mark = QStringLiteral("<%1/%2>").arg(offset).arg(size);
        if (chars.at(p) == ' ' && !text.equationAt(p).isEmpty()) {
            runs << mark + QStringLiteral("[%1]").arg(text.equationAt(p));
            prefix = QStringLiteral("?");
            continue;
        }
        if (chars.at(p) == ' ' && text.selRtf().contains("\\pict")) {
            const QSize pixels = text.objectAt(object++).sizePx;
            runs << mark + (pixels == QSize(36, 12) ? QStringLiteral("[arrows]") : QStringLiteral("[ion]"));
            prefix = QStringLiteral("?");
            continue;
        }
        if (text.selFontName() == QStringLiteral("Symbol")) {
            runs << mark + QStringLiteral("{%1}").arg(uchar(chars.at(p)));
            prefix = QStringLiteral("?");
            continue;
        }
        if (mark != prefix || runs.isEmpty())
            runs << mark;
        runs.last() += Cp1252::toUnicode(uchar(chars.at(p)));
        prefix = mark;
    }
    return runs.join(u'|');
}

// The reader's runs of `typed`, as the tool would print them: "|" between runs, "_" before an
// index, "^" before an exponent, "~" before raised text, "/x/" for italics, pictures as
// "[ion base lower upper]", "[nuclide symbol mass atomic]" or "[arrows]".
QString notation(const QString &typed)
{
    const QList<ChemRun> runs = ChemFormula::parse(typed);
    const QList<ChemWrittenRun> written = ChemFormula::written(typed, runs, kTextSize, ChemScriptSettings{});
    QStringList out;
    for (qsizetype r = 0; r < runs.size(); ++r) {
        const ChemRun &run = runs.at(r);
        const ChemWrittenRun &w = written.at(r);
        switch (run.kind) {
        case ChemRun::Baseline:
            out << (run.raised ? QStringLiteral("~") : QString()) + w.text;
            break;
        case ChemRun::Index:
            out << QStringLiteral("_") + w.text;
            break;
        case ChemRun::Exponent:
            out << QStringLiteral("^") + w.text;
            break;
        case ChemRun::Italic:
            out << QStringLiteral("/%1/").arg(w.text);
            break;
        case ChemRun::SymbolCharacter:
            out << w.text;
            break;
        case ChemRun::ReversibleArrows:
            out << QStringLiteral("[arrows]");
            break;
        case ChemRun::Ion:
        case ChemRun::Nuclide:
            out << QStringLiteral("[%1 %2 %3 %4]").arg(w.picture, w.text, w.lower, w.upper);
            break;
        case ChemRun::LabelledArrow:
            out << QStringLiteral("[%1 %2 %3 %4]").arg(w.picture, run.text, w.upper, w.lower);
            break;
        }
    }
    return out.join(u'|');
}

// Whether the runs of `typed` cover it in order without gap: the command writes them from the
// right by their spans, so a gap or an overlap would eat or double the typed text.
bool runsCover(const QString &typed, const QList<ChemRun> &runs)
{
    int at = 0;
    for (const ChemRun &run : runs) {
        if (run.start != at || run.length < 0)
            return false;
        at += run.length;
    }
    return at == typed.size();
}

QList<QJsonObject> toolLines(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral(VELIGRAM_TOOL), QStringList{"chem"} + args);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    QList<QJsonObject> lines;
    for (const QByteArray &line : tool.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            lines << QJsonDocument::fromJson(line).object();
    }
    return lines;
}

// The tool's lines in describe()'s form, for a text of kTextSize points in small mode.
QString describeTool(const QList<QJsonObject> &lines)
{
    QStringList runs;
    QString prefix = QStringLiteral("?");
    for (const QJsonObject &line : lines) {
        const int offset = line["offset"].toInt();
        const QString mark = offset == std::lround(5 * kTextSize) && line["size"].toDouble() == kTextSize
                                 ? QStringLiteral("~")
                             : offset > 0 ? QStringLiteral("^")
                             : offset < 0 ? QStringLiteral("_")
                                          : QString();
        const QString picture = line["picture"].toString();
        QString text = line["text"].toString();
        if (picture == QLatin1String("equation")) {
            runs << mark + QStringLiteral("[%1]").arg(line["equation"].toString());
        } else if (!picture.isEmpty()) {
            runs << mark + (picture == QLatin1String("arrows") ? QStringLiteral("[arrows]")
                                                               : QStringLiteral("[ion]"));
        } else if (line["font"] == QStringLiteral("Symbol")) {
            int code = 32;
            while (code < 256 && ChemFormula::symbolCharacter(uchar(code)) != text.at(0))
                ++code;
            runs << mark + QStringLiteral("{%1}").arg(code);
        } else {
            // The text's code page has no thin space: the command writes a no-break space.
            text.replace(ChemFormula::kNumberUnitSpace, QChar(0xA0));
            if (mark != prefix || runs.isEmpty())
                runs << mark;
            runs.last() += text;
            prefix = mark;
            continue;
        }
        prefix = QStringLiteral("?");
    }
    return runs.join(u'|');
}

QImage pngOf(const QByteArray &rtf)
{
    const QRegularExpression blip(QStringLiteral("\\\\pngblip[^ ]* ?([0-9a-fA-F\\s]+)\\}"));
    const QRegularExpressionMatch match = blip.match(QString::fromLatin1(rtf));
    QString hex = match.captured(1);
    hex.remove(QRegularExpression(QStringLiteral("\\s")));
    return QImage::fromData(QByteArray::fromHex(hex.toLatin1()), "PNG");
}

} // namespace

class tst_ChemFormula : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void formulasAreWrittenWithTheEditorsScripts_data();
    void formulasAreWrittenWithTheEditorsScripts();
    void offsetsFollowTheTwoFormulas_data();
    void offsetsFollowTheTwoFormulas();
    void readerOffsetsMatchTheButtons_data();
    void readerOffsetsMatchTheButtons();
    void wordsAreLeftAlone_data();
    void wordsAreLeftAlone();
    void ionsAreTheComposersPicture_data();
    void ionsAreTheComposersPicture();
    void notationReadsIons();
    void caretTakesTheFormulaEndingThere();
    void undoGivesTheTypedTextBack();
    void bulkAlignmentWorksOnTheResult();
    void savedDocumentKeepsTheScripts();
    void toolPrintsTheRuns();
    void commandAndToolWriteAlike_data();
    void commandAndToolWriteAlike();
    void notationIsRead_data();
    void notationIsRead();
    void toolPrintsTheNotation_data();
    void toolPrintsTheNotation();
    void badInputStaysBounded_data();
    void badInputStaysBounded();
};

void tst_ChemFormula::formulasAreWrittenWithTheEditorsScripts_data()
{
    QTest::addColumn<bool>("smallMode");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QString>("expected");
    const QList<std::pair<const char *, const char *>> rows = {
        {"H2O", "H|_2|O"},
        {"C6H12O6", "C|_6|H|_12|O|_6"},
        {"Ca(OH)2", "Ca(OH)|_2"},
        {"[Fe(CN)6]^3-", "[Fe(CN)|_6|]|^3-"},
        {"Fe^3+", "Fe|^3+"},
        {"Fe3+", "Fe|^3+"},
        {"O2-", "O|^2-"},
        {"O2", "O|_2"},
        {"Cl-", "Cl|^-"},
        {"e-", "e|^-"},
        {"H3O+", "H|_3|O|^+"},
        {"NH4+", "[ion]"},
        {"SO4^2-", "[ion]"},
        {"PO4^3-", "[ion]"},
        {"H2PO4-", "~H|_2|[ion]"},
        {"CuSO4.5H2O", "CuSO|_4|\u00b75H|_2|O"},
        {"2H2 + O2 -> 2H2O", "2H|_2| + O|_2| |{174}| 2H|_2|O"},
        {"A <- B <-> C", "A |{172}| B |{171}| C"},
        {"CH3COOH <=> CH3COO- + H+", "CH|_3|COOH |[arrows]| CH|_3|COO|^-| + H|^+"},
        {"Cu^2+(aq)", "Cu|^2+|(aq)"},
        {"Fe3+(aq)", "Fe|^3+|(aq)"},
        {"m.s^-2", "m\u00b7s|^-2"},
        {"10^-14", "10|^-14"},
        {"H2O(OH", "H|_2|O(OH"},       // unbalanced: formatted up to the fault
        {"CO2-laser", "CO|_2|-laser"}, // an unknown tail stays as typed
        {"Ca^{2+}", "Ca|^2+"},
        {"Cl^-{}_{(aq)}", "Cl|^-|_(aq)"},
        {"2 mol//L", "2\u00a0mol/L"}, // the text's code page has no thin space
        {"BaSO4 v", "BaSO|_4| |{175}"},
        {"\\alpha -> \\beta", "{97}| |{174}| |{98}"},
        {"^{238}_{92}U", "[ion]"},
    };
    for (const bool small : {true, false}) {
        for (const auto &[typed, expected] : rows) {
            QTest::addRow("%s %s", small ? "small" : "normal", typed)
                << small << QByteArray(typed) << QString::fromUtf8(expected);
        }
    }
}

void tst_ChemFormula::formulasAreWrittenWithTheEditorsScripts()
{
    QFETCH(bool, smallMode);
    QFETCH(QByteArray, typed);
    QFETCH(QString, expected);
    Fixture f(smallMode);
    f.type(typed);
    QVERIFY(f.command.run());
    QCOMPARE(describe(*f.exo, f.settings), expected);
    QVERIFY(f.exo->canUndo());
}

void tst_ChemFormula::offsetsFollowTheTwoFormulas_data()
{
    QTest::addColumn<bool>("smallMode");
    QTest::addColumn<int>("exponentStep");
    QTest::addColumn<int>("indexStep");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("offset");
    QTest::addColumn<double>("size");
    // Small mode: 8 points, +10 n / -10 n. Normal mode: size kept, +n s / -n s.
    QTest::newRow("small index") << true << 8 << 5 << QByteArray("H2O") << 1 << -50 << 8.0;
    QTest::newRow("small exponent") << true << 8 << 5 << QByteArray("Fe^3+") << 2 << 80 << 8.0;
    QTest::newRow("normal index") << false << 8 << 5 << QByteArray("H2O") << 1 << -60 << 12.0;
    QTest::newRow("normal exponent") << false << 8 << 5 << QByteArray("Fe^3+") << 3 << 96 << 12.0;
    QTest::newRow("normal steps") << false << 3 << 7 << QByteArray("H2O") << 1 << -84 << 12.0;
    QTest::newRow("small steps") << true << 3 << 7 << QByteArray("10^-14") << 3 << 30 << 8.0;
}

void tst_ChemFormula::offsetsFollowTheTwoFormulas()
{
    QFETCH(bool, smallMode);
    QFETCH(QByteArray, typed);
    QFETCH(int, position);
    Fixture f(smallMode);
    QFETCH(int, exponentStep);
    QFETCH(int, indexStep);
    f.settings.exponentStep = exponentStep;
    f.settings.indexStep = indexStep;
    f.type(typed);
    QVERIFY(f.command.run());
    f.exo->setSelection({position, 1});
    QTEST(f.exo->selCharOffset().valueOr(-1), "offset");
    QTEST(f.exo->selFontSize().valueOr(-1), "size");
}

void tst_ChemFormula::readerOffsetsMatchTheButtons_data()
{
    QTest::addColumn<bool>("smallMode");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("exponentStep");
    QTest::addColumn<int>("indexStep");
    QTest::newRow("small, default steps") << true << 12.0 << 8 << 5;
    QTest::newRow("normal 10.5 points rounds") << false << 10.5 << 3 << 7;
    QTest::newRow("normal 72 points, widest steps") << false << 72.0 << 20 << 20;
}

// The tool prints the reader's offsets while the command writes the buttons' ones: a change to
// either formula must show here.
void tst_ChemFormula::readerOffsetsMatchTheButtons()
{
    QFETCH(bool, smallMode);
    QFETCH(double, size);
    QFETCH(int, exponentStep);
    QFETCH(int, indexStep);
    const ChemScriptSettings settings{exponentStep, indexStep, smallMode};
    QCOMPARE(ChemFormula::scriptOffset(ChemRun::Index, size, settings),
             ScriptFormat::scriptOffset(ScriptFormat::Index, size, exponentStep, indexStep, smallMode));
    QCOMPARE(ChemFormula::scriptOffset(ChemRun::Exponent, size, settings),
             ScriptFormat::scriptOffset(ScriptFormat::Exponent, size, exponentStep, indexStep, smallMode));
    QCOMPARE(ChemFormula::kSmallScriptSize, ScriptFormat::kSmallScriptSize);
}

void tst_ChemFormula::wordsAreLeftAlone_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("caret"); // -1: all selected
    QTest::newRow("Bonjour") << QByteArray("Bonjour") << -1;
    QTest::newRow("2024") << QByteArray("2024") << -1;
    QTest::newRow("pH") << QByteArray("pH") << -1;
    QTest::newRow("sentence") << QByteArray("Il a 2 ans, pH = 7 + 1") << -1;
    QTest::newRow("caret after a word") << QByteArray("Le pH") << 5;
    QTest::newRow("caret after a blank") << QByteArray("H2O ") << 4;
}

void tst_ChemFormula::wordsAreLeftAlone()
{
    QFETCH(QByteArray, typed);
    QFETCH(int, caret);
    Fixture f;
    f.type(typed);
    const TextRange selection = caret < 0 ? TextRange{0, int(typed.size())} : TextRange{caret, 0};
    f.exo->setSelection(selection);
    const QByteArray before = f.exo->textRtf();
    QVERIFY(!f.command.run());
    QCOMPARE(f.exo->textRtf(), before);
    QVERIFY(!f.exo->canUndo());
    QCOMPARE(f.exo->selection(), selection);
}

void tst_ChemFormula::ionsAreTheComposersPicture_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("sulfate") << QByteArray("SO4^2-") << "SO"
                             << "2-"
                             << "4" << 12.0 << false << 1.0;
    QTest::newRow("ammonium bold") << QByteArray("NH4+") << "NH"
                                   << "+"
                                   << "4" << 14.0 << true << 1.0;
    QTest::newRow("8 points drawn at 10") << QByteArray("PO4^3-") << "PO"
                                          << "3-"
                                          << "4" << 8.0 << false << 1.0;
    QTest::newRow("2x screen") << QByteArray("SO4^2-") << "SO"
                               << "2-"
                               << "4" << 12.0 << false << 2.0;
}

void tst_ChemFormula::ionsAreTheComposersPicture()
{
    QFETCH(QByteArray, typed);
    QFETCH(double, size);
    QFETCH(bool, bold);
    QFETCH(qreal, ratio);
    QFETCH(QString, base);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    Fixture f;
    f.type(typed);
    f.exo->setSelection({0, int(typed.size())});
    f.exo->setSelFontSize(size);
    f.exo->setSelBold(bold);
    f.exo->setSelColor(qRgb(0, 0, 200));
    f.command.setDevicePixelRatioSource([ratio] { return ratio; });
    QVERIFY(f.command.run());
    QCOMPARE(f.exo->objectCount(), 1);
    f.exo->setSelection({0, 1});
    const QImage written = pngOf(f.exo->selRtf());
    QVERIFY(!written.isNull());

    // The composer, opened on the same format, the same texts typed in its boxes.
    EditorState state;
    ScriptedClipboard clipboard;
    auto other = createRichTextControl();
    other->setSelFontName(QStringLiteral("DejaVu Sans"));
    other->setSelFontSize(size);
    other->setSelBold(bold);
    other->setSelColor(qRgb(0, 0, 200));
    SymbolHooks hooks;
    IonFormulaCommand composer(state, *other, clipboard, hooks, [&](IonFormulaRequest &request) {
        request.formula = {base, upper, lower};
        request.accepted = true;
    });
    composer.setDevicePixelRatioSource([ratio] { return ratio; });
    composer.run();
    const QImage composed = clipboard.image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(written.size(), composed.size());
    QVERIFY(written.convertToFormat(QImage::Format_RGB32) == composed);
}

void tst_ChemFormula::notationReadsIons()
{
    const QList<ChemRun> runs = ChemFormula::parse(QStringLiteral("2Cr2O7^2-"));
    QCOMPARE(runs.size(), 3);
    QCOMPARE(runs.at(0).text, QStringLiteral("2Cr"));
    QVERIFY(runs.at(0).raised);
    QCOMPARE(runs.at(1).kind, ChemRun::Index);
    const ChemRun &ion = runs.at(2);
    QCOMPARE(ion.kind, ChemRun::Ion);
    QCOMPARE(ion.text, QStringLiteral("O"));
    QCOMPARE(ion.lower, QStringLiteral("7"));
    QCOMPARE(ion.upper, QStringLiteral("2-"));
    QCOMPARE(ion.start + ion.length, 9);
    // Runs cover the text without gap.
    const QString typed = QStringLiteral("Ca(OH)2 + 2e- <=> x^2 [Fe(CN");
    int at = 0;
    for (const ChemRun &run : ChemFormula::parse(typed)) {
        QCOMPARE(run.start, at);
        at += run.length;
    }
    QCOMPARE(at, int(typed.size()));
}

void tst_ChemFormula::caretTakesTheFormulaEndingThere()
{
    Fixture f;
    f.type("L'eau H2O et SO4^2-");
    f.exo->setSelection({9, 0}); // after "H2O"
    QVERIFY(f.command.run());
    QCOMPARE(f.exo->selStart(), 9);
    QCOMPARE(f.exo->selLength(), 0);
    // Typing goes on on the baseline at the text's size.
    QVERIFY(f.exo->selCharOffset() == 0);
    QVERIFY(f.exo->selFontSize() == kTextSize);
    QCOMPARE(describe(*f.exo, f.settings), QStringLiteral("L'eau H|_2|O et SO4^2-"));
    f.exo->setSelection({0, 0}); // nothing before the caret
    QVERIFY(!f.command.run());
}

void tst_ChemFormula::undoGivesTheTypedTextBack()
{
    Fixture f;
    const QByteArray typed = "CH3COOH <=> CH3COO- + H+ ; SO4^2- -> Fe3+";
    f.type(typed);
    const QByteArray before = f.exo->textRtf();
    QVERIFY(f.command.run());
    QVERIFY(f.exo->text() != typed);
    // The user's Ctrl+Z, on the control's widget.
    QTest::keyClick(f.exo->widget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo->text(), typed);
    QCOMPARE(f.exo->textRtf(), before);
    QCOMPARE(f.exo->objectCount(), 0);
}

void tst_ChemFormula::bulkAlignmentWorksOnTheResult()
{
    Fixture f;
    f.type("C6H12O6 + Fe^3+ + SO4^2-");
    QVERIFY(f.command.run());
    // "Aligner les &indices" and "Aligner les &exposants" find the scripts written here, and
    // only them: the ion's picture stands on the baseline.
    QCOMPARE(ScriptAligner::alignScripts(*f.exo, ScriptAligner::Indices, 10, 4), 4);
    QCOMPARE(ScriptAligner::alignScripts(*f.exo, ScriptAligner::Exponents, 10, 6), 2);
    f.exo->setSelection({1, 1});
    QVERIFY(f.exo->selCharOffset() == -40);
    QVERIFY(f.exo->selFontSize() == 10.0);
}

void tst_ChemFormula::savedDocumentKeepsTheScripts()
{
    Fixture f;
    f.type("CuSO4.5H2O + NH4+ -> Fe^3+");
    QVERIFY(f.command.run());
    const QString written = describe(*f.exo, f.settings);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formule.rtf"));
    QVERIFY(f.exo->saveFile(path));
    auto reopened = createRichTextControl();
    QVERIFY(reopened->loadFile(path));
    QCOMPARE(describe(*reopened, f.settings), written);

    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    QProcess convert;
    convert.start(office, {"--headless", "--convert-to", "fodt", "--outdir", dir.path(), path});
    QVERIFY(convert.waitForFinished(120000));
    QFile flat(dir.filePath(QStringLiteral("formule.fodt")));
    QVERIFY(flat.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(flat.readAll());
    // Each text style's raise in points: its position (a percentage of its size) times its size.
    QHash<QString, double> raise;
    const QRegularExpression style(
        QStringLiteral(R"re(<style:style style:name="(\w+)" style:family="text">\s*<style:text-properties)re"
                       R"re([^>]*?style:text-position="(-?\d+)% \d+%"[^>]*fo:font-size="([\d.]+)pt")re"));
    for (const QRegularExpressionMatch &m : style.globalMatch(xml))
        raise.insert(m.captured(1), m.captured(2).toDouble() / 100 * m.captured(3).toDouble());
    QStringList spans;
    const QRegularExpression span(
        QStringLiteral(R"re(<text:span text:style-name="(\w+)">([^<]+)</text:span>)re"));
    for (const QRegularExpressionMatch &m : span.globalMatch(xml))
        spans << m.captured(2) + '@' + QString::number(std::lround(raise.value(m.captured(1)) * 2) / 2.0);
    // The indices 2.5 points down, the exponent 4 points up, as written here (-50, +80 twips).
    QCOMPARE(spans.filter(QRegularExpression(QStringLiteral(R"re(^(4|2|3\+)@)re"))),
             QStringList({"4@-2.5", "2@-2.5", "3+@4"}));
    QVERIFY(xml.contains(QStringLiteral("<draw:image"))); // the ion's picture
}

void tst_ChemFormula::toolPrintsTheRuns()
{
    QProcess tool;
    tool.start(QStringLiteral(VELIGRAM_TOOL), {"chem", "--size", "12", "H2O + SO4^2-"});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    QList<QJsonObject> lines;
    for (const QByteArray &line : tool.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            lines << QJsonDocument::fromJson(line).object();
    }
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(1)["text"].toString(), QStringLiteral("2"));
    QCOMPARE(lines.at(1)["offset"].toInt(), -50);
    QCOMPARE(lines.at(1)["size"].toDouble(), 8.0);
    QCOMPARE(lines.at(2)["text"].toString(), QStringLiteral("O + "));
    QCOMPARE(lines.at(3)["picture"].toString(), QStringLiteral("ion"));
    QCOMPARE(lines.at(3)["text"].toString(), QStringLiteral("SO"));
    QCOMPARE(lines.at(3)["upper"].toString(), QStringLiteral("2-"));
    QCOMPARE(lines.at(3)["lower"].toString(), QStringLiteral("4"));
    QVERIFY(lines.at(3)["width"].toInt() > 0);

    QProcess wrong;
    wrong.start(QStringLiteral(VELIGRAM_TOOL), {"chem", "--index-step", "21", "H2O"});
    QVERIFY(wrong.waitForFinished(60000));
    QCOMPARE(wrong.exitCode(), 1);
    QVERIFY(wrong.readAllStandardError().contains("index-step"));
}

void tst_ChemFormula::commandAndToolWriteAlike_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QString>("expected");
    const QList<std::tuple<const char *, const char *, const char *>> rows = {
        {"labels above and below", "A ->[{chauffage}][{Pt}] B", "A |[\\ce{->[{chauffage}][{Pt}]}]| B"},
        {"label read as a formula", "CuO <=>[+ H2O] Cu(OH)2", "CuO |[\\ce{<=>[+ H2O]}]| Cu(OH)|_2"},
        {"sentence", "L'eau H2O et le dioxyde de carbone CO2 se forment.",
         "L'eau H|_2|O et le dioxyde de carbone CO|_2| se forment."},
        {"letter O of a word", "le dioxyg\xe8ne O2 et l'Ozone", "le dioxyg\u00e8ne O|_2| et l'Ozone"},
        {"capital starting a sentence", "A la fin, on obtient Cu.", "A la fin, on obtient Cu."},
        {"Il", "Il se forme Fe3+, puis Fe2+.", "Il se forme Fe|^3+|, puis Fe|^2+|."},
        {"quantity in a sentence", "on verse 25 cm3 de solution", "on verse 25\u00a0cm|^3| de solution"},
        {"references that are no formulas", "une feuille A4, le CE2 et le semestre S1",
         "une feuille A4, le CE2 et le semestre S1"},
        {"elided article", "on recueille l'O2 et l'H2.", "on recueille l'O|_2| et l'H|_2|."},
        {"ion in a sentence", "les ions SO4^2- sont dos\xe9s", "les ions |[ion]| sont dos\u00e9s"},
        {"brackets of the sentence", "(voir H2O)", "(voir H|_2|O)"},
        {"cut inside a word", "le mot Co2lle reste", "le mot Co2lle reste"},
        {"reaction in a sentence", "On a 2H2 + O2 -> 2H2O.", "On a 2H|_2| + O|_2| |{174}| 2H|_2|O."},
        {"nuclide in a sentence", "le noyau ^{238}_{92}U se d\xe9sint\xe8gre",
         "le noyau |[ion]| se d\u00e9sint\u00e8gre"},
        {"explicit marks say chemistry", "la forme X_{ox} est", "la forme X|_ox| est"},
    };
    for (const auto &[name, typed, expected] : rows)
        QTest::newRow(name) << QByteArray(typed) << QString::fromUtf8(expected);
}

// The same notation through Ctrl+Shift+F on a real control and through veligram-tool chem.
void tst_ChemFormula::commandAndToolWriteAlike()
{
    QFETCH(QByteArray, typed);
    QFETCH(QString, expected);
    Fixture f;
    f.type(typed);
    f.command.run();
    QCOMPARE(describe(*f.exo, f.settings), expected);
    QCOMPARE(describeTool(toolLines({"--size", QString::number(kTextSize), Cp1252::decode(typed)})),
             expected);
}

void tst_ChemFormula::notationIsRead_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    const QList<std::tuple<const char *, const char *, const char *>> rows = {
        {"braced charge", "Ca^{2+}", "Ca|^2+"},
        {"braced index of any species", "X_{ox}", "X|_ox"},
        {"oxidation state, formula goes on", "Mn^{VII}O4-", "~Mn|^VII|[ion O 4 -]"},
        {"braced ion charge", "SO4^{2-}", "[ion SO 4 2-]"},
        {"oxidation state, then a count and a charge", "CrO^{VI}4+", "CrO|^VI|_4|^+"},
        {"oxidation state, then a count and a braced charge", "CrO^{VI}4^{2-}", "CrO|^VI|_4|^2-"},
        {"radical", "Cl^{.}", "Cl|^\u00b7"},
        {"radical anion", "O2^{.-}", "[ion O 2 \u00b7-]"},
        {"state as index", "Cl^-_{(aq)}", "Cl|^-|_(aq)"},
        {"state as index after {}", "Cl^-{}_{(aq)}", "Cl|^-||_(aq)"},
        {"state on the baseline", "Na+(aq)", "Na|^+|(aq)"},
        {"right arrow", "A -> B", "A |\u2192| B"},
        {"left arrow", "A <- B", "A |\u2190| B"},
        {"both ways", "A <-> B", "A |\u2194| B"},
        {"two ways, not two arrows", "A <--> B", "A |[arrows]| B"},
        {"equilibrium", "A <=> B", "A |[arrows]| B"},
        {"equilibrium to the right", "A <=>> B", "A |[arrows]| B"},
        {"equilibrium to the left", "A <<=> B", "A |[arrows]| B"},
        {"labels above and below", "A ->[{chauffage}][{Pt}] B", "A |[equation -> chauffage Pt]| B"},
        {"label with a blank", "A <=>[+ H2O] B", "A |[equation <=> + H2O ]| B"},
        {"label below only", "A ->[][\\Delta] B", "A |[equation ->  \\Delta]| B"},
        {"precipitate", "BaSO4 v", "BaSO|_4| |\u2193"},
        {"gas", "CO2 ^", "CO|_2| |\u2191"},
        {"addition compound, spaced", "CaCl2 * 6 H2O", "CaCl|_2|\u00b7|6 H|_2|O"},
        {"addition compound, dot", "Na2CO3.10H2O", "Na|_2|CO|_3|\u00b7|10H|_2|O"},
        {"coefficient", "3 O2", "3 O|_2"},
        {"fraction coefficient", "3/2 O2", "^3|\u2044|_2| O|_2"},
        {"italic coefficient", "x H2O", "/x/| H|_2|O"},
        {"greek letter", "\\alpha", "\u03b1"},
        {"greek letter with charge", "\\beta^-", "\u03b2|^-"},
        {"neutrino", "\\nu", "\u03bd"},
        {"units with dots", "8,314 J.K-1.mol-1", "8,314|\u202f|J|\u00b7|K|^-1|\u00b7|mol|^-1"},
        {"units with stars", "8,314 J*K-1*mol-1", "8,314|\u202f|J|\u00b7|K|^-1|\u00b7|mol|^-1"},
        {"cubic centimetres", "25 cm3", "25|\u202f|cm|^3"},
        {"per litre", "2 mol//L", "2|\u202f|mol|/|L"},
        {"power of ten, e", "6,02e23 mol-1", "6,02|\u00b710|^23|\u202f|mol|^-1"},
        {"power of ten, E", "1,6E-19 C", "1,6|\u00d710|^-19|\u202f|C"},
        {"nuclide braced", "^{238}_{92}U", "[nuclide U 92 238]"},
        {"nuclide unbraced", "^235_92U", "[nuclide U 92 235]"},
        {"electron as nuclide", "^{0}_{-1}e", "[nuclide e -1 0]"},
        {"mass number only", "^{13}C", "[nuclide C  13]"},
        {"unclosed brace: left as typed from the fault", "Ca^{2+", "Ca^{2+"},
        {"nested braces", "Ca^{{2+}}", "Ca^{{2+}}"},
        {"unclosed label", "A ->[chauffage B", "A |\u2192|[chauffage B"},
        {"no unit after a number", "Il a 2 ans", "Il a 2 ans"},
        {"unknown greek name", "\\alphabet", "\\alphabet"},
    };
    for (const auto &[name, typed, expected] : rows)
        QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(expected);
}

void tst_ChemFormula::notationIsRead()
{
    QFETCH(QString, typed);
    QVERIFY(runsCover(typed, ChemFormula::parse(typed)));
    QTEST(notation(typed), "expected");
}

void tst_ChemFormula::toolPrintsTheNotation_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nuclide is a picture") << "^{238}_{92}U" << 0 << "picture"
                                          << "nuclide";
    QTest::newRow("nuclide symbol") << "^{238}_{92}U" << 0 << "text"
                                    << "U";
    QTest::newRow("nuclide mass number") << "^{238}_{92}U" << 0 << "upper"
                                         << "238";
    QTest::newRow("nuclide atomic number") << "^{238}_{92}U" << 0 << "lower"
                                           << "92";
    QTest::newRow("thin space before a unit") << "25 cm3" << 1 << "text" << QStringLiteral("\u202f");
    QTest::newRow("unit power raised") << "25 cm3" << 3 << "offset"
                                       << "80";
    QTest::newRow("italic coefficient") << "x H2O" << 0 << "italic"
                                        << "true";
    QTest::newRow("greek in the Symbol font") << "\\alpha" << 0 << "font"
                                              << "Symbol";
    QTest::newRow("empty braces print nothing") << "Cl^-{}_{(aq)}" << 2 << "text"
                                                << "(aq)";
    QTest::newRow("labelled arrow is one equation") << "A ->[{chauffage}] B" << 1 << "equation"
                                                    << "\\ce{->[{chauffage}]}";
    QTest::newRow("label above the arrow") << "A ->[{chauffage}][{Pt}] B" << 1 << "upper"
                                           << "chauffage";
    QTest::newRow("label below the arrow") << "A ->[{chauffage}][{Pt}] B" << 1 << "lower"
                                           << "Pt";
}

void tst_ChemFormula::toolPrintsTheNotation()
{
    QFETCH(QString, typed);
    QFETCH(int, line);
    QFETCH(QString, field);
    const QList<QJsonObject> lines = toolLines({"--size", "12", typed});
    QVERIFY(line < lines.size());
    QTEST(lines.at(line)[field].toVariant().toString(), "expected");
    if (!lines.at(line)["picture"].toString().isEmpty()) {
        QVERIFY(lines.at(line)["width"].toInt() > 0);
        QVERIFY(lines.at(line)["height"].toInt() > 0);
    }
}

void tst_ChemFormula::badInputStaysBounded_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("readPrefix"); // what must be formatted before the fault
    QTest::newRow("10 000 nested brackets") << QString(10000, u'(') + "H" + QString(10000, u')') << "";
    QTest::newRow("10 000 unclosed brackets") << "H2O " + QString(10000, u'[') << "H|_2|O";
    QTest::newRow("10 000 unclosed braces") << "H2O Ca^" + QString(10000, u'{') << "H|_2|O";
    QTest::newRow("unclosed labels") << "H2O " + QString("->[").repeated(20000) << "H|_2|O";
    QTest::newRow("100 kB of formulas") << QString("H2SO4 + Fe^{3+} <=>[+ H2O] 2 mol//L ").repeated(2800)
                                        << "H|_2|SO|_4| + Fe|^3+| |[equation <=> + H2O ]| 2|\u202f|mol|/|L";
    QTest::newRow("100 kB sentence")
        << QString("L'eau H2O, le dioxyde de carbone CO2 et 25 cm3 d'O2. ").repeated(1900)
        << "L'eau H|_2|O, le dioxyde de carbone CO|_2| et 25|\u202f|cm|^3| d'O|_2|.";
    QTest::newRow("10 000 nested labels")
        << "A " + QString("->[").repeated(10000) + QString(10000, u']') << "A ";
    QTest::newRow("100 kB word") << QString("Ca^{2+}_").repeated(12500) << "Ca|^2+";
    QTest::newRow("100 kB of carets") << QString(100000, u'^') << "";
}

void tst_ChemFormula::badInputStaysBounded()
{
    QFETCH(QString, typed);
    QFETCH(QString, readPrefix);
    QElapsedTimer clock;
    clock.start();
    const QList<ChemRun> runs = ChemFormula::parse(typed);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed()) + " ms"));
    QVERIFY(runsCover(typed, runs));
    QVERIFY(notation(typed).startsWith(readPrefix));
}

QTEST_MAIN(tst_ChemFormula)
#include "tst_chemformula.moc"
