#include "exercisepanel.h"

#include "clickablelabel.h"
#include "moduletable.h"

#include <QComboBox>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace {

// 3735 × 6975 twips at 15 twips per pixel.
constexpr QSize kPanelSize(249, 465);
constexpr int kIconSize = 24;

} // namespace

ExercisePanel::ExercisePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture4"));
    setFixedSize(kPanelSize);

    m_modules = new QComboBox(this);
    m_modules->setObjectName(QStringLiteral("Combo2"));
    m_modules->setMinimumContentsLength(14);
    m_modules->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(m_modules, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Q_EMIT modulePicked(m_modules->itemText(index));
    });

    const char *names[] = {"Image2", "Command14", "command10", "Image3", "Image4"};
    const QStyle::StandardPixmap pictures[] = {QStyle::SP_FileDialogDetailedView, QStyle::SP_FileIcon,
                                               QStyle::SP_DialogOpenButton, QStyle::SP_FileDialogContentsView,
                                               QStyle::SP_DialogApplyButton};
    const QString captions[] = {tr("Paramètres"), tr("Nouveau"), tr("Ouvrir"), tr("Énoncé"), tr("Corrigé")};
    for (int i = 0; i < InstructionsPlacement::iconCount; ++i) {
        const auto icon = Icon(i);
        m_icons[i] = new QToolButton(this);
        m_icons[i]->setObjectName(QLatin1String(names[i]));
        m_icons[i]->setIcon(style()->standardIcon(pictures[i]));
        m_icons[i]->setIconSize(QSize(kIconSize - 4, kIconSize - 4));
        m_icons[i]->setFixedSize(kIconSize, kIconSize);
        m_icons[i]->setAutoRaise(true);
        m_icons[i]->setToolTip(captions[i]);
        m_icons[i]->setAccessibleName(captions[i]); // an icon alone says nothing to a screen reader
        connect(m_icons[i], &QToolButton::clicked, this, [this, icon] { Q_EMIT iconClicked(icon); });
        m_captions[i] = new ClickableLabel(captions[i], this);
        m_captions[i]->setObjectName(QStringLiteral("Label7_%1").arg(i));
        m_captions[i]->setProperty("index", i);
        m_captions[i]->setCursor(Qt::PointingHandCursor);
        m_captions[i]->adjustSize();
        connect(m_captions[i], &ClickableLabel::clicked, this, [this, icon] { Q_EMIT iconClicked(icon); });
    }
    setStatementVisible(false);
    setCorrectionVisible(false);
}

void ExercisePanel::fillModuleList()
{
    m_modules->clear();
    m_modules->addItems(ModuleTable::listEntries());
    m_modules->setCurrentIndex(0);
}

int ExercisePanel::moduleIndex() const
{
    return m_modules->currentIndex();
}

QString ExercisePanel::moduleText() const
{
    return m_modules->currentText();
}

void ExercisePanel::selectModule(int index)
{
    m_modules->setCurrentIndex(index);
}

void ExercisePanel::paintInstructions()
{
    const qreal ratio = devicePixelRatioF();
    QPixmap image(size() * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    const InstructionsPlacement placement = InstructionsPainter::paint(painter, size(), m_icons[0]->width());
    painter.end();
    m_image = image;
    ++m_runs;

    m_modules->move(placement.moduleList);
    // Narrow enough to stay inside the panel whatever the text metrics put its left edge.
    m_modules->resize(std::min(m_modules->sizeHint().width(), width() - placement.moduleList.x() - 4),
                      m_modules->sizeHint().height());
    for (int i = 0; i < InstructionsPlacement::iconCount; ++i) {
        m_icons[i]->move(placement.icons[i]);
        m_captions[i]->move(placement.captions[i]);
    }
    update();
}

void ExercisePanel::setStatementVisible(bool visible)
{
    m_icons[Statement]->setVisible(visible);
    m_captions[Statement]->setVisible(visible);
}

void ExercisePanel::setCorrectionVisible(bool visible)
{
    m_icons[Correction]->setVisible(visible);
    m_captions[Correction]->setVisible(visible);
}

QWidget *ExercisePanel::iconWidget(Icon icon) const
{
    return m_icons[icon];
}

QWidget *ExercisePanel::captionWidget(Icon icon) const
{
    return m_captions[icon];
}

void ExercisePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_image.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawPixmap(0, 0, m_image);
}
