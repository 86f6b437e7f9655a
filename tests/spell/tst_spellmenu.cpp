#include "spell/personaldictionary.h"
#include "spell/spellcontextmenu.h"
#include "spellfixture.h"

#include <QAction>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(EngineKind)

// The context menu of a right click, built and triggered as the user would, without showing it.
class tst_SpellMenu : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void menuOnAWord();
    void menuElsewhere();
    void menuWithoutDictionary();
    void suggestionKeepsFormatAsOneUndoStep_data();
    void suggestionKeepsFormatAsOneUndoStep();
    void suggestionKeepsTheTypographicApostrophe();
    void protectedWordOffersNoReplacement();
    void staleMenuReplacesNothing();
    void addToDictionaryStaysAfterARestart();

private:
    QStringList captions(QMenu &menu) const;
    QAction *action(QMenu &menu, const QString &name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QAction> m_cut, m_copy, m_paste, m_all;
    QList<QAction *> m_editCommands;
};

void tst_SpellMenu::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_cut = std::make_unique<QAction>(QStringLiteral("&Couper"));
    m_copy = std::make_unique<QAction>(QStringLiteral("Co&pier"));
    m_paste = std::make_unique<QAction>(QStringLiteral("C&oller"));
    m_all = std::make_unique<QAction>(QStringLiteral("&Tout sélectionner"));
    m_editCommands = {m_cut.get(), m_copy.get(), m_paste.get(), m_all.get()};
}

void tst_SpellMenu::cleanup()
{
    m_editCommands.clear();
    m_cut.reset();
    m_copy.reset();
    m_paste.reset();
    m_all.reset();
    m_dir.reset();
}

QStringList tst_SpellMenu::captions(QMenu &menu) const
{
    QStringList result;
    for (QAction *item : menu.actions())
        result.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    return result;
}

QAction *tst_SpellMenu::action(QMenu &menu, const QString &name) const
{
    for (QAction *item : menu.actions())
        if (item->objectName() == name)
            return item;
    return nullptr;
}

void tst_SpellMenu::menuOnAWord()
{
    ScriptedSpellEngine words(acceptanceWords());
    words.suggestFor(QStringLiteral("moléclue"),
                     {"molécule", "moléculaire", "a", "b", "c", "d", "e", "f", "g"}); // nine
    const auto text = viewedControl();
    text->setText("La mol\xe9"
                  "clue d'eau");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    PersonalDictionary dictionary(m_dir->filePath(QStringLiteral("mots.txt")));
    SpellContextMenu menus(*text, &checker, &words, &dictionary, m_editCommands);
    for (const int position : {3, 6, 11}) { // its first letter, inside, right after it
        const std::unique_ptr<QMenu> menu = menus.menuAt(position);
        QCOMPARE(captions(*menu), (QStringList{"molécule", "moléculaire", "a", "b", "c", "d", "e", "-",
                                               "Ignorer tout", "Ajouter au dictionnaire", "-", "&Couper",
                                               "Co&pier", "C&oller", "&Tout sélectionner"}));
    }
}

void tst_SpellMenu::menuElsewhere()
{
    ScriptedSpellEngine words(acceptanceWords());
    const auto text = viewedControl();
    text->setText("La mol\xe9"
                  "clue d'eau");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    SpellContextMenu menus(*text, &checker, &words, nullptr, m_editCommands);
    const std::unique_ptr<QMenu> menu = menus.menuAt(14);
    QCOMPARE(captions(*menu), (QStringList{"&Couper", "Co&pier", "C&oller", "&Tout sélectionner"}));
    QVERIFY(words.suggestionsAsked().isEmpty());
    checker.setEnabled(false); // unticked: no word is underlined, so none offers suggestions
    QCOMPARE(captions(*menus.menuAt(6)).size(), 4);
}

void tst_SpellMenu::menuWithoutDictionary()
{
    const auto text = viewedControl();
    text->setText("La mol\xe9"
                  "clue");
    SpellContextMenu menus(*text, nullptr, nullptr, nullptr, m_editCommands);
    QCOMPARE(captions(*menus.menuAt(6)).size(), 4);
}

void tst_SpellMenu::suggestionKeepsFormatAsOneUndoStep_data()
{
    QTest::addColumn<EngineKind>("kind");
    QTest::newRow("scripted engine") << EngineKind::Scripted;
    QTest::newRow("Hunspell") << EngineKind::Real;
}

