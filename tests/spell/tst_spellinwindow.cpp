#include "mainwindowfixture.h"
#include "spell/personaldictionary.h"
#include "spell/spellchecker.h"
#include "spell/spellcontextmenu.h"
#include "spell/spellmodule.h"
#include "spellfixture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>

// The assembled window with the program's own services: the real dictionary, the settings and
// the personal word list (in the test folders).
class tst_SpellInWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init() { reset(); }
    void cleanup() { reset(); }
    void itemTickedAtStartAndChecking();
    void untickingIsKeptBetweenRuns();
    void addedWordSurvivesARestart();

private:
    void reset();
    bool m_haveDictionary = false;
};

void tst_SpellInWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_haveDictionary = realFrenchEngine() != nullptr;
}

void tst_SpellInWindow::reset()
{
    QFile::remove(PersonalDictionary::defaultPath());
}

void tst_SpellInWindow::itemTickedAtStartAndChecking()
{
    MainWindowFixture f;
    QAction *item = f.window->command(QStringLiteral("checkSpelling"));
    QVERIFY(item);
    QVERIFY(item->isChecked());
    if (!m_haveDictionary) {
        QVERIFY(!item->isEnabled());
        QVERIFY(item->toolTip().contains(QLatin1String("hunspell-fr")));
        QSKIP("no French dictionary here: install hunspell-fr");
    }
    QVERIFY(item->isEnabled());
    auto *checker = f.exo().findChild<SpellChecker *>();
    QVERIFY(checker);
    f.exo().setSelText("La mol\xe9"
                       "clue d'eau");
    f.state.documentSaved = 1; // as if saved: the marks that follow must not change it
    QTRY_VERIFY(checker->isComplete());
    QCOMPARE(underlinedWords(f.exo(), *checker), QStringList{"moléclue"});
    QCOMPARE(f.state.documentSaved, 1); // marks are no change of the text
}

void tst_SpellInWindow::untickingIsKeptBetweenRuns()
{
    if (!m_haveDictionary)
        QSKIP("no French dictionary here: install hunspell-fr");
    QVariantMap kept; // the settings as the first run leaves them
    {
        MainWindowFixture f;
        auto *checker = f.exo().findChild<SpellChecker *>();
        f.exo().setSelText("sle et lse");
        checker->checkAll();
        QCOMPARE(underlinedWords(f.exo(), *checker).size(), 2);
        f.window->command(QStringLiteral("checkSpelling"))->trigger();
        QVERIFY(underlinedWords(f.exo(), *checker).isEmpty());
        kept = f.fake.settings.values();
    }
    MainWindowFixture f(QRect(0, 0, 1024, 768), {}, [&kept](ScriptedPlatform &platform) {
        for (auto it = kept.cbegin(); it != kept.cend(); ++it)
            platform.settings.setValue(it.key(), it.value());
    });
    QVERIFY(!f.window->command(QStringLiteral("checkSpelling"))->isChecked());
    auto *checker = f.exo().findChild<SpellChecker *>();
    QVERIFY(!checker->isEnabled());
    f.window->command(QStringLiteral("checkSpelling"))->trigger();
    QVERIFY(checker->isEnabled());
}

void tst_SpellInWindow::addedWordSurvivesARestart()
{
    if (!m_haveDictionary)
        QSKIP("no French dictionary here: install hunspell-fr");
    {
        MainWindowFixture f;
        auto *checker = f.exo().findChild<SpellChecker *>();
        f.exo().setSelText("Le refractoscope");
        checker->checkAll();
        QCOMPARE(underlinedWords(f.exo(), *checker), QStringList{"refractoscope"});
        const std::unique_ptr<QMenu> menu = f.exo().findChild<SpellContextMenu *>()->menuAt(5);
        QAction *add = menu->findChild<QAction *>(QStringLiteral("spellAddToDictionary"));
        QVERIFY(add);
        add->trigger();
        checker->checkAll();
        QVERIFY(underlinedWords(f.exo(), *checker).isEmpty());
    }
    MainWindowFixture f;
    auto *checker = f.exo().findChild<SpellChecker *>();
    f.exo().setSelText("Le refractoscope");
    checker->checkAll();
    QVERIFY(underlinedWords(f.exo(), *checker).isEmpty());
}

QTEST_MAIN(tst_SpellInWindow)
#include "tst_spellinwindow.moc"
