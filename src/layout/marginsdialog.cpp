#include "marginsdialog.h"

#include "centimetres.h"
#include "richtext/richtextcontrol.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

marges::marges(RichTextControl &exo, QWidget *parent) : QDialog(parent), m_exo(exo)
{
    setObjectName(QStringLiteral("marges"));
    setWindowTitle(tr("Les marges"));
    setAccessibleName(tr("Les marges"));
    setModal(true);

    const QChar point = Centimetres::userDecimalPoint();
    const std::array<Mixed<double>, 2> indents{exo.selIndent(), exo.selRightIndent()};
    const std::array<QString, 2> captions{tr("Marge gauche:"), tr("Marge droite:")};
    auto *grid = new QGridLayout;
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(captions.at(i), this);
        label->setObjectName(i == 0 ? QStringLiteral("Label1") : QStringLiteral("Label2"));
        label->setAccessibleName(captions.at(i));
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setAccessibleName(captions.at(i));
        if (indents.at(i).hasValue())
            box->setText(Centimetres::format(indents.at(i).value() / Centimetres::dialogPixelsPerCm, point));
        box->installEventFilter(this);
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        grid->addWidget(new QLabel(tr("cm"), this), i, 2);
        m_boxes.at(i) = box;
    }

    auto *ok = new QPushButton(tr("Valider"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setAccessibleName(tr("Valider"));
    ok->setAutoDefault(false);
    auto *cancel = new QPushButton(tr("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setAccessibleName(tr("Annuler"));
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &marges::valider);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_boxes.front()->selectAll();
    m_boxes.front()->setFocus();
}

void marges::valider()
{
    for (QLineEdit *box : m_boxes) {
        if (box->text().trimmed().isEmpty())
            continue;
        double value = 0;
        if (!Centimetres::readLocal(box->text(), &value) || value < 0)
            box->setText(QStringLiteral("0"));
        else if (value > maximumCm)
            box->setText(QStringLiteral("4"));
    }
    double value = 0;
    if (!m_boxes[0]->text().trimmed().isEmpty() && Centimetres::readLocal(m_boxes[0]->text(), &value))
        m_exo.setSelIndent(value * Centimetres::dialogPixelsPerCm);
    if (!m_boxes[1]->text().trimmed().isEmpty() && Centimetres::readLocal(m_boxes[1]->text(), &value))
        m_exo.setSelRightIndent(value * Centimetres::dialogPixelsPerCm);
    accept();
}

bool marges::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        valider();
        return true;
    }
    const QString typed = key->text();
    if (typed.isEmpty() || !typed.front().isPrint() || (key->modifiers() & Qt::ControlModifier))
        return QDialog::eventFilter(watched, event);
    const QChar c = typed.front();
    if (c == QLatin1Char('.')) {
        box->insert(QStringLiteral(","));
        return true;
    }
    const bool allowed = c == QLatin1Char(',') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
    return !allowed || QDialog::eventFilter(watched, event);
}
