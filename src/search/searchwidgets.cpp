#include "searchwidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace SearchWidgets {

namespace {

// The accessible name is the caption as a screen reader says it, without its mnemonic mark.
QString spoken(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

} // namespace

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(spoken(caption));
    button->setAutoDefault(false);
    return button;
}

QCheckBox *checkBox(const char *name, const QString &caption, bool checked, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(spoken(caption));
    box->setChecked(checked);
    return box;
}

QLineEdit *lineEdit(const char *name, const QString &text, const QString &accessibleName, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(accessibleName);
    return edit;
}

QGroupBox *frame(const char *name, const QString &caption, const QList<QWidget *> &content, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(caption);
    auto *layout = new QVBoxLayout(box);
    for (QWidget *widget : content)
        layout->addWidget(widget);
    return box;
}

} // namespace SearchWidgets
