#include "tabsdialog.h"

#include "centimetres.h"
#include "platform/messageboxes.h"
#include "richtext/richtextcontrol.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *push = new QPushButton(caption, parent);
    push->setObjectName(QLatin1String(name));
    push->setAccessibleName(caption);
    push->setAutoDefault(false);
    return push;
}

} // namespace

Tabof::Tabof(RichTextControl &exo, MessageBoxes &messages, std::function<void()> majregle, QWidget *parent)
    : QDialog(parent), m_exo(exo), m_messages(messages), m_majregle(std::move(majregle))
{
    setObjectName(QStringLiteral("Tabof"));
    setWindowTitle(tr("Tabulations"));
    setAccessibleName(tr("Tabulations"));
    setModal(true);

    const QString positions = tr("Positions");
    m_list1 = new QListWidget(this);
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setAccessibleName(positions);
    m_list1->setSortingEnabled(true); // sorted as text: "10,5" comes before "2,"
    // Room for the ten stops the ruler shows, not for a page of them.
    m_list1->setMinimumSize(m_list1->fontMetrics().horizontalAdvance(QStringLiteral("00,00")) * 3,
                            m_list1->fontMetrics().height() * 8);
    m_list1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_list2 = new QListWidget(this);
    m_list2->setObjectName(QStringLiteral("List2"));
    m_list2->setAccessibleName(positions);
    m_list2->hide();
    auto *positionsFrame = new QGroupBox(positions, this);
    positionsFrame->setObjectName(QStringLiteral("Frame1"));
    auto *positionsLayout = new QVBoxLayout(positionsFrame);
    positionsLayout->addWidget(m_list1);
    positionsLayout->addWidget(m_list2);

    const QString newStop = tr("Nouvelle tabulation");
    m_text1 = new QLineEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setAccessibleName(newStop);
    m_text1->installEventFilter(this);
    QPushButton *add = button("Command4", tr("Ajouter"), this);
    auto *newFrame = new QGroupBox(newStop, this);
    newFrame->setObjectName(QStringLiteral("Frame2"));
    auto *newLayout = new QHBoxLayout(newFrame);
    newLayout->addWidget(m_text1, 1);
    newLayout->addWidget(add);

    QPushButton *eraseSelected = button("Command2", tr("Effacer la tabulation sélectionnée"), this);
    QPushButton *eraseAll = button("Command1", tr("Effacer tout"), this);
    QPushButton *close = button("Command3", tr("Fermer"), this);
    const QString hintText =
        tr("Pour ajouter une tabulation, vous pouvez également cliquer sur la règle avec le "
           "bouton droit de la souris");
    auto *hint = new QLabel(hintText, this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setAccessibleName(hintText);
    hint->setWordWrap(true);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(eraseSelected);
    buttons->addWidget(eraseAll);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *top = new QHBoxLayout;
    top->addWidget(positionsFrame, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(newFrame);
    layout->addWidget(hint);

    connect(add, &QPushButton::clicked, this, &Tabof::ajouter);
    connect(eraseSelected, &QPushButton::clicked, this, &Tabof::effacerSelectionnee);
    connect(eraseAll, &QPushButton::clicked, this, &Tabof::effacerTout);
    connect(close, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    m_text1->setFocus();
    adjustSize();
}

bool Tabof::load()
{
    if (m_exo.selTabCount().isMixed()) {
        refuse();
        m_written = true; // never shown: nothing to write back
        return false;
    }
    majtab();
    return true;
}

void Tabof::majtab()
{
    const Mixed<int> count = m_exo.selTabCount();
    if (count.isMixed()) {
        closeAfterRefusal();
        return;
    }
    m_list1->clear();
    m_list2->clear();
    const QChar point = Centimetres::userDecimalPoint();
    for (int i = 0; i < count.value(); ++i) {
        const Mixed<double> position = m_exo.selTabs(i);
        if (position.isMixed()) {
            closeAfterRefusal();
            return;
        }
        const QString line = Centimetres::format(position.value() / Centimetres::dialogPixelsPerCm, point);
        m_list1->addItem(line);
        m_list2->addItem(line);
    }
}

void Tabof::ajouter()
{
    const double centimetres = Centimetres::leadingNumber(m_text1->text());
    if (!(centimetres > 0) || centimetres > 8.5)
        return;
    const Mixed<int> count = m_exo.selTabCount();
    if (count.hasValue()) {
        m_exo.setSelTabCount(count.value() + 1);
        m_exo.setSelTabs(count.value(), centimetres * Centimetres::dialogPixelsPerCm);
    }
    m_exo.refresh();
    m_text1->clear();
    majtab();
}

void Tabof::effacerSelectionnee()
{
    const QList<QListWidgetItem *> selected = m_list1->selectedItems();
    if (selected.isEmpty() || selected.front()->text().isEmpty())
        return;
    const QString line = selected.front()->text();
    int k = -1;
    for (int i = m_list2->count() - 1; i >= 0; --i) {
        if (m_list2->item(i)->text() == line) {
            k = i;
            break;
        }
    }
    if (k < 0)
        return;
    const int lines = m_list1->count();
    for (int j = k; j <= lines - 2; ++j) {
        const Mixed<double> next = m_exo.selTabs(j + 1);
        if (next.hasValue())
            m_exo.setSelTabs(j, next.value());
    }
    const Mixed<int> count = m_exo.selTabCount();
    if (count.hasValue() && count.value() > 0)
        m_exo.setSelTabCount(count.value() - 1);
    m_exo.refresh();
    majtab();
}

void Tabof::effacerTout()
{
    m_exo.setSelTabCount(0);
    majtab();
}

void Tabof::done(int result)
{
    writeBack();
    QDialog::done(result);
}

void Tabof::closeEvent(QCloseEvent *event)
{
    writeBack();
    QDialog::closeEvent(event);
}

bool Tabof::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_text1 || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        ajouter();
        return true; // Enter adds, and goes no further
    }
    const QString typed = key->text();
    // Keys that type nothing (moving, backspace, Tab) and shortcuts keep their meaning.
    if (typed.isEmpty() || !typed.front().isPrint() || (key->modifiers() & Qt::ControlModifier))
        return QDialog::eventFilter(watched, event);
    const QChar c = typed.front();
    if (c == QLatin1Char(',')) {
        m_text1->insert(QStringLiteral("."));
        return true;
    }
    const bool allowed = c == QLatin1Char('.') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
    return !allowed || QDialog::eventFilter(watched, event);
}

void Tabof::refuse()
{
    m_messages.show(tr("Ne sélectionner qu'une partie du texte avec des tabulations identiques"),
                    tr("Tabulation refusée"), MessageIcon::Stop, MessageButtons::Ok);
}

void Tabof::closeAfterRefusal()
{
    refuse();
    m_exo.setFocus();
    done(QDialog::Rejected);
}

void Tabof::writeBack()
{
    if (m_written)
        return;
    m_written = true;
    for (int i = 0; i < m_list1->count(); ++i) {
        double centimetres = 0;
        if (Centimetres::readLocal(m_list1->item(i)->text(), &centimetres))
            m_exo.setSelTabs(i, centimetres * Centimetres::dialogPixelsPerCm);
    }
    if (m_majregle)
        m_majregle();
    m_exo.refresh();
}
