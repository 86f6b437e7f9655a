#include "choixremp.h"

#include "searchwidgets.h"

#include <QHBoxLayout>
#include <QPushButton>

using namespace SearchWidgets;

Choixremp::Choixremp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Choixremp"));
    setWindowTitle(tr("Remplacer"));
    setAccessibleName(tr("Remplacer"));
    setModal(true);

    auto *layout = new QHBoxLayout(this);
    const struct
    {
        const char *name;
        QString caption;
        PromptAnswer answer;
    } buttons[] = {
        {"Command1", tr("&Remplacer"), PromptAnswer::Replace},
        {"Command2", tr("&Sauter"), PromptAnswer::Skip},
        {"Command3", tr("&Annuler"), PromptAnswer::Cancel},
        {"Command4", tr("Remplacer &tout"), PromptAnswer::ReplaceAll},
    };
    for (const auto &definition : buttons) {
        QPushButton *b = button(definition.name, definition.caption, this);
        const PromptAnswer answer = definition.answer;
        connect(b, &QPushButton::clicked, this, [this, answer] { answerWith(answer); });
        layout->addWidget(b);
        if (answer == PromptAnswer::Replace) {
            b->setDefault(true);
            b->setFocus();
        }
    }
}

PromptAnswer Choixremp::ask()
{
    m_answer = PromptAnswer::Skip;
    exec();
    return m_answer;
}

void Choixremp::answerWith(PromptAnswer answer)
{
    m_answer = answer;
    accept();
}
