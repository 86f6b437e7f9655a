#pragma once

#include "settingsstore.h"

#include <QSettings>

// The user's settings file of the program (its name comes from the application's name).
class QtSettingsStore : public SettingsStore
{
public:
    QVariant value(const QString &key, const QVariant &fallback = QVariant()) const override;
    void setValue(const QString &key, const QVariant &value) override;

private:
    QSettings m_settings;
};
