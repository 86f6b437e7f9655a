#pragma once

#include <QLabel>

// A caption that does what the button above it does when clicked.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
