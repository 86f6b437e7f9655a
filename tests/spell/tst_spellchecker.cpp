#include "spellfixture.h"

#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

Q_DECLARE_METATYPE(EngineKind)

// The checker over the real control: what is underlined, when, and that the marks never touch
// the text itself.
class tst_SpellChecker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void underlines_data();
    void underlines();
    void marksAreDisplayOnly();
    void editRechecksTouchedParagraphAtOnce();
    void engineStillReadingIsNotWaitedFor();
    void marksMoveWithTheirParagraph();
    void editHidesStaleMarksUntilRechecked();
    void uncheckingRemovesEveryMarkAtOnce();
    void ignoreAllReachesEveryParagraph();
    void visibleParagraphsFirst();
    void longParagraphSpansSlices();
    void paragraphReadingClamps();

private:
    std::unique_ptr<SpellEngine> engine(EngineKind kind);
};

std::unique_ptr<SpellEngine> tst_SpellChecker::engine(EngineKind kind)
{
    if (kind == EngineKind::Real)
        return realFrenchEngine();
    return std::make_unique<ScriptedSpellEngine>(acceptanceWords());
}

void tst_SpellChecker::underlines_data()
{
    QTest::addColumn<EngineKind>("kind");
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");
    const QByteArray head = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}\f0 )";
    const QList<std::tuple<const char *, QByteArray, QStringList>> cases = {
        {"misspelt word only", R"(La mol\'e9clue d'eau})", {"moléclue"}},
        {"elision", R"(l'eau})", {}},
        {"typographic apostrophe", R"(aujourd\'92hui et l\'92eau})", {}},
        {"aujourd'hui", R"(aujourd'hui})", {}},
        {"hyphenated", R"(peut-\'eatre, c'est-\'e0-dire})", {}},
        {"formulas", R"(H2O, SO4 et CO2})", {}},
        {"unit", R"(en mol})", {}},
        {"symbol font", R"(Une {\f1 abg} eau})", {}},
        {"exponent", R"(Le 3{\up6 \'e8me} mot})", {}},
        {"raised word alone", R"(Le {\super \'e8me} mot})", {}},
        {"capitals", R"(ADN et ARN})", {}},
        {"web address", R"(Voir https://exemple.fr})", {}},
        {"two paragraphs", R"(La mol\'e9clue\par Le sle\par})", {"moléclue", "sle"}},
    };
    for (const EngineKind kind : {EngineKind::Scripted, EngineKind::Real})
        for (const auto &[name, body, expected] : cases)
            QTest::newRow(qPrintable(QString::fromLatin1(name) +
                                     (kind == EngineKind::Real ? QStringLiteral(", Hunspell") : QString())))
                << kind << head + body << expected;
}

void tst_SpellChecker::underlines()
{
    QFETCH(EngineKind, kind);
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    const std::unique_ptr<SpellEngine> words = engine(kind);
    if (!words)
        QSKIP("no French dictionary here: install hunspell-fr");
    const auto text = viewedControl();
    text->setTextRtf(rtf);
    SpellChecker checker(*text, *words);
    checker.setEnabled(true);
    checker.checkAll();
    QVERIFY(checker.isComplete());
    QCOMPARE(underlinedWords(*text, checker), expected);
}

