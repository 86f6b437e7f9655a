#pragma once

#include "inputboxes.h"

// QInputDialog over the active window, with French button captions.
class QtInputBoxes : public InputBoxes
{
public:
    std::optional<QString> ask(const QString &prompt, const QString &title,
                               const QString &defaultText = QString()) override;
};
