// Edits on the assembled main window with the real platform services, on an X server with a
// window manager: whatever road an edit takes, the text is marked changed and closing asks
// before it is lost; a paste the program makes is undone in one step; a format command leaves
// the tool bar showing the selection as it now is.
#include "dialoganswers.h"
#include "liveactions.h"
#include "platform/editorstate.h"
#include "platform/qtplatform.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "shell/mainwindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>

namespace {

using namespace LiveActions;

void clickChild(QWidget *dialog, const char *name)
{
    auto *child = dialog->findChild<QWidget *>(QLatin1String(name));
    QVERIFY2(child, name);
    QTest::mouseClick(child, Qt::LeftButton);
}

} // namespace

class tst_LiveEdits;
// What a row of a table does to the window.
using Road = std::function<void(tst_LiveEdits &)>;
Q_DECLARE_METATYPE(Road)

class tst_LiveEdits : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void everyEditMarksTheTextChanged_data();
    void everyEditMarksTheTextChanged();
    void loadingAndSavingAreNoEdits();
    void oneUndoRemovesAProgramPaste_data();
    void oneUndoRemovesAProgramPaste();
    void scriptCommandsRefreshTheToolBar_data();
    void scriptCommandsRefreshTheToolBar();
    void equationInsertedEditedDeletedAndSaved();
    void rulerClickLandsUnderItAtEveryZoom_data();
    void rulerClickLandsUnderItAtEveryZoom();

private:
    RichTextControl &exo() { return m_window->exo(); }
    QWidget *control(const char *name) const { return m_window->findChild<QWidget *>(QLatin1String(name)); }
    void command(const char *name) { m_window->command(QLatin1String(name))->trigger(); }
    // A saved file, opened: nothing to save yet.
    void openSaved(const QByteArray &rtf);
    void startTyping(const QByteArray &text);
    void clickPaletteTab(int index);
    void answerIonComposer();

    QTemporaryDir m_dir;
    std::unique_ptr<QtPlatform> m_qt;
    std::unique_ptr<Platform> m_platform;
    std::unique_ptr<EditorState> m_state;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DialogAnswers> m_answers;
};

void tst_LiveEdits::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void tst_LiveEdits::init()
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

void tst_LiveEdits::cleanup()
{
    QCOMPARE(m_answers->unexpected(), QStringList());
    QVERIFY2(!m_answers->pending(), "a dialog the test waited for did not show");
    m_state->documentSaved = 1;
    m_window.reset();
    // The files opened here would be recent files of the next live test to run.
    QSettings(QStringLiteral("veligram"), QStringLiteral("veligram")).clear();
    m_answers.reset();
    m_platform.reset();
    m_qt.reset();
}

void tst_LiveEdits::openSaved(const QByteArray &rtf)
{
    const QString path =
        m_dir.filePath(QStringLiteral("%1.rtf").arg(QString::fromLatin1(QTest::currentDataTag())
                                                        .replace(QLatin1Char(' '), QLatin1Char('-'))
                                                        .replace(QLatin1Char('/'), QLatin1Char('-'))));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rtf);
    file.close();
    QVERIFY(m_window->openFromCommandLine(path));
    QCOMPARE(m_state->documentSaved, int16_t(1));
    exo().setFocus();
    QTRY_VERIFY(exo().hasFocus());
}

void tst_LiveEdits::startTyping(const QByteArray &text)
{
    exo().setText(text);
    exo().setSelStart(int(text.size()));
    exo().setFocus();
    QTRY_VERIFY(exo().hasFocus());
}

void tst_LiveEdits::clickPaletteTab(int index)
{
    auto *palette = m_window->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QVERIFY(palette);
    QTest::mouseClick(palette->tabBar(), Qt::LeftButton, {}, palette->tabBar()->tabRect(index).center());
    QTRY_COMPARE(palette->currentIndex(), index);
}

void tst_LiveEdits::answerIonComposer()
{
    m_answers->answerNext([](QWidget *dialog) {
        typeInto(dialog, "baset", QStringLiteral("SO"));
        typeInto(dialog, "Text2", QStringLiteral("2-"));
        typeInto(dialog, "Text3", QStringLiteral("4"));
        clickChild(dialog, "Command3");
    });
}

