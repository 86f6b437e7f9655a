#pragma once

#include "helpfile.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The help topics window: the file in a browser, beside tabs for its contents, its index and
// a word search. Non-modal; the editor stays usable while it is open.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Replaces what the window shows by `file`, read from `path` (pictures and links in the
    // file are found relative to it).
    void setHelp(const HelpFile &file, const QString &path);
    void showContents();
    void showTopic(const QString &id);
    QString currentTopic() const { return m_currentTopic; }

private:
    QWidget *buildContentsTab();
    QWidget *buildIndexTab();
    QWidget *buildSearchTab();
    void fillContents();
    void fillIndex();
    void filterIndex(const QString &text);
    void runSearch();
    void activateItem(QListWidgetItem *item);

    HelpFile m_file;
    QString m_currentTopic;
    QTabWidget *m_tabs = nullptr;
    QTextBrowser *m_browser = nullptr;
    QTreeWidget *m_contents = nullptr;
    QLineEdit *m_indexFilter = nullptr;
    QListWidget *m_indexList = nullptr;
    QLineEdit *m_searchText = nullptr;
    QListWidget *m_searchResults = nullptr;
    QLabel *m_searchStatus = nullptr;
};
