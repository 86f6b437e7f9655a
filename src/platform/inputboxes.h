#pragma once

#include <QString>

#include <optional>

// A modal one-line input box. Empty optional: the user cancelled.
class InputBoxes
{
public:
    virtual ~InputBoxes() = default;
    virtual std::optional<QString> ask(const QString &prompt, const QString &title,
                                       const QString &defaultText = QString()) = 0;
};