void tst_LiveEdits::everyEditMarksTheTextChanged_data()
{
    QTest::addColumn<Road>("road");
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        return Road([k, modifiers](tst_LiveEdits &t) { QTest::keyClick(t.exo().widget(), k, modifiers); });
    };
    const auto click = [](const char *name) {
        return Road([name](tst_LiveEdits &t) { QTest::mouseClick(t.control(name), Qt::LeftButton); });
    };
    const auto menu = [](const char *name) { return Road([name](tst_LiveEdits &t) { t.command(name); }); };
    QTest::newRow("Delete") << key(Qt::Key_Delete);
    QTest::newRow("Backspace") << key(Qt::Key_Backspace);
    QTest::newRow("Ctrl+X") << key(Qt::Key_X, Qt::ControlModifier);
    QTest::newRow("Ctrl+V") << Road([](tst_LiveEdits &t) {
        QGuiApplication::clipboard()->setText(QStringLiteral("collé"));
        QTRY_VERIFY(QGuiApplication::clipboard()->mimeData()->hasText());
        QTest::keyClick(t.exo().widget(), Qt::Key_V, Qt::ControlModifier);
    });
    QTest::newRow("Couper") << menu("coupe");
    QTest::newRow("Supprimer") << menu("supprime");
    QTest::newRow("Collage special") << Road([](tst_LiveEdits &t) {
        QGuiApplication::clipboard()->setText(QStringLiteral("NaCl"));
        QTRY_VERIFY(QGuiApplication::clipboard()->mimeData()->text() == QStringLiteral("NaCl"));
        t.command("supercolle");
    });
    QTest::newRow("Greek palette") << Road([](tst_LiveEdits &t) {
        t.clickPaletteTab(0);
        QTest::mouseClick(t.control("Command1(0)"), Qt::LeftButton);
    });
    QTest::newRow("special character") << Road([](tst_LiveEdits &t) {
        t.m_answers->answerNext([](QWidget *dialog) {
            clickChild(dialog, "Label1(40)");
            clickChild(dialog, "Command1");
        });
        t.command("SPECIALCAr");
    });
    QTest::newRow("ion composer") << Road([](tst_LiveEdits &t) {
        t.answerIonComposer();
        t.command("ionpoly");
    });
    QTest::newRow("arrows") << Road([](tst_LiveEdits &t) {
        t.clickPaletteTab(2);
        QTest::mouseClick(t.control("des01"), Qt::LeftButton);
    });
    QTest::newRow("bold button") << click("Check1_1");
    QTest::newRow("italic menu") << menu("q22");
    QTest::newRow("red pen") << click("optcoul_1");
    QTest::newRow("Indice") << click("Option2_1");
    QTest::newRow("centred") << click("Option3_1");
    QTest::newRow("bullets") << click("bull");
    QTest::newRow("size up-down") << Road([](tst_LiveEdits &t) {
        QWidget *upDown = t.control("UpDown1");
        QVERIFY(upDown);
        auto *up = upDown->findChild<QWidget *>(QStringLiteral("up"));
        QVERIFY(up);
        QTest::mouseClick(up, Qt::LeftButton);
    });
    QTest::newRow("font box") << Road([](tst_LiveEdits &t) {
        auto *box = t.m_window->findChild<QComboBox *>(QStringLiteral("Combo1"));
        QVERIFY(box && box->count() > 1);
        box->setCurrentIndex(box->currentIndex() == 0 ? 1 : 0);
        Q_EMIT box->activated(box->currentIndex());
    });
    QTest::newRow("chemical formula") << menu("formchim");
    QTest::newRow("align exponents") << Road([](tst_LiveEdits &t) {
        t.m_answers->answerNext([](QWidget *dialog) { clickChild(dialog, "Command1"); });
        t.command("toutexpo");
    });
    QTest::newRow("ruler click") << Road([](tst_LiveEdits &t) {
        QWidget *ruler = t.control("regle");
        QVERIFY(ruler);
        QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(ruler->width() / 3, ruler->height() / 2));
    });
    QTest::newRow("undo after a save") << Road([](tst_LiveEdits &t) {
        QTest::keyClick(t.exo().widget(), Qt::Key_Delete);
        QTest::keyClicks(t.exo().widget(), QStringLiteral("x"));
        QVERIFY(t.m_window->saveDispatcher());
        QCOMPARE(t.m_state->documentSaved, int16_t(1));
        t.command("annuleur");
    });
}

