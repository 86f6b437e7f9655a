#include "platform/shellhost.h"
#include "scriptedsettingsstore.h"
#include "spell/personaldictionary.h"
#include "spell/spellcontextmenu.h"
#include "spell/spellmodule.h"
#include "spellfixture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The shell as the spell module sees it: exo, the Options menu item and the edit commands.
class SpellHost : public ShellHost
{
public:
    SpellHost() : text(viewedControl())
    {
        for (const char *name : {"checkSpelling", "coupe", "copie", "colle", "toutsel"}) {
            QAction *action = menu.addAction(QLatin1String(name));
            action->setObjectName(QLatin1String(name));
            action->setEnabled(false);
        }
        QAction *item = command(QStringLiteral("checkSpelling"));
        item->setCheckable(true);
        item->setChecked(true);
    }
    std::unique_ptr<RichTextControl> text;
    QMenu menu;

    RichTextControl &exo() override { return *text; }
    RichTextControl &sujetampon() override { return *text; }
    RichTextControl &corectampon() override { return *text; }
    RichTextControl &tamponrtf() override { return *text; }
    RichTextControl &Rtfinsert() override { return *text; }
    QAction *command(const QString &name) override { return menu.findChild<QAction *>(name); }
    void bindCommand(const QString &name, std::function<void()> handler) override
    {
        QObject::connect(command(name), &QAction::triggered, &menu, [handler] { handler(); });
        command(name)->setEnabled(true);
    }
    void addStartupStep(StartupStep, std::function<void()>) override {}
    void placeWidget(WindowArea, QWidget *) override {}
    bool saveDispatcher() override { return true; }
    bool confirmSaveChanges() override { return true; }
    bool newText() override { return true; }
    void updateTitle() override {}
    void setStatementItem(const QString &, bool) override {}
    void setCorrectionItem(const QString &, bool) override {}
    QString statementItemPath() const override { return {}; }
    QString correctionItemPath() const override { return {}; }
    bool statementItemVisible() const override { return false; }
    bool correctionItemVisible() const override { return false; }
    void setExercisePathSource(std::function<QString()>) override {}
};

} // namespace

// The module's wiring: the option and its setting, the dictionary's absence, the word list.
class tst_SpellModule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<ScriptedSettingsStore>();
    }
    void withoutDictionary();
    void optionStateFromSettings_data();
    void optionStateFromSettings();
    void tickingIsStored();
    void personalWordsKnownAtStart_data();
    void personalWordsKnownAtStart();

private:
    SpellServices services(bool withEngine, const QStringList &known = acceptanceWords()) const;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedSettingsStore> m_settings;
};

SpellServices tst_SpellModule::services(bool withEngine, const QStringList &known) const
{
    SpellServices result;
    result.createEngine = [withEngine, known]() -> std::unique_ptr<SpellEngine> {
        if (!withEngine)
            return nullptr;
        return std::make_unique<ScriptedSpellEngine>(known);
    };
    result.personalDictionaryPath = m_dir->filePath(QStringLiteral("mots.txt"));
    result.settings = m_settings.get();
    return result;
}

void tst_SpellModule::withoutDictionary()
{
    SpellHost host;
    host.text->setText("Le sle");
    const QByteArray before = host.text->textRtf();
    const SpellModule module = installSpelling(host, services(false));
    QAction *item = host.command(QStringLiteral("checkSpelling"));
    QVERIFY(!item->isEnabled());
    QVERIFY2(item->toolTip().contains(QLatin1String("hunspell-fr")), qPrintable(item->toolTip()));
    QVERIFY(host.menu.toolTipsVisible());
    QVERIFY(!module.checker);
    QVERIFY(module.contextMenu);
    QCOMPARE(module.contextMenu->menuAt(4)->actions().size(), 4); // the edit commands
    QVERIFY(host.text->spellingMarks(0).isEmpty());
    QCOMPARE(host.text->textRtf(), before);
    QVERIFY(m_settings->values().isEmpty());
}

void tst_SpellModule::optionStateFromSettings_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("first run") << QVariant() << true;
    QTest::newRow("left on") << QVariant(true) << true;
    QTest::newRow("left off") << QVariant(false) << false;
    QTest::newRow("damaged value, the default") << QVariant(QStringLiteral("peut-être")) << true;
}

void tst_SpellModule::optionStateFromSettings()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, ticked);
    const SpellServices spell = services(true);
    if (stored.isValid())
        spell.settings->setValue(QLatin1String(SpellSettings::kCheckWhileTyping), stored);
    SpellHost host;
    host.text->setText("Le sle");
    const SpellModule module = installSpelling(host, spell);
    QCOMPARE(host.command(QStringLiteral("checkSpelling"))->isChecked(), ticked);
    QCOMPARE(module.checker->isEnabled(), ticked);
    module.checker->checkAll();
    QCOMPARE(host.text->spellingMarks(0).size(), ticked ? 1 : 0);
}

void tst_SpellModule::tickingIsStored()
{
    const SpellServices spell = services(true);
    SpellHost host;
    const SpellModule module = installSpelling(host, spell);
    QAction *item = host.command(QStringLiteral("checkSpelling"));
    item->trigger();
    QVERIFY(!module.checker->isEnabled());
    QCOMPARE(spell.settings->value(QLatin1String(SpellSettings::kCheckWhileTyping)), QVariant(false));
    item->trigger();
    QVERIFY(module.checker->isEnabled());
    QCOMPARE(spell.settings->value(QLatin1String(SpellSettings::kCheckWhileTyping)), QVariant(true));
}

void tst_SpellModule::personalWordsKnownAtStart_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("marks");
    QTest::newRow("word listed") << QByteArray("sle\n") << 0;
    QTest::newRow("typographic apostrophe in the file") << QByteArray("l\xe2\x80\x99sle\nsle\n") << 0;
    QTest::newRow("binary file") << QByteArray("\x00\xff\xfe\x01sle", 7) << 1;
    QTest::newRow("empty file") << QByteArray() << 1;
}

void tst_SpellModule::personalWordsKnownAtStart()
{
    QFETCH(QByteArray, file);
    QFETCH(int, marks);
    const SpellServices spell = services(true);
    QFile out(spell.personalDictionaryPath);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    SpellHost host;
    host.text->setText("Le sle");
    const SpellModule module = installSpelling(host, spell);
    module.checker->checkAll();
    QCOMPARE(host.text->spellingMarks(0).size(), marks);
}

QTEST_MAIN(tst_SpellModule)
#include "tst_spellmodule.moc"
