#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class RecentFiles;

// The entries of a recent-files list in a menu: a separator and "&1 name" … "&8 name", each
// with its full path as tool tip, inserted before `before` (at the end when null). Entries not
// in use are hidden, the separator too when the list is empty. They are named `prefix1` …
// `prefix8` and the separator `sep` + prefix. The menu shows the list as it is when it opens.
class RecentFilesMenu : public QObject
{
    Q_OBJECT
public:
    RecentFilesMenu(QMenu &menu, QAction *before, const QString &prefix, RecentFiles &files,
                    std::function<void(const QString &path)> open);

    void refresh();
    const QList<QAction *> &entries() const { return m_entries; }

    // "&3 cours.rtf" for the third entry: the file name, its own '&' kept as text.
    static QString caption(int index, const QString &path);

private:
    RecentFiles &m_files;
    std::function<void(const QString &)> m_open;
    QAction *m_separator = nullptr;
    QList<QAction *> m_entries;
};