void tst_SpellChecker::marksAreDisplayOnly()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    text->widget()->resize(400, 300);
    text->setTextRtf(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 La {\b mol\'e9clue} d'eau\par sle})");
    const QByteArray before = text->textRtf();
    const QByteArray selected = [&] {
        text->setSelection({0, text->textLength()});
        return text->selRtf();
    }();
    QTemporaryDir dir;
    QVERIFY(text->saveFile(dir.filePath(QStringLiteral("off.rtf"))));
    QSignalSpy changed(text.get(), &RichTextControl::textChanged);
    QSignalSpy edited(text.get(), &RichTextControl::contentsEdited);
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    QCOMPARE(underlinedWords(*text, checker), (QStringList{"moléclue", "sle"}));
    QCOMPARE(changed.size(), 0);
    QCOMPARE(edited.size(), 0);
    QVERIFY(!text->canUndo());
    QCOMPARE(text->textRtf(), before);
    QCOMPARE(text->selRtf(), selected);
    QVERIFY(text->saveFile(dir.filePath(QStringLiteral("on.rtf"))));
    QFile off(dir.filePath(QStringLiteral("off.rtf")));
    QFile on(dir.filePath(QStringLiteral("on.rtf")));
    QVERIFY(off.open(QIODevice::ReadOnly) && on.open(QIODevice::ReadOnly));
    QCOMPARE(on.readAll(), off.readAll());
}

void tst_SpellChecker::editRechecksTouchedParagraphAtOnce()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    text->setText("La mol\xe9"
                  "cule\rLe sel");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    QVERIFY(underlinedWords(*text, checker).isEmpty());
    text->setSelection({text->textLength(), 0});
    text->setSelText(" sle");
    // No slice ran: the edit itself checked its paragraph.
    QCOMPARE(underlinedWords(*text, checker), QStringList{"sle"});
    QVERIFY(checker.isComplete());
    text->setSelection({text->textLength() - 3, 3});
    text->setSelText("sel");
    QVERIFY(underlinedWords(*text, checker).isEmpty());
}

void tst_SpellChecker::engineStillReadingIsNotWaitedFor()
{
    ScriptedSpellEngine words(acceptanceWords());
    words.setReady(false);
    const auto text = viewedControl();
    text->setText("Le sel");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    text->setSelection({text->textLength(), 0});
    text->setSelText(" sle");
    // Asking the engine now would wait for its dictionary on the interface thread.
    QVERIFY(words.checked().isEmpty());
    QVERIFY(!checker.isComplete());
    QVERIFY(underlinedWords(*text, checker).isEmpty());
    words.setReady(true);
    QTRY_COMPARE(underlinedWords(*text, checker), QStringList{"sle"});
    QVERIFY(checker.isComplete());
}

void tst_SpellChecker::marksMoveWithTheirParagraph()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    text->setText("Le sle\rLa mol\xe9"
                  "cule\rLe lse");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    text->setSelection({0, 0});
    text->setSelText("Une eau\r\rde la\r"); // three paragraphs more above
    QCOMPARE(text->paragraphCount(), 6);
    QCOMPARE(underlinedWords(*text, checker), (QStringList{"sle", "lse"}));
    QCOMPARE(text->spellingMarks(3).size(), 1);
    QCOMPARE(text->spellingMarks(5).size(), 1);
    text->setSelection({0, int(text->text().indexOf("Le sle"))}); // and away again
    text->setSelText("");
    QCOMPARE(underlinedWords(*text, checker), (QStringList{"sle", "lse"}));
    QVERIFY(checker.isComplete());
}

void tst_SpellChecker::editHidesStaleMarksUntilRechecked()
{
    // Without a checker behind them, marks of an edited paragraph would underline wrong letters.
    const auto text = viewedControl();
    text->setText("abc def\rghi");
    text->setSpellingMarks(0, {{4, 3}});
    text->setSpellingMarks(1, {{8, 3}});
    QCOMPARE(text->spellingMarks(0), (QList<TextRange>{{4, 3}}));
    text->setSelection({0, 0});
    text->setSelText("x");
    QVERIFY(text->spellingMarks(0).isEmpty());
    QCOMPARE(text->spellingMarks(1), (QList<TextRange>{{9, 3}}));
    text->setSpellingMarks(1, {{-5, 100}}); // clipped to the paragraph
    QCOMPARE(text->spellingMarks(1), (QList<TextRange>{{9, 3}}));
}

