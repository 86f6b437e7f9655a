#pragma once

#include "math/equation.h"

#include <QWidget>

// The dialog's live preview: the equation as typed so far, in display style at twice the size
// of the text it goes into, centred; drawn from the same layout as the text draws it.
class EquationPreview : public QWidget
{
    Q_OBJECT
public:
    explicit EquationPreview(double pointSize, QWidget *parent = nullptr);

    void setLinear(const QString &linear);
    QString linear() const { return m_equation.linear(); }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_pointSize;
    Equation m_equation;
};
