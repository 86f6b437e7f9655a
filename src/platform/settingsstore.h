#pragma once

#include <QString>
#include <QVariant>

// What the editor keeps between runs (recent files, zoom): a few values by key. Behind an
// interface so that every test starts from settings of its own, never from the last run's.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QVariant value(const QString &key, const QVariant &fallback = QVariant()) const = 0;
    virtual void setValue(const QString &key, const QVariant &value) = 0;
};
