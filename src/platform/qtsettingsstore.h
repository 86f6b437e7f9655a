#pragma once

#include "settingsstore.h"

#include <QSettings>

// The user's settings file of the program, ~/.config/veligram/veligram.conf on Linux.
class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore();

    QVariant value(const QString &key, const QVariant &fallback = QVariant()) const override;
    void setValue(const QString &key, const QVariant &value) override;

private:
    QSettings m_settings;
};