void tst_LiveEdits::everyEditMarksTheTextChanged()
{
    QFETCH(Road, road);
    // "H2O" with a raised 2, so that realigning the exponents has one to move.
    openSaved(QByteArrayLiteral(
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 Le sulfate H{\up3 2}O est l\'e0.\par})"));
    exo().setSelection({11, 3}); // "H2O"
    const QByteArray before = exo().textRtf();
    road(*this);
    QTRY_VERIFY2(exo().textRtf() != before, "the road changed nothing");
    QTRY_COMPARE(m_state->documentSaved, int16_t(0));

    // Closing asks, and "Non" lets the window go.
    bool asked = false;
    m_answers->answerNext([&asked](QWidget *box) {
        asked = true;
        QVERIFY(DialogAnswers::clickButton(box, QStringLiteral("Non")));
    });
    m_window->close();
    QTRY_VERIFY(asked);
    QTRY_VERIFY(!m_window->isVisible());
}

void tst_LiveEdits::loadingAndSavingAreNoEdits()
{
    openSaved(QByteArrayLiteral(R"({\rtf1\ansi\fs20 Un texte\par})"));
    exo().setSelection({3, 5});
    QTest::qWait(100); // the selection's mirror and any deferred refresh
    QCOMPARE(m_state->documentSaved, int16_t(1));
    command("Nouv");
    QTRY_COMPARE(exo().textLength(), 0);
    QCOMPARE(m_state->documentSaved, int16_t(1));
    QTest::keyClicks(exo().widget(), QStringLiteral("abc"));
    QCOMPARE(m_state->documentSaved, int16_t(0));
    // And the zoom changes only the view.
    m_state->documentSaved = 1;
    exo().setZoom(200);
    QTest::qWait(50);
    QCOMPARE(m_state->documentSaved, int16_t(1));
    exo().setZoom(100); // the zoom is kept between runs
}

void tst_LiveEdits::oneUndoRemovesAProgramPaste_data()
{
    QTest::addColumn<Road>("paste");
    QTest::addColumn<QString>("undo");
    const Road pasteSpecial = [](tst_LiveEdits &t) {
        QGuiApplication::clipboard()->setText(QStringLiteral("H2O"));
        QTRY_VERIFY(QGuiApplication::clipboard()->mimeData()->hasText());
        t.command("supercolle");
    };
    const Road ion = [](tst_LiveEdits &t) {
        t.answerIonComposer();
        t.command("ionpoly");
    };
    const Road arrows = [](tst_LiveEdits &t) {
        t.clickPaletteTab(2);
        QTest::mouseClick(t.control("des01"), Qt::LeftButton);
    };
    const Road picture = [](tst_LiveEdits &t) {
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString path = t.m_dir.filePath(QStringLiteral("carre.bmp"));
        QVERIFY(image.save(path));
        t.m_answers->answerNext([path](QWidget *dialog) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        });
        t.command("ima");
    };
    for (const char *undo : {"menu", "button", "Ctrl+Z"}) {
        QTest::addRow("paste special, %s", undo) << pasteSpecial << QString::fromLatin1(undo);
        QTest::addRow("ion composer, %s", undo) << ion << QString::fromLatin1(undo);
        QTest::addRow("arrows, %s", undo) << arrows << QString::fromLatin1(undo);
        QTest::addRow("picture, %s", undo) << picture << QString::fromLatin1(undo);
    }
}

void tst_LiveEdits::oneUndoRemovesAProgramPaste()
{
    QFETCH(Road, paste);
    QFETCH(QString, undo);
    startTyping("Avant ");
    const QByteArray before = exo().text();
    paste(*this);
    QTRY_VERIFY(exo().text() != before);
    QTest::qWait(100); // the format given back after the paste
    if (undo == QLatin1String("menu")) {
        command("annuleur");
    } else if (undo == QLatin1String("button")) {
        QTest::mouseClick(control("annule"), Qt::LeftButton);
    } else {
        exo().setFocus();
        QTRY_VERIFY(exo().hasFocus());
        QTest::keyClick(exo().widget(), Qt::Key_Z, Qt::ControlModifier);
    }
    QTRY_COMPARE(exo().text(), before);
}

void tst_LiveEdits::scriptCommandsRefreshTheToolBar_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("road");
    QTest::addColumn<QString>("toggle");
    for (const char *road : {"click", "space", "Toggle"}) {
        QTest::addRow("Indice, %s", road) << "Option2_1" << road << "Check3_1";
        QTest::addRow("Exposant, %s", road) << "Option2_2" << road << "Check3_0";
        QTest::addRow("indice toggle, %s", road) << "Check3_1" << road << "Option2_1";
        QTest::addRow("exposant toggle, %s", road) << "Check3_0" << road << "Option2_2";
    }
}

void tst_LiveEdits::scriptCommandsRefreshTheToolBar()
{
    QFETCH(QString, name);
    QFETCH(QString, road);
    QFETCH(QString, toggle);
    startTyping("H2O");
    exo().setSelection({1, 1});
    auto *sizeBox = m_window->findChild<QLineEdit *>(QStringLiteral("taille"));
    QVERIFY(sizeBox);
    QTRY_COMPARE(sizeBox->text(), QStringLiteral("10"));
    auto *button = m_window->findChild<QAbstractButton *>(name);
    auto *other = m_window->findChild<QAbstractButton *>(toggle);
    QVERIFY(button && other);
    QVERIFY(!other->isChecked());
    if (road == QLatin1String("click")) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (road == QLatin1String("space")) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
    } else {
        QVERIFY(doAccessibleAction(button, QAccessibleActionInterface::toggleAction()));
    }
    QTRY_VERIFY(exo().selCharOffset().hasValue() && exo().selCharOffset().value() != 0);
    // The tool bar shows the script as the caret moving onto it would: the toggle and the button
    // of the same script ticked, the size box at the script's size.
    QTRY_VERIFY(other->isChecked());
    QVERIFY(button->isChecked());
    QTRY_COMPARE(sizeBox->text(), QString::number(qRound(exo().selFontSize().value())));
    QVERIFY(sizeBox->text() != QStringLiteral("10"));
    QCOMPARE(exo().selection(), TextRange({1, 1}));
}

