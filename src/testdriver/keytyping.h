#pragma once

#include <QString>

class QWidget;

// Sends `keys`, in the platform's keystroke notation, to `target`; false when malformed. Apart
// from the driver because the platform's keystroke type and the control's share a name.
bool typeKeys(QWidget *target, const QString &keys);
