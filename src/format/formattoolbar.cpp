#include "formattoolbar.h"

#include "updown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>

ColorSwatch::ColorSwatch(QWidget *parent) : QLabel(parent)
{
    setTextColor(qRgb(0, 0, 0));
    setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::setTextColor(QRgb color)
{
    m_color = qRgb(qRed(color), qGreen(color), qBlue(color));
    setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(QColor(m_color).name()));
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

namespace {

template <typename W> W *named(W *widget, const QString &name, const QString &accessible)
{
    widget->setObjectName(name);
    widget->setAccessibleName(accessible);
    return widget;
}

QLabel *caption(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

FormatToolBar::FormatToolBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("barreFormat"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 1, 4, 1);
    row->setSpacing(3);

    Combo1 = named(new QComboBox, QStringLiteral("Combo1"), tr("Police:"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->lineEdit()->setReadOnly(true); // only a name picked from the list is applied
    Combo1->setMinimumContentsLength(8);   // the row fits 800 pixels with both steps
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row->addWidget(caption(tr("Police:"), Combo1));
    row->addWidget(Combo1);

    taille = named(new QLineEdit, QStringLiteral("taille"), tr("Taille:"));
    taille->setReadOnly(true);
    taille->setFixedWidth(taille->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    taille->setAlignment(Qt::AlignRight);
    UpDown1 = named(new UpDown(8, 72, 2, 10), QStringLiteral("UpDown1"), tr("Taille"));
    taille->setText(QString::number(UpDown1->value()));
    row->addSpacing(2);
    row->addWidget(caption(tr("Taille:"), taille));
    row->addWidget(taille);
    row->addWidget(UpDown1);

    Command15 = named(new QToolButton, QStringLiteral("Command15"), tr("I"));
    Command15->setText(tr("I"));
    QFont italic = Command15->font();
    italic.setFamily(QStringLiteral("Arial"));
    italic.setItalic(true);
    Command15->setFont(italic);
    row->addWidget(Command15);

    cotext = named(new ColorSwatch, QStringLiteral("cotext"), tr("Couleur"));
    cotext->setText(tr("Couleur"));
    row->addWidget(cotext);
    row->addSpacing(3);

    const QStringList scripts = {tr("&Normal"), tr("&Indice"), tr("E&xposant")};
    for (int i = 0; i < 3; ++i) {
        Option2[i] = named(new QRadioButton(scripts[i]), QStringLiteral("Option2_%1").arg(i), scripts[i]);
        // The mirror must be able to select none of them (a mixed offset).
        Option2[i]->setAutoExclusive(false);
        Option2[i]->setFocusPolicy(Qt::TabFocus);
        row->addWidget(Option2[i]);
    }
    Option2[0]->setToolTip(tr("Caractère normal"));
    Option2[0]->setChecked(true);
    row->addSpacing(2);
    const QStringList toggles = {tr("exposant"), tr("indice")};
    for (int i = 0; i < 2; ++i) {
        Check3[i] = named(new QCheckBox(toggles[i]), QStringLiteral("Check3_%1").arg(i), toggles[i]);
        Check3[i]->setFocusPolicy(Qt::TabFocus);
        row->addWidget(Check3[i]);
    }
    udexp = named(new UpDown(1, 20, 1, 8), QStringLiteral("udexp"), tr("Pas des exposants"));
    decexp = named(new QLabel(QStringLiteral("8")), QStringLiteral("decexp"), tr("Pas des exposants"));
    udind = named(new UpDown(1, 20, 1, 5), QStringLiteral("udind"), tr("Pas des indices"));
    decind = named(new QLabel(QStringLiteral("5")), QStringLiteral("decind"), tr("Pas des indices"));
    for (QLabel *label : {decexp, decind}) {
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("20")) + 2);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    decexp->setToolTip(tr("Pas des exposants"));
    decind->setToolTip(tr("Pas des indices"));
    row->addWidget(decexp);
    row->addWidget(udexp);
    row->addWidget(decind);
    row->addWidget(udind);
    row->addStretch(1);
}
