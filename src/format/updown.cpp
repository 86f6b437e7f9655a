#include "updown.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(int minimum, int maximum, int step, int value, QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)), m_minimum(minimum),
      m_maximum(maximum), m_step(step), m_value(qBound(minimum, value, maximum))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        button->setArrowType(button == m_up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        column->addWidget(button);
    }
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    m_up->setAccessibleName(tr("Augmenter"));
    m_down->setAccessibleName(tr("Diminuer"));
    connect(m_up, &QToolButton::clicked, this, [this] { setValue(m_value + m_step); });
    connect(m_down, &QToolButton::clicked, this, [this] { setValue(m_value - m_step); });
}

void UpDown::setValue(int value)
{
    const int bounded = qBound(m_minimum, value, m_maximum);
    if (bounded == m_value)
        return;
    m_value = bounded;
    Q_EMIT valueChanged(m_value);
}
