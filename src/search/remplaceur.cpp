#include "remplaceur.h"

#include "searchwidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SearchWidgets;

remplaceur::remplaceur(const SearchRequest &request, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("remplaceur"));
    setWindowTitle(tr("Remplacer"));
    setAccessibleName(tr("Remplacer"));
    setModal(true);

    const QString searchCaption = tr("Texte à rechercher");
    const QString replacementCaption = tr("Remplacer par");
    m_search = lineEdit("Text1", request.searchText, searchCaption, this);
    m_replacement = lineEdit("Text2", request.replaceText, replacementCaption, this);
    m_matchCase = checkBox("Check1", tr("Différencier Majuscules / Minuscules"), request.matchCase, this);
    m_wholeWord = checkBox("Check2", tr("Mot entier"), request.wholeWord, this);
    QPushButton *oneByOne = button("Command3", tr("&Remplacer"), this);
    QPushButton *all = button("Command1", tr("Remplacer &tout"), this);
    QPushButton *cancel = button("Command2", tr("&Annuler"), this);
    oneByOne->setDefault(true);

    auto *fields = new QVBoxLayout;
    fields->addWidget(frame("Frame1", searchCaption, {m_search}, this));
    fields->addWidget(frame("Frame2", replacementCaption, {m_replacement}, this));
    fields->addWidget(frame("Frame3", tr("Options"), {m_matchCase, m_wholeWord}, this));
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(oneByOne);
    buttons->addWidget(all);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    m_search->selectAll();
    m_search->setFocus();

    connect(oneByOne, &QPushButton::clicked, this, [this] { run(onReplaceOneByOne); });
    connect(all, &QPushButton::clicked, this, [this] { run(onReplaceAll); });
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (onCancel)
            onCancel();
        reject();
    });
}

SearchRequest remplaceur::request() const
{
    SearchRequest request;
    request.searchText = m_search->text();
    request.replaceText = m_replacement->text();
    request.matchCase = m_matchCase->isChecked();
    request.wholeWord = m_wholeWord->isChecked();
    return request;
}

void remplaceur::run(const std::function<bool(const SearchRequest &)> &command)
{
    if (command && command(request()))
        accept();
}

void remplaceur::done(int result)
{
    // Once, though a run may end the dialog again after hiding it for the prompt.
    if (!m_closed) {
        m_closed = true;
        if (onClosed)
            onClosed();
    }
    QDialog::done(result);
}
