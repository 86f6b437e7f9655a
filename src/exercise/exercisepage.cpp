#include "exercisepage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QString indexedName(const char *name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// The box shows line breaks as '\n'; the file stores them as "\r\n", and the 480-character
// limit counts them as two, as the stored text does.
QString toStored(const QString &shown)
{
    QString stored = shown;
    stored.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    stored.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return stored;
}

QString toShown(const QString &stored)
{
    QString shown = stored;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

} // namespace

ExercisePage::ExercisePage(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1_1"));
    setProperty("index", 1);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Text1"));
    m_path->setReadOnly(true);
    connect(m_path, &QLineEdit::textChanged, this, [this] {
        m_path->setToolTip(m_path->text());
        if (!m_quiet)
            Q_EMIT exercisePathChanged();
    });
    layout->addWidget(m_path);

    const std::array<QString, slotCount> captions = {
        tr("Énoncé (fichier rtf)"), tr("Paramètres initiaux du simulateur"), tr("Correction (fichier rtf)"),
        tr("Paramètres du simulateur (correction)")};
    auto *slotGrid = new QGridLayout;
    for (int i = 0; i < slotCount; ++i) {
        auto *caption = new QLabel(captions[i], this);
        m_slots[i] = new QLabel(this);
        m_slots[i]->setObjectName(indexedName("ficex", i));
        m_slots[i]->setProperty("index", i);
        m_slots[i]->setFrameShape(QFrame::Panel);
        m_slots[i]->setFrameShadow(QFrame::Sunken);
        m_slots[i]->setTextFormat(Qt::PlainText);
        m_slots[i]->setMinimumWidth(160);
        auto *choose = new QPushButton(tr("Ouvrir"), this);
        choose->setObjectName(indexedName("CommandZ10", i));
        choose->setProperty("index", i);
        connect(choose, &QPushButton::clicked, this, [this, i] { Q_EMIT chooseSlotRequested(i); });
        auto *clear = new QPushButton(tr("Effacer"), this);
        clear->setObjectName(indexedName("CommandZ14", i));
        clear->setProperty("index", i);
        connect(clear, &QPushButton::clicked, this, [this, i] { Q_EMIT clearSlotRequested(i); });
        slotGrid->addWidget(caption, 2 * i, 0, 1, 3);
        slotGrid->addWidget(m_slots[i], 2 * i + 1, 0);
        slotGrid->addWidget(choose, 2 * i + 1, 1);
        slotGrid->addWidget(clear, 2 * i + 1, 2);
    }
    slotGrid->setColumnStretch(0, 1);
    layout->addLayout(slotGrid);

    layout->addWidget(new QLabel(tr("Titre de l'exercice"), this));
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("titrexo"));
    m_title->setMaxLength(ExerciseData::maxTitleLength);
    layout->addWidget(m_title);

    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("HScroll1"));
    m_scroll->setRange(ExerciseData::scrollMinimum, ExerciseData::scrollMaximum);
    m_scroll->setPageStep(1024); // a handle wide enough to grab over the whole range
    layout->addWidget(m_scroll);

    auto *difficultyRow = new QHBoxLayout;
    difficultyRow->addWidget(new QLabel(tr("Niveau de difficulté :"), this));
    m_difficulty = new QComboBox(this);
    m_difficulty->setObjectName(QStringLiteral("ComboZ1"));
    difficultyRow->addWidget(m_difficulty, 1);
    layout->addLayout(difficultyRow);

    layout->addWidget(new QLabel(tr("Description"), this));
    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QStringLiteral("TextZ1"));
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setTabChangesFocus(true);
    connect(m_description, &QPlainTextEdit::textChanged, this, &ExercisePage::limitDescription);
    layout->addWidget(m_description, 1);

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(tr("Enregistrer"), this);
    save->setObjectName(QStringLiteral("Command20"));
    connect(save, &QPushButton::clicked, this, &ExercisePage::saveRequested);
    auto *cancel = new QPushButton(tr("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command19"));
    connect(cancel, &QPushButton::clicked, this, &ExercisePage::cancelRequested);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    hide();
}

QString ExercisePage::exercisePath() const
{
    return m_path->text();
}

void ExercisePage::setExercisePath(const QString &path)
{
    m_path->setText(path);
}

void ExercisePage::setExercisePathQuietly(const QString &path)
{
    m_quiet = true;
    m_path->setText(path);
    m_quiet = false;
}

QString ExercisePage::slotName(int slot) const
{
    Q_ASSERT(slot >= 0 && slot < slotCount);
    return m_slots[slot]->text();
}

void ExercisePage::setSlotName(int slot, const QString &name)
{
    Q_ASSERT(slot >= 0 && slot < slotCount);
    m_slots[slot]->setText(name);
}

ExerciseData ExercisePage::data() const
{
    ExerciseData data;
    for (int i = 0; i < slotCount; ++i)
        data.files[i] = m_slots[i]->text();
    data.difficulty = std::max(0, m_difficulty->currentIndex());
    data.scroll = m_scroll->value();
    data.description = toStored(m_description->toPlainText());
    data.title = m_title->text();
    return data;
}

void ExercisePage::setData(const ExerciseData &data)
{
    for (int i = 0; i < slotCount; ++i)
        m_slots[i]->setText(data.files[i]);
    m_difficulty->setCurrentIndex(data.difficulty);
    m_scroll->setValue(data.scroll);
    // A file written elsewhere may hold more than the box lets the user type; it is shown whole
    // rather than dropped (the writer refuses it until the description is shortened).
    {
        const QSignalBlocker blocker(m_description);
        m_description->setPlainText(toShown(data.description));
    }
    m_lastDescription = m_description->toPlainText();
    m_title->setText(data.title);
}

void ExercisePage::clearFields()
{
    for (QLabel *slot : m_slots)
        slot->clear();
    m_difficulty->setCurrentIndex(0);
    m_description->clear();
    m_title->clear();
}

void ExercisePage::fillDifficultyList()
{
    m_difficulty->clear();
    m_difficulty->addItems({tr("Non défini"), tr("* facile"), tr("** moyen"), tr("*** difficile")});
    m_difficulty->setCurrentIndex(0);
}

void ExercisePage::limitDescription()
{
    const QString shown = m_description->toPlainText();
    if (toStored(shown).size() <= ExerciseData::maxDescriptionLength ||
        shown.size() < m_lastDescription.size()) {
        m_lastDescription = shown;
        return;
    }
    // Typing or pasting past the limit is refused as a whole, the caret going back to where the
    // refused text would have started.
    const int caret = m_description->textCursor().position() - int(shown.size() - m_lastDescription.size());
    const QSignalBlocker blocker(m_description);
    m_description->setPlainText(m_lastDescription);
    QTextCursor cursor = m_description->textCursor();
    cursor.setPosition(std::clamp(caret, 0, int(m_lastDescription.size())));
    m_description->setTextCursor(cursor);
}
