#include "spellmodule.h"

#include "dictionarylocator.h"
#include "hunspellengine.h"
#include "personaldictionary.h"
#include "platform/settingsstore.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "spellchecker.h"
#include "spellcontextmenu.h"
#include "spelllog.h"
#include "wordscanner.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace {

// A parent object that owns what has no QObject of its own, with exo's lifetime.
template <typename T> class Holder : public QObject
{
public:
    Holder(std::unique_ptr<T> value, QObject *parent) : QObject(parent), m_value(std::move(value)) {}
    T *get() const { return m_value.get(); }

private:
    std::unique_ptr<T> m_value;
};

template <typename T> T *keep(std::unique_ptr<T> value, QObject *owner)
{
    return value ? (new Holder<T>(std::move(value), owner))->get() : nullptr;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("SpellModule", text);
}

} // namespace

SpellServices SpellServices::standard(SettingsStore *settings)
{
    SpellServices services;
    services.createEngine = []() -> std::unique_ptr<SpellEngine> {
        const auto files = DictionaryLocator::findFrench(DictionaryLocator::searchFolders());
        if (!files) {
            qCInfo(lcSpell) << "no French dictionary; install" << DictionaryLocator::kFrenchPackage;
            return nullptr;
        }
        return std::make_unique<BackgroundHunspellEngine>(*files);
    };
    services.personalDictionaryPath = PersonalDictionary::defaultPath();
    services.settings = settings;
    return services;
}

SpellModule installSpelling(ShellHost &host, const SpellServices &services)
{
    RichTextControl &exo = host.exo();
    SpellModule module;
    QList<QAction *> editCommands;
    for (const char *name : {"coupe", "copie", "colle", "toutsel"})
        editCommands.append(host.command(QLatin1String(name)));

    module.engine = keep(services.createEngine ? services.createEngine() : nullptr, &exo);
    QAction *item = host.command(QStringLiteral("checkSpelling"));
    if (!module.engine) {
        if (item) {
            item->setEnabled(false);
            item->setToolTip(tr("Dictionnaire français introuvable : installez le paquet %1")
                                 .arg(QLatin1String(DictionaryLocator::kFrenchPackage)));
            // Menus hide tool tips unless asked.
            for (QObject *menu : item->associatedObjects())
                if (auto *m = qobject_cast<QMenu *>(menu))
                    m->setToolTipsVisible(true);
        }
        module.contextMenu = new SpellContextMenu(exo, nullptr, nullptr, nullptr, editCommands, &exo);
    } else {
        auto dictionary = std::make_unique<PersonalDictionary>(services.personalDictionaryPath);
        dictionary->load();
        for (const QString &word : dictionary->words())
            module.engine->addWord(WordScanner::normalized(word));
        module.dictionary = keep(std::move(dictionary), &exo);
        module.checker = new SpellChecker(exo, *module.engine, &exo);
        module.contextMenu =
            new SpellContextMenu(exo, module.checker, module.engine, module.dictionary, editCommands, &exo);

        SettingsStore *settings = services.settings;
        const bool on =
            settings ? settings->value(QLatin1String(SpellSettings::kCheckWhileTyping), true).toBool() : true;
        SpellChecker *checker = module.checker;
        if (item) {
            item->setChecked(on);
            host.bindCommand(QStringLiteral("checkSpelling"), [item, checker, settings] {
                checker->setEnabled(item->isChecked());
                if (settings)
                    settings->setValue(QLatin1String(SpellSettings::kCheckWhileTyping), item->isChecked());
            });
        }
        checker->setEnabled(on);
    }
    SpellContextMenu *menu = module.contextMenu;
    QObject::connect(&exo, &RichTextControl::contextMenuRequested, menu, [menu](ContextMenuRequest &request) {
        if (!request.consumed) // a module before us showed a menu of its own
            menu->show(request);
    });
    return module;
}
