#include "frenchtranslations.h"

#include "platformlog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

bool installFrenchTranslations(QApplication &app)
{
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        qCWarning(lcPlatform) << "Qt's French translations not found in" << folder;
        return false;
    }
    translator->setParent(&app);
    QApplication::installTranslator(translator.release());
    return true;
}
