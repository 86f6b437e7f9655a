// Chemistry typed in a paragraph and formatted by Ctrl+Maj+F on the assembled window with the
// real platform services, on an X server with a window manager: the keystroke reaches the
// command, the isotope, the labelled arrow and the precipitate are written, and the text saved,
// opened again and printed keeps them.
#include "dialoganswers.h"
#include "liveactions.h"
#include "pdftext.h"
#include "platform/editorstate.h"
#include "platform/qtplatform.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using namespace LiveActions;

// A sentence with a nuclide, an arrow with its conditions, an ion and a precipitate.
const QByteArray kParagraph = "Le noyau ^{238}_{92}U se d\xe9sint\xe8gre. On obtient Ba^2+ + SO4^2- "
                              "->[{agitation}][H2O] BaSO4 v dans l'eau.";

// What a paragraph holds, position by position: the character, or for an object what it is,
// with its offset and size when it is raised or lowered.
QStringList contents(RichTextControl &text)
{
    QStringList out;
    const QByteArray chars = text.text();
    for (int p = 0; p < chars.size(); ++p) {
        text.setSelection({p, 1});
        QString item = text.equationAt(p);
        if (item.isEmpty())
            item = chars.at(p) == ' ' && text.selRtf().contains("\\pict") ? QStringLiteral("[picture]")
                                                                          : Cp1252::decode(chars.mid(p, 1));
        const int offset = text.selCharOffset().valueOr(0);
        if (offset != 0)
            item += QStringLiteral("@%1/%2").arg(offset).arg(text.selFontSize().valueOr(0));
        out << item;
    }
    return out;
}

} // namespace

class tst_LiveChemistry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void paragraphFormattedSavedAndReopened_data();
    void paragraphFormattedSavedAndReopened();

private:
    RichTextControl &exo() { return m_window->exo(); }

    QTemporaryDir m_dir;
    std::unique_ptr<QtPlatform> m_qt;
    std::unique_ptr<Platform> m_platform;
    std::unique_ptr<EditorState> m_state;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DialogAnswers> m_answers;
};

void tst_LiveChemistry::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void tst_LiveChemistry::init()
{
    m_qt = std::make_unique<QtPlatform>();
    m_platform = std::make_unique<Platform>(m_qt->platform());
    m_state = std::make_unique<EditorState>();
    m_answers = std::make_unique<DialogAnswers>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_platform, [] { return createRichTextControl(); });
    m_window->start();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_LiveChemistry::cleanup()
{
    QCOMPARE(m_answers->unexpected(), QStringList());
    m_state->documentSaved = 1;
    m_window.reset();
    QSettings(QStringLiteral("veligram"), QStringLiteral("veligram")).clear();
    m_answers.reset();
    m_platform.reset();
    m_qt.reset();
}

// The command by each road a teacher takes: its keystroke, the tool button by mouse, and the
// button's press action as a screen reader sends it.
void tst_LiveChemistry::paragraphFormattedSavedAndReopened_data()
{
    QTest::addColumn<QString>("road");
    QTest::newRow("keyboard") << QStringLiteral("keyboard");
    QTest::newRow("mouse") << QStringLiteral("mouse");
    QTest::newRow("accessibility") << QStringLiteral("accessibility");
}

void tst_LiveChemistry::paragraphFormattedSavedAndReopened()
{
    QFETCH(QString, road);
    const bool shots = road == QLatin1String("keyboard");
    const QString path = m_dir.filePath(QStringLiteral("chimie.rtf"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray escaped = kParagraph; // braces are RTF's groups
        escaped.replace("{", "\\{").replace("}", "\\}");
        file.write(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs28 )" + escaped + R"(\par})");
    }
    QVERIFY(m_window->openFromCommandLine(path));
    exo().setFocus();
    QTRY_VERIFY(exo().hasFocus());

    // The whole sentence selected from the keyboard, then the command.
    QTest::keyClick(exo().widget(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(exo().widget(), Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_VERIFY2(exo().selLength() >= int(kParagraph.size()),
                 qPrintable(QStringLiteral("%1 of %2").arg(exo().selLength()).arg(exo().textLength())));
    if (road == QLatin1String("keyboard")) {
        QTest::keyClick(exo().widget(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        QWidget *button = m_window->findChild<QWidget *>(QStringLiteral("boutonchim"));
        QVERIFY(button);
        if (road == QLatin1String("mouse"))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QVERIFY(doAccessibleAction(button, QAccessibleActionInterface::pressAction()));
    }
    QTRY_COMPARE(exo().objectCount(), 2); // the nuclide and the sulfate ion
    QTRY_COMPARE(m_state->documentSaved, int16_t(0));

    const QStringList written = contents(exo());
    const QString arrow = QStringLiteral("\\ce{->[{agitation}][H2O]}");
    QCOMPARE(written.count(arrow), 1);
    QCOMPARE(written.count(QStringLiteral("[picture]")), 2);
    // The French words are untouched, the precipitate is the Symbol font's arrow, BaSO4's count
    // is an index.
    const QString plain = Cp1252::decode(exo().text());
    QVERIFY(plain.startsWith(QStringLiteral("Le noyau ")));
    QVERIFY(plain.contains(QStringLiteral(" se désintègre. On obtient Ba")));
    QVERIFY(plain.contains(QStringLiteral(" dans l'eau.")));
    const qsizetype baso = written.indexOf(arrow) + 6; // " BaSO4": the 4
    QVERIFY2(written.at(baso).startsWith(QStringLiteral("4@-")), qPrintable(written.join(u' ')));
    exo().setSelection({int(plain.indexOf(QStringLiteral(" dans"))) - 1, 1});
    QVERIFY(exo().selFontName() == QStringLiteral("Symbol"));
    exo().setSelection({0, 0});
    if (shots) {
        shot(m_window.get(), QStringLiteral("chemistry-formatted"));
        exo().setZoom(200);
        QTest::qWait(50);
        shot(m_window.get(), QStringLiteral("chemistry-zoom200"));
        exo().setZoom(100);
    }

    // Saved, a new text, the file opened again: the same runs, the arrow still an equation.
    QVERIFY(m_window->saveDispatcher());
    QCOMPARE(m_state->documentSaved, int16_t(1));
    m_window->command(QStringLiteral("Nouv"))->trigger();
    QTRY_COMPARE(exo().textLength(), 0);
    QVERIFY(m_window->openFromCommandLine(path));
    QCOMPARE(contents(exo()), written);

    // Printed to PDF as "Exporter en PDF…" prints: the words and the arrow's labels are text.
    const QString shotsDir = shots ? qEnvironmentVariable("VELIGRAM_SHOTS") : QString();
    const QString pdf =
        (shotsDir.isEmpty() ? m_dir.path() : shotsDir) +
        QStringLiteral("/%1x-chemistry.pdf").arg(qEnvironmentVariable("VELIGRAM_X_SCALE", "1"));
    QVERIFY(m_platform->printer.printToPdf(pdf, QStringLiteral("chimie"), [this](QPagedPaintDevice &device) {
        return exo().printDocument(device);
    }));
    const std::optional<QString> text = pdfText(pdf);
    if (!text)
        QSKIP("pdftotext is not installed");
    QVERIFY2(text->contains(QStringLiteral("désintègre")), qPrintable(*text));
    QVERIFY2(text->contains(QStringLiteral("agitation")), qPrintable(*text));
}

QTEST_MAIN(tst_LiveChemistry)
#include "tst_livechemistry.moc"
