#pragma once

#include "instructionspainter.h"

#include <QPixmap>
#include <QWidget>

#include <array>

class ClickableLabel;
class QComboBox;
class QToolButton;

// The exercise panel `Picture4`: the guide to building an exercise, the module list `Combo2` and
// the five workflow icons with their captions `Label7` 0..4 (named `Label7_0`..`Label7_4`, index
// also in the property "index"). The guide is drawn once into a kept image; repaints show that
// image and never run the drawing again.
class ExercisePanel : public QWidget
{
    Q_OBJECT
public:
    enum Icon {
        Parameters,
        New,
        Open,
        Statement,
        Correction
    }; // Image2, Command14, command10, Image3, Image4

    explicit ExercisePanel(QWidget *parent = nullptr);

    // Module list: cleared, filled in table order, the prompt selected.
    void fillModuleList();
    int moduleIndex() const;
    QString moduleText() const;
    void selectModule(int index);

    // Draws the guide into the kept image and places the controls from it.
    void paintInstructions();
    const QPixmap &instructionsImage() const { return m_image; }
    int instructionsRuns() const { return m_runs; }

    // The statement and correction buttons with their captions (Image3/Label7 3, Image4/Label7 4).
    void setStatementVisible(bool visible);
    void setCorrectionVisible(bool visible);

    QWidget *iconWidget(Icon icon) const;
    QWidget *captionWidget(Icon icon) const;

Q_SIGNALS:
    void modulePicked(const QString &displayText);
    void iconClicked(ExercisePanel::Icon icon);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QComboBox *m_modules = nullptr;
    std::array<QToolButton *, InstructionsPlacement::iconCount> m_icons{};
    std::array<ClickableLabel *, InstructionsPlacement::iconCount> m_captions{};
    QPixmap m_image;
    int m_runs = 0;
};
