#pragma once

#include <QList>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

// Widgets of the search dialogs, named and announced by their captions.
namespace SearchWidgets {

QPushButton *button(const char *name, const QString &caption, QWidget *parent);
QCheckBox *checkBox(const char *name, const QString &caption, bool checked, QWidget *parent);
QLineEdit *lineEdit(const char *name, const QString &text, const QString &accessibleName, QWidget *parent);
// A frame holding `content`, one widget under the other.
QGroupBox *frame(const char *name, const QString &caption, const QList<QWidget *> &content, QWidget *parent);

} // namespace SearchWidgets