void tst_SpellChecker::uncheckingRemovesEveryMarkAtOnce()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    QByteArray plain;
    for (int i = 0; i < 200; ++i)
        plain += "Le sle\r";
    text->setText(plain);
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    QCOMPARE(underlinedWords(*text, checker).size(), 200);
    checker.setEnabled(false);
    QVERIFY(underlinedWords(*text, checker).isEmpty());
    text->setSelText("sle ");
    QVERIFY(underlinedWords(*text, checker).isEmpty()); // off means off, edits included
    checker.setEnabled(true);
    checker.checkAll();
    QCOMPARE(underlinedWords(*text, checker).size(), 201);
}

void tst_SpellChecker::ignoreAllReachesEveryParagraph()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    text->setText("Le sle\rsle et lse\rLe sle");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    checker.ignoreAll(QStringLiteral("sle"));
    checker.checkAll();
    QCOMPARE(underlinedWords(*text, checker), QStringList{"lse"});
}

void tst_SpellChecker::visibleParagraphsFirst()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    QByteArray plain;
    for (int i = 0; i < 3000; ++i)
        plain += "Le sle\r";
    text->setText(plain);
    QWidget *view = text->widget();
    view->resize(400, 300);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    text->setSelection({text->textLength() / 2, 0});
    auto *edit = qobject_cast<QTextEdit *>(view);
    // The layout typesets in the background: the caret's place is reachable once it is done.
    QTRY_VERIFY((edit->ensureCursorVisible(), text->visibleParagraphs().start > 100));
    const TextRange visible = text->visibleParagraphs();
    QVERIFY(visible.length > 0);
    SpellChecker checker(*text, words);
    checker.setEnabled(true); // runs the first slice at once
    // How much one slice checks depends on the machine (a fast one checks it all, an instrumented
    // one not even the page): what holds is the order. No paragraph off the page is checked while
    // one on it is not.
    bool pageDone = true;
    for (int i = visible.start; i < visible.end(); ++i)
        pageDone = pageDone && text->spellingMarks(i).size() == 1;
    bool offPageChecked = false;
    for (int i = 0; i < text->paragraphCount() && !offPageChecked; ++i) {
        if (i < visible.start || i >= visible.end())
            offPageChecked = text->spellingMarks(i).size() == 1;
    }
    QVERIFY(pageDone || !offPageChecked);
    QTRY_VERIFY(checker.isComplete()); // the rest in the background
    QCOMPARE(text->spellingMarks(text->paragraphCount() - 2).size(), 1);
    QCOMPARE(text->spellingMarks(visible.start).size(), 1);
}

void tst_SpellChecker::longParagraphSpansSlices()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    QByteArray plain;
    // Long enough that the first slice, run when the checker is enabled, cannot finish it.
    for (int i = 0; i < 200000; ++i)
        plain += i % 1000 == 0 ? "sle " : "le ";
    text->setText(plain);
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    int slices = 1;
    while (checker.checkSlice(0)) // the smallest budget: a few words a slice
        ++slices;
    QVERIFY2(slices > 2, qPrintable(QString::number(slices)));
    QCOMPARE(text->spellingMarks(0).size(), 200);
}

void tst_SpellChecker::paragraphReadingClamps()
{
    const auto text = viewedControl();
    text->setTextRtf(
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}\f0 ab{\f1 a}{\up6 2}\par cd})");
    QCOMPARE(text->paragraphCount(), 2);
    QCOMPARE(text->paragraphAt(-5), 0);
    QCOMPARE(text->paragraphAt(1 << 30), 1);
    const ParagraphText first = text->paragraphText(-1);
    QCOMPARE(first.start, 0);
    QCOMPARE(first.text.size(), 4);
    QCOMPARE(first.plain, (QList<bool>{true, true, false, false}));
    QCOMPARE(text->paragraphText(99).text, QStringLiteral("cd"));
    QCOMPARE(text->paragraphText(99).start, 5);
    QVERIFY(text->visibleParagraphs().length == 0); // a view not on screen
}

QTEST_MAIN(tst_SpellChecker)
#include "tst_spellchecker.moc"
