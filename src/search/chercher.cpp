#include "chercher.h"

#include "searchwidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SearchWidgets;

Chercher::Chercher(const SearchRequest &request, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Chercher"));
    setWindowTitle(tr("Rechercher"));
    setAccessibleName(tr("Rechercher"));
    setModal(true);

    const QString searchCaption = tr("Texte à rechercher");
    m_text = lineEdit("Text1", request.searchText, searchCaption, this);
    m_matchCase = checkBox("Check1", tr("Différencier Majuscules / Minuscules"), request.matchCase, this);
    m_wholeWord = checkBox("Check2", tr("Rechercher mot entier"), request.wholeWord, this);
    QPushButton *search = button("Command1", tr("&Rechercher"), this);
    QPushButton *cancel = button("Command2", tr("&Annuler"), this);
    QPushButton *replace = button("Command3", tr("Remplacer"), this);
    search->setDefault(true);

    auto *fields = new QVBoxLayout;
    fields->addWidget(frame("Frame1", searchCaption, {m_text}, this));
    fields->addWidget(frame("Frame2", tr("Options"), {m_matchCase, m_wholeWord}, this));
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(search);
    buttons->addWidget(cancel);
    buttons->addWidget(replace);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    m_text->selectAll();
    m_text->setFocus();

    connect(search, &QPushButton::clicked, this, [this] {
        if (onSearch && onSearch(this->request()))
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (onCancel)
            onCancel();
        reject();
    });
    connect(replace, &QPushButton::clicked, this, [this] {
        hide();
        if (onReplace)
            onReplace();
        reject();
    });
}

SearchRequest Chercher::request() const
{
    SearchRequest request;
    request.searchText = m_text->text();
    request.matchCase = m_matchCase->isChecked();
    request.wholeWord = m_wholeWord->isChecked();
    return request;
}
