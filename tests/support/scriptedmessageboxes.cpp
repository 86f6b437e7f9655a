#include "scriptedmessageboxes.h"

#include "scriptfault.h"

MessageAnswer ScriptedMessageBoxes::show(const QString &text, const QString &title, MessageIcon icon,
                                         MessageButtons buttons)
{
    m_asked.append({text, title, icon, buttons});
    const QString question = QStringLiteral("message box \"%1\" (title \"%2\", buttons %3)")
                                 .arg(text, title, QLatin1String(buttonsName(buttons)));
    if (m_answers.isEmpty()) {
        const QString fault =
            QStringLiteral("Unexpected %1: no answer queued with answerNext()").arg(question);
        m_faults.append(fault);
        reportScriptFault(fault);
        return escapeAnswer(buttons);
    }
    const MessageAnswer answer = m_answers.dequeue();
    if (!offers(buttons, answer)) {
        const QString fault = QStringLiteral("Queued answer %1 does not fit %2")
                                  .arg(QLatin1String(answerName(answer)), question);
        m_faults.append(fault);
        reportScriptFault(fault);
        return escapeAnswer(buttons);
    }
    return answer;
}

QStringList ScriptedMessageBoxes::askedTexts() const
{
    QStringList texts;
    for (const MessageRequest &request : m_asked)
        texts.append(request.text);
    return texts;
}

void ScriptedMessageBoxes::clear()
{
    m_answers.clear();
    m_asked.clear();
    m_faults.clear();
}

bool ScriptedMessageBoxes::offers(MessageButtons buttons, MessageAnswer answer)
{
    using A = MessageAnswer;
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == A::Ok;
    case MessageButtons::OkCancel:
        return answer == A::Ok || answer == A::Cancel;
    case MessageButtons::YesNo:
        return answer == A::Yes || answer == A::No;
    case MessageButtons::YesNoCancel:
        return answer == A::Yes || answer == A::No || answer == A::Cancel;
    case MessageButtons::RetryCancel:
        return answer == A::Retry || answer == A::Cancel;
    case MessageButtons::AbortRetryIgnore:
        return answer == A::Abort || answer == A::Retry || answer == A::Ignore;
    }
    return false;
}

const char *answerName(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return "Ok";
    case MessageAnswer::Cancel:
        return "Cancel";
    case MessageAnswer::Yes:
        return "Yes";
    case MessageAnswer::No:
        return "No";
    case MessageAnswer::Retry:
        return "Retry";
    case MessageAnswer::Abort:
        return "Abort";
    case MessageAnswer::Ignore:
        return "Ignore";
    }
    return "?";
}

const char *buttonsName(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return "Ok";
    case MessageButtons::OkCancel:
        return "OkCancel";
    case MessageButtons::YesNo:
        return "YesNo";
    case MessageButtons::YesNoCancel:
        return "YesNoCancel";
    case MessageButtons::RetryCancel:
        return "RetryCancel";
    case MessageButtons::AbortRetryIgnore:
        return "AbortRetryIgnore";
    }
    return "?";
}

const char *iconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return "None";
    case MessageIcon::Stop:
        return "Stop";
    case MessageIcon::Question:
        return "Question";
    case MessageIcon::Exclamation:
        return "Exclamation";
    case MessageIcon::Information:
        return "Information";
    }
    return "?";
}

char *toString(MessageAnswer answer)
{
    return qstrdup(answerName(answer));
}

char *toString(MessageButtons buttons)
{
    return qstrdup(buttonsName(buttons));
}

char *toString(MessageIcon icon)
{
    return qstrdup(iconName(icon));
}
