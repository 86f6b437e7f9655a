#pragma once

#include <QWidget>

class QToolButton;

// An up-down pair of arrows holding a whole number between a minimum and a maximum, moved by a
// step; the value shows elsewhere (a label or a box beside it). valueChanged fires whenever the
// value changes, from a click or from code, as the formatting handlers expect.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, int step, int value, QWidget *parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value); // clamped to the range

Q_SIGNALS:
    void valueChanged(int value);

private:
    QToolButton *m_up;
    QToolButton *m_down;
    int m_minimum;
    int m_maximum;
    int m_step;
    int m_value;
};
