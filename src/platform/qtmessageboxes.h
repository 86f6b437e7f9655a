#pragma once

#include "messageboxes.h"

// QMessageBox over the active window, with French button captions whatever translations are
// installed. Closing the box (Escape, close button) gives the answer of its Escape button:
// Cancel, No, Abort or Ok.
class QtMessageBoxes : public MessageBoxes
{
public:
    MessageAnswer show(const QString &text, const QString &title, MessageIcon icon = MessageIcon::None,
                       MessageButtons buttons = MessageButtons::Ok) override;
};
