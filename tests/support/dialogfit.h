#pragma once

#include <QStringList>

class QWidget;

// What a person would see cut in a window at its current size: a label or button whose text
// does not fit, a text box lower than its font, a group box caption covered by a neighbour, a
// control standing out of its parent. One line per fault, naming the control, empty when the
// window shows everything whole. The window must have been shown (layouts done).
namespace DialogFit {

QStringList problems(const QWidget *window);

} // namespace DialogFit