void tst_LiveEdits::equationInsertedEditedDeletedAndSaved()
{
    openSaved(QByteArrayLiteral(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs24 v = \par})"));
    exo().setSelStart(4);
    m_answers->answerNext([](QWidget *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Équation"));
        typeInto(dialog, "Text1", QStringLiteral("(Delta x)/(Delta t)"));
        QTest::qWait(50);
        shot(dialog, QStringLiteral("equation-dialog"));
        clickChild(dialog, "Command1");
    });
    QTest::keyClick(exo().widget(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(exo().equationAt(4), QStringLiteral("(Delta x)/(Delta t)"));
    QTRY_COMPARE(m_state->documentSaved, int16_t(0));
    shot(m_window.get(), QStringLiteral("equation-inserted"));

    // A double-click on it opens it again; OK replaces it.
    auto *view = qobject_cast<QTextEdit *>(exo().widget());
    QVERIFY(view);
    QTextCursor at = view->textCursor();
    at.setPosition(4);
    const QPoint inside = view->cursorRect(at).center() + QPoint(4, 0);
    m_answers->answerNext([](QWidget *dialog) {
        auto *line = dialog->findChild<QLineEdit *>(QStringLiteral("Text1"));
        QVERIFY(line);
        QCOMPARE(line->text(), QStringLiteral("(Delta x)/(Delta t)"));
        line->selectAll();
        QTest::keyClicks(line, QStringLiteral("sqrt(2 g h)"));
        clickChild(dialog, "Command1");
    });
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, inside);
    QTRY_COMPARE(exo().equationAt(4), QStringLiteral("sqrt(2 g h)"));
    QCOMPARE(exo().textLength(), 5);

    // Saved and opened again: an equation, editable, not a picture.
    QVERIFY(m_window->saveDispatcher());
    const QString path = m_state->currentDocumentPath;
    command("Nouv");
    QTRY_COMPARE(exo().textLength(), 0);
    QVERIFY(m_window->openFromCommandLine(path));
    QCOMPARE(exo().equationAt(4), QStringLiteral("sqrt(2 g h)"));

    // Deleted as one character.
    exo().setSelection({4, 1});
    exo().setFocus();
    QTRY_VERIFY(exo().hasFocus());
    QTest::keyClick(exo().widget(), Qt::Key_Delete);
    QTRY_COMPARE(exo().textLength(), 4);
    QVERIFY(exo().equationAt(4).isEmpty());
}

void tst_LiveEdits::rulerClickLandsUnderItAtEveryZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("100 %") << 100;
    QTest::newRow("200 %") << 200;
    QTest::newRow("150 %") << 150;
}

void tst_LiveEdits::rulerClickLandsUnderItAtEveryZoom()
{
    QFETCH(int, zoom);
    startTyping("");
    exo().setZoom(zoom);
    QWidget *ruler = control("regle");
    QVERIFY(ruler);
    const QPoint click(ruler->width() / 3, ruler->height() / 2);
    QTest::mouseClick(ruler, Qt::LeftButton, {}, click);
    QTRY_COMPARE(exo().selTabCount(), Mixed<int>(1));
    // A tab typed now ends where the ruler was clicked, as the text draws it.
    exo().setFocus();
    QTRY_VERIFY(exo().hasFocus());
    QTest::keyClick(exo().widget(), Qt::Key_Tab);
    QTest::keyClicks(exo().widget(), QStringLiteral("x"));
    auto *view = qobject_cast<QTextEdit *>(exo().widget());
    QVERIFY(view);
    QTextCursor afterTab = view->textCursor();
    afterTab.setPosition(1);
    const int textX = view->viewport()->mapToGlobal(view->cursorRect(afterTab).topLeft()).x();
    const int rulerX = ruler->mapToGlobal(click).x();
    shot(m_window.get(), QStringLiteral("ruler-%1").arg(zoom));
    exo().setZoom(100); // the zoom is kept between runs
    // Within a marker's half-width at 100 %, whatever the zoom (the stop is a whole pixel).
    QVERIFY2(qAbs(textX - rulerX) <= 4,
             qPrintable(QStringLiteral("text %1, ruler %2").arg(textX).arg(rulerX)));
}

QTEST_MAIN(tst_LiveEdits)
#include "tst_liveedits.moc"
