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

// A box's fixed text followed, after a blank line, by the system's reason for the failure it
// reports ("No space left on device"), so the user learns what to fix; the text alone when the
// system gave no reason.
QString withSystemReason(const QString &text, const QString &reason);
