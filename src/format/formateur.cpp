#include "formateur.h"

#include "platform/titlebar.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

// An up-down whose typed value must also lie on its steps (sizes go by 2 points): a value off
// them is taken as the nearest step when the typing ends.
class SteppedSpinBox : public QSpinBox
{
public:
    QValidator::State validate(QString &input, int &pos) const override
    {
        const QValidator::State state = QSpinBox::validate(input, pos);
        if (state != QValidator::Acceptable)
            return state;
        return onStep(valueFromText(input)) ? QValidator::Acceptable : QValidator::Intermediate;
    }

    void fixup(QString &input) const override
    {
        bool ok = false;
        const int typed = input.trimmed().toInt(&ok);
        if (!ok)
            return;
        input = textFromValue(nearestStep(typed));
    }

    int nearestStep(int value) const
    {
        const int step = qMax(1, singleStep());
        const int steps = qRound(double(qBound(minimum(), value, maximum()) - minimum()) / step);
        return qMin(maximum(), minimum() + steps * step);
    }

private:
    bool onStep(int value) const { return (value - minimum()) % qMax(1, singleStep()) == 0; }
};

// A display box beside its up-down: the box shows the value, the up-down changes it.
QSpinBox *addRow(QGridLayout *grid, int row, const QString &caption, const char *labelName,
                 const char *boxName, const char *upDownName, int minimum, int maximum, int stepSize,
                 int value)
{
    auto *label = new QLabel(caption);
    label->setObjectName(QLatin1String(labelName));
    auto *box = new QLineEdit;
    box->setObjectName(QLatin1String(boxName));
    box->setReadOnly(true);
    box->setAccessibleName(caption);
    box->setMaximumWidth(48);
    auto *upDown = new SteppedSpinBox;
    upDown->setObjectName(QLatin1String(upDownName));
    upDown->setAccessibleName(caption);
    upDown->setRange(minimum, maximum);
    upDown->setSingleStep(stepSize);
    upDown->setValue(upDown->nearestStep(value));
    box->setText(QString::number(upDown->value()));
    QObject::connect(upDown, &QSpinBox::valueChanged, box,
                     [box](int v) { box->setText(QString::number(v)); });
    label->setBuddy(upDown);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(upDown, row, 2);
    return upDown;
}

} // namespace

Formateur::Formateur(const FormateurSettings &settings, QWidget *parent)
    : QDialog(parent), m_kind(settings.kind)
{
    setObjectName(QStringLiteral("Formateur"));
    setWindowTitle(settings.kind == 2 ? tr("Modifier les indices") : tr("Modifier les exposants"));
    setAccessibleName(windowTitle());
    auto *grid = new QGridLayout(this);
    m_size = addRow(grid, 0, tr("Taille"), "Label1", "Text1", "UpDown1", 8, 40, 2, settings.size);
    m_step = addRow(grid, 1, tr("Décalage:"), "Label2", "Text2", "UpDown2", 1, 50, 1, settings.step);
    auto *ok = new QPushButton(tr("OK"));
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, 2, 0, 1, 3, Qt::AlignRight);
    TitleBar::openWide(*this);
}

FormateurSettings Formateur::settings() const
{
    return {m_kind, m_size->value(), m_step->value()};
}

std::optional<FormateurSettings> Formateur::ask(const FormateurSettings &settings, QWidget *parent)
{
    Formateur dialog(settings, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.settings();
}
