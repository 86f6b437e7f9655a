#include "qtsettingsstore.h"

QtSettingsStore::QtSettingsStore() : m_settings(QStringLiteral("veligram"), QStringLiteral("veligram"))
{}

QVariant QtSettingsStore::value(const QString &key, const QVariant &fallback) const
{
    return m_settings.value(key, fallback);
}

void QtSettingsStore::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
}
