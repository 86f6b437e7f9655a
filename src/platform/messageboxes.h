#pragma once

#include <QString>

enum class MessageIcon { None, Stop, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// Modal message boxes: a fixed French text, a title, an icon and a set of buttons.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(const QString &text, const QString &title,
                               MessageIcon icon = MessageIcon::None,
                               MessageButtons buttons = MessageButtons::Ok) = 0;
};

// The answer a box gives when closed without a click (Escape, close button): Cancel where
// offered, else No, Abort or Ok. Flows treat it as the cautious way out.
MessageAnswer escapeAnswer(MessageButtons buttons);
