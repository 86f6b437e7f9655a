#include "equationdialog.h"

#include "equationpreview.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

const QStringList &EquationDialog::examples()
{
    static const QStringList list = {QStringLiteral("1/2 m v^2"),       QStringLiteral("vec(F)"),
                                     QStringLiteral("sqrt(2 g h)"),     QStringLiteral("sum_(i=1)^n"),
                                     QStringLiteral("int_0^T v(t) dt"), QStringLiteral("[[a,b],[c,d]]")};
    return list;
}

EquationDialog::EquationDialog(const EquationRequest &request, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("equation"));
    setWindowTitle(tr("Équation"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);

    auto *caption = new QLabel(tr("&Équation :"));
    caption->setObjectName(QStringLiteral("Label1"));
    m_line = new QLineEdit(request.linear);
    m_line->setObjectName(QStringLiteral("Text1"));
    m_line->setAccessibleName(tr("Équation"));
    m_line->setMinimumWidth(m_line->fontMetrics().horizontalAdvance(QLatin1Char('m')) * 36);
    caption->setBuddy(m_line);
    layout->addWidget(caption);
    layout->addWidget(m_line);

    m_preview = new EquationPreview(request.pointSize);
    m_preview->setLinear(request.linear);
    layout->addWidget(m_preview, 1);

    auto *examplesRow = new QHBoxLayout;
    auto *examplesCaption = new QLabel(tr("Exemples :"));
    examplesCaption->setObjectName(QStringLiteral("Label2"));
    examplesRow->addWidget(examplesCaption);
    int index = 0;
    for (const QString &example : examples()) {
        auto *button = new QToolButton;
        button->setObjectName(QStringLiteral("exemple%1").arg(++index));
        button->setText(example);
        button->setAccessibleName(example);
        button->setAutoRaise(true);
        // An example goes in where the caret is, so that it can be added to what is typed.
        connect(button, &QToolButton::clicked, this, [this, example] {
            m_line->insert(example);
            m_line->setFocus();
        });
        examplesRow->addWidget(button);
    }
    examplesRow->addStretch();
    layout->addLayout(examplesRow);

    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(tr("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setAccessibleName(cancel->text());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_line, &QLineEdit::textChanged, m_preview, &EquationPreview::setLinear);
    m_line->setFocus();
    m_line->selectAll();
}

QString EquationDialog::linear() const
{
    return m_line->text();
}

std::optional<QString> EquationDialog::ask(const EquationRequest &request, QWidget *parent)
{
    EquationDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.linear();
}
