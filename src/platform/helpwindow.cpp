#include "helpwindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int topicRole = Qt::UserRole;

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(tr("Aide de Veligram"));

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("helpTabs"));
    m_tabs->addTab(buildContentsTab(), tr("Sommaire"));
    m_tabs->addTab(buildIndexTab(), tr("Index"));
    m_tabs->addTab(buildSearchTab(), tr("Rechercher"));

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 560});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    // No larger than the screen, with room left for the window manager's frame and title: on
    // an 800 x 600 desktop the window's edges and buttons would otherwise be off screen.
    QSize size(820, 600);
    if (const QScreen *shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() - QSize(20, 60));
    resize(size);
}

QWidget *HelpWindow::buildContentsTab()
{
    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("helpContents"));
    m_contents->setHeaderHidden(true);
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { showTopic(item->data(0, topicRole).toString()); });
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { showTopic(item->data(0, topicRole).toString()); });
    return m_contents;
}

QWidget *HelpWindow::buildIndexTab()
{
    auto *page = new QWidget;
    m_indexFilter = new QLineEdit;
    m_indexFilter->setObjectName(QStringLiteral("helpIndexFilter"));
    m_indexFilter->setPlaceholderText(tr("Tapez le début du mot cherché"));
    m_indexList = new QListWidget;
    m_indexList->setObjectName(QStringLiteral("helpIndexList"));
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this,
            [this] { activateItem(m_indexList->currentItem()); });
    connect(m_indexList, &QListWidget::itemActivated, this, &HelpWindow::activateItem);
    connect(m_indexList, &QListWidget::itemClicked, this, &HelpWindow::activateItem);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_indexFilter);
    layout->addWidget(m_indexList);
    return page;
}

QWidget *HelpWindow::buildSearchTab()
{
    auto *page = new QWidget;
    m_searchText = new QLineEdit;
    m_searchText->setObjectName(QStringLiteral("helpSearchText"));
    m_searchText->setPlaceholderText(tr("Mots à rechercher"));
    auto *button = new QPushButton(tr("&Rechercher"));
    button->setObjectName(QStringLiteral("helpSearchButton"));
    m_searchStatus = new QLabel;
    m_searchStatus->setObjectName(QStringLiteral("helpSearchStatus"));
    m_searchResults = new QListWidget;
    m_searchResults->setObjectName(QStringLiteral("helpSearchResults"));
    connect(button, &QPushButton::clicked, this, &HelpWindow::runSearch);
    connect(m_searchText, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(m_searchResults, &QListWidget::itemActivated, this, &HelpWindow::activateItem);
    connect(m_searchResults, &QListWidget::itemClicked, this, &HelpWindow::activateItem);
    auto *row = new QHBoxLayout;
    row->addWidget(m_searchText);
    row->addWidget(button);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(m_searchStatus);
    layout->addWidget(m_searchResults);
    return page;
}

void HelpWindow::setHelp(const HelpFile &file, const QString &path)
{
    m_file = file;
    m_browser->setSearchPaths({QFileInfo(path).absolutePath()});
    m_browser->setHtml(m_file.html());
    fillContents();
    fillIndex();
    m_searchResults->clear();
    m_searchStatus->clear();
    m_currentTopic.clear();
}

void HelpWindow::showContents()
{
    m_tabs->setCurrentIndex(0);
    if (!m_file.topics().isEmpty())
        showTopic(m_file.topics().front().id);
}

void HelpWindow::showTopic(const QString &id)
{
    if (!m_file.topic(id))
        return;
    m_currentTopic = id;
    m_browser->scrollToAnchor(id);
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        if ((*it)->data(0, topicRole).toString() == id) {
            m_contents->setCurrentItem(*it);
            break;
        }
    }
}

void HelpWindow::fillContents()
{
    m_contents->clear();
    QTreeWidgetItem *chapter = nullptr;
    for (const HelpTopic &topic : m_file.topics()) {
        QTreeWidgetItem *item =
            topic.level == 1 || !chapter ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(chapter);
        item->setText(0, topic.title);
        item->setData(0, topicRole, topic.id);
        if (topic.level == 1)
            chapter = item;
    }
    m_contents->expandAll();
}

void HelpWindow::fillIndex()
{
    m_indexList->clear();
    for (const HelpIndexEntry &entry : m_file.index()) {
        for (const QString &id : entry.topicIds) {
            // A term found in several topics gets one line per topic, told apart by its title.
            const QString text = entry.topicIds.size() == 1
                                     ? entry.term
                                     : QStringLiteral("%1 — %2").arg(entry.term, m_file.topic(id)->title);
            auto *item = new QListWidgetItem(text, m_indexList);
            item->setData(topicRole, id);
        }
    }
    filterIndex(m_indexFilter->text());
}

void HelpWindow::filterIndex(const QString &text)
{
    const QString prefix = HelpFile::foldForSearch(text.trimmed());
    QListWidgetItem *first = nullptr;
    for (int row = 0; row < m_indexList->count(); ++row) {
        QListWidgetItem *item = m_indexList->item(row);
        const bool shown = HelpFile::foldForSearch(item->text()).startsWith(prefix);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    m_indexList->setCurrentItem(first);
}

void HelpWindow::runSearch()
{
    m_searchResults->clear();
    const QStringList ids = m_file.search(m_searchText->text());
    for (const QString &id : ids) {
        auto *item = new QListWidgetItem(m_file.topic(id)->title, m_searchResults);
        item->setData(topicRole, id);
    }
    m_searchStatus->setText(ids.isEmpty() ? tr("Aucune rubrique trouvée.")
                                          : tr("%n rubrique(s) trouvée(s).", nullptr, int(ids.size())));
    if (!ids.isEmpty())
        m_searchResults->setCurrentRow(0);
}

void HelpWindow::activateItem(QListWidgetItem *item)
{
    if (item && !item->isHidden())
        showTopic(item->data(topicRole).toString());
}
