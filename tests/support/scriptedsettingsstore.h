#pragma once

#include "platform/settingsstore.h"

#include <QVariantMap>

// Settings in memory: empty for every new double, or filled by a test that plays a later run.
class ScriptedSettingsStore : public SettingsStore
{
public:
    QVariant value(const QString &key, const QVariant &fallback = QVariant()) const override
    {
        return m_values.value(key, fallback);
    }
    void setValue(const QString &key, const QVariant &value) override { m_values.insert(key, value); }
    const QVariantMap &values() const { return m_values; }

private:
    QVariantMap m_values;
};