void tst_SpellMenu::suggestionKeepsFormatAsOneUndoStep()
{
    QFETCH(EngineKind, kind);
    std::unique_ptr<SpellEngine> words;
    if (kind == EngineKind::Real) {
        words = realFrenchEngine();
        if (!words)
            QSKIP("no French dictionary here: install hunspell-fr");
    } else {
        auto scripted = std::make_unique<ScriptedSpellEngine>(acceptanceWords());
        scripted->suggestFor(QStringLiteral("moléclue"), {"molécule"});
        words = std::move(scripted);
    }
    const auto text = viewedControl();
    text->setTextRtf(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;})"
                     R"(\f0 La {\b\cf1 mol\'e9clue} d'eau})");
    text->setSelection({0, 0});
    text->setSelText("Cette "); // an undo step before, which must stay
    const QByteArray before = text->text();
    SpellChecker checker(*text, *words);
    checker.setEnabled(true);
    checker.checkAll();
    QCOMPARE(underlinedWords(*text, checker), QStringList{"moléclue"});
    SpellContextMenu menus(*text, &checker, words.get(), nullptr, m_editCommands);
    const std::unique_ptr<QMenu> menu = menus.menuAt(12);
    QAction *first = action(*menu, QStringLiteral("spellSuggestion"));
    QVERIFY(first);
    QCOMPARE(first->text(), QStringLiteral("molécule"));
    first->trigger();
    QCOMPARE(text->text(), QByteArray("Cette La mol\xe9"
                                      "cule d'eau"));
    QVERIFY(underlinedWords(*text, checker).isEmpty());
    text->setSelection({9, 8});
    QCOMPARE(text->selBold(), Mixed<bool>(true));
    QCOMPARE(text->selColor(), Mixed<QRgb>(qRgb(255, 0, 0)));
    text->setSelection({17, 2});
    QCOMPARE(text->selBold(), Mixed<bool>(false)); // the format ends where the word does
    text->undo();
    QCOMPARE(text->text(), before);
    QCOMPARE(underlinedWords(*text, checker), QStringList{"moléclue"});
}

void tst_SpellMenu::suggestionKeepsTheTypographicApostrophe()
{
    ScriptedSpellEngine words(acceptanceWords());
    words.suggestFor(QStringLiteral("aujourd'hiu"), {"aujourd'hui"});
    const auto text = viewedControl();
    text->setText("aujourd\x92hiu");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    QCOMPARE(words.checked(), QStringList{"aujourd'hiu"}); // the engine sees the straight one
    SpellContextMenu menus(*text, &checker, &words, nullptr, m_editCommands);
    action(*menus.menuAt(2), QStringLiteral("spellSuggestion"))->trigger();
    QCOMPARE(text->text(), QByteArray("aujourd\x92hui"));
}

void tst_SpellMenu::protectedWordOffersNoReplacement()
{
    ScriptedSpellEngine words(acceptanceWords());
    words.suggestFor(QStringLiteral("sle"), {"sel"});
    const auto text = viewedControl();
    text->setText("Le sle");
    text->setSelection({3, 3});
    text->setSelProtected(true);
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    SpellContextMenu menus(*text, &checker, &words, nullptr, m_editCommands);
    const std::unique_ptr<QMenu> menu = menus.menuAt(4);
    QVERIFY(!action(*menu, QStringLiteral("spellSuggestion"))->isEnabled());
    QVERIFY(action(*menu, QStringLiteral("spellIgnoreAll"))->isEnabled());
}

void tst_SpellMenu::staleMenuReplacesNothing()
{
    ScriptedSpellEngine words(acceptanceWords());
    words.suggestFor(QStringLiteral("sle"), {"sel"});
    const auto text = viewedControl();
    text->setText("Le sle");
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    SpellContextMenu menus(*text, &checker, &words, nullptr, m_editCommands);
    const std::unique_ptr<QMenu> menu = menus.menuAt(4);
    text->setSelection({0, 0});
    text->setSelText("X"); // the word moved under the open menu
    action(*menu, QStringLiteral("spellSuggestion"))->trigger();
    QCOMPARE(text->text(), QByteArray("XLe sle"));
}

void tst_SpellMenu::addToDictionaryStaysAfterARestart()
{
    const QString path = m_dir->filePath(QStringLiteral("mots.txt"));
    const auto text = viewedControl();
    text->setText("Le sle\rsle");
    {
        ScriptedSpellEngine words(acceptanceWords());
        words.suggestFor(QStringLiteral("sle"), {"sel"});
        SpellChecker checker(*text, words);
        checker.setEnabled(true);
        checker.checkAll();
        PersonalDictionary dictionary(path);
        QVERIFY(dictionary.load());
        SpellContextMenu menus(*text, &checker, &words, &dictionary, m_editCommands);
        action(*menus.menuAt(4), QStringLiteral("spellAddToDictionary"))->trigger();
        checker.checkAll();
        QVERIFY(underlinedWords(*text, checker).isEmpty());
        checker.setEnabled(false);
    }
    // The next run: a new engine told the words of the file, as the module does at start.
    ScriptedSpellEngine words(acceptanceWords());
    PersonalDictionary dictionary(path);
    QVERIFY(dictionary.load());
    QCOMPARE(dictionary.words(), QStringList{"sle"});
    for (const QString &word : dictionary.words())
        words.addWord(word);
    SpellChecker checker(*text, words);
    checker.setEnabled(true);
    checker.checkAll();
    QVERIFY(underlinedWords(*text, checker).isEmpty());
}

QTEST_MAIN(tst_SpellMenu)
#include "tst_spellmenu.moc"
