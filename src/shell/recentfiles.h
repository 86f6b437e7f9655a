#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// The files used last, most recent first, at most eight, kept in the settings under one key.
// The list is read from the settings at every call, so two editors running side by side add
// to the same list instead of overwriting each other's with what each read at start-up.
class RecentFiles
{
public:
    static constexpr int capacity = 8;

    RecentFiles(SettingsStore &settings, QString key);

    // What the settings hold, cleaned: no empty entry, no duplicate, at most eight.
    QStringList paths() const;
    // `path` to the top; already listed, it moves up instead of appearing twice.
    void add(const QString &path);
    void remove(const QString &path);

    // Whether two paths name the same file as the list counts them (separators, "..").
    static bool samePath(const QString &a, const QString &b);

private:
    void store(const QStringList &paths);

    SettingsStore &m_settings;
    QString m_key;
};
