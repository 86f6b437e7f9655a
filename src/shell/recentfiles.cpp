#include "recentfiles.h"

#include "platform/settingsstore.h"

#include <QDir>

namespace {

QString normalised(const QString &path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

} // namespace

RecentFiles::RecentFiles(SettingsStore &settings, QString key) : m_settings(settings), m_key(std::move(key))
{}

bool RecentFiles::samePath(const QString &a, const QString &b)
{
    return normalised(a) == normalised(b);
}

QStringList RecentFiles::paths() const
{
    // The settings file is the user's to edit: whatever it holds is taken with care.
    const QStringList stored = m_settings.value(m_key).toStringList();
    QStringList paths;
    for (const QString &path : stored) {
        if (paths.size() == capacity)
            break;
        if (path.trimmed().isEmpty())
            continue;
        if (std::none_of(paths.cbegin(), paths.cend(), [&](const QString &p) { return samePath(p, path); }))
            paths.append(path);
    }
    return paths;
}

void RecentFiles::add(const QString &path)
{
    if (path.trimmed().isEmpty())
        return;
    QStringList paths = this->paths();
    paths.removeIf([&](const QString &p) { return samePath(p, path); });
    paths.prepend(QDir::toNativeSeparators(path));
    store(paths.mid(0, capacity));
}

void RecentFiles::remove(const QString &path)
{
    QStringList paths = this->paths();
    paths.removeIf([&](const QString &p) { return samePath(p, path); });
    store(paths);
}

void RecentFiles::store(const QStringList &paths)
{
    m_settings.setValue(m_key, paths);
}
