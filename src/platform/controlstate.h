#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QSignalBlocker>

// Shows a check state set by the program without running the control's handler.
//
// Handlers listen to `toggled`, the one signal that a click, a key, a menu choice and an
// accessibility "Toggle" all raise; the program's own writes (the selection mirror, a handler
// keeping a group exclusive) must stay silent, or they would apply what they only show. The
// buttons and menus showing an action still follow it: they learn of the change by event.
inline void showChecked(QAction *control, bool on)
{
    const QSignalBlocker silent(control);
    control->setChecked(on);
}

inline void showChecked(QAbstractButton *control, bool on)
{
    const QSignalBlocker silent(control);
    control->setChecked(on);
}
