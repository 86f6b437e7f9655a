#include "recentfilesmenu.h"

#include "recentfiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu &menu, QAction *before, const QString &prefix, RecentFiles &files,
                                 std::function<void(const QString &)> open)
    : QObject(&menu), m_files(files), m_open(std::move(open))
{
    m_separator = new QAction(&menu);
    m_separator->setSeparator(true);
    m_separator->setObjectName(QStringLiteral("sep") + prefix);
    menu.insertAction(before, m_separator);
    for (int i = 0; i < RecentFiles::capacity; ++i) {
        auto *entry = new QAction(&menu);
        entry->setObjectName(prefix + QString::number(i + 1));
        connect(entry, &QAction::triggered, this, [this, entry] {
            // The path is read when chosen: the entry may have moved since the menu opened.
            const QString path = entry->data().toString();
            if (!path.isEmpty() && m_open)
                m_open(path);
        });
        menu.insertAction(before, entry);
        m_entries.append(entry);
    }
    menu.setToolTipsVisible(true);
    connect(&menu, &QMenu::aboutToShow, this, &RecentFilesMenu::refresh);
    refresh();
}

QString RecentFilesMenu::caption(int index, const QString &path)
{
    QString name = QFileInfo(QDir::fromNativeSeparators(path)).fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void RecentFilesMenu::refresh()
{
    const QStringList paths = m_files.paths();
    for (int i = 0; i < m_entries.size(); ++i) {
        QAction *entry = m_entries[i];
        const bool used = i < paths.size();
        entry->setVisible(used);
        entry->setData(used ? paths[i] : QString());
        entry->setText(used ? caption(i, paths[i]) : QString());
        entry->setToolTip(used ? paths[i] : QString());
    }
    m_separator->setVisible(!paths.isEmpty());
}
