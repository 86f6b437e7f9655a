#pragma once

#include "platform/messageboxes.h"

#include <QList>
#include <QQueue>
#include <QStringList>

struct MessageRequest
{
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Message boxes answered from a queue. A box shown with nothing queued, or answered with a
// button it does not have, fails the running test and names the box; it then gets the answer
// of its Escape key (Cancel, No, Abort or Ok) so the flow under test ends the cautious way.
class ScriptedMessageBoxes : public MessageBoxes
{
public:
    void answerNext(MessageAnswer answer) { m_answers.enqueue(answer); }

    MessageAnswer show(const QString &text, const QString &title, MessageIcon icon = MessageIcon::None,
                       MessageButtons buttons = MessageButtons::Ok) override;

    const QList<MessageRequest> &asked() const { return m_asked; }
    QStringList askedTexts() const;
    int pendingAnswers() const { return int(m_answers.size()); }
    // Faults already reported: questions asked with nothing queued, answers that did not fit.
    const QStringList &faults() const { return m_faults; }
    void dropPending() { m_answers.clear(); }
    void clear(); // answers, log and faults

    static bool offers(MessageButtons buttons, MessageAnswer answer);

private:
    QQueue<MessageAnswer> m_answers;
    QList<MessageRequest> m_asked;
    QStringList m_faults;
};

const char *answerName(MessageAnswer answer);
const char *buttonsName(MessageButtons buttons);
const char *iconName(MessageIcon icon);

// For QCOMPARE's failure messages (QTest frees the copy).
char *toString(MessageAnswer answer);
char *toString(MessageButtons buttons);
char *toString(MessageIcon icon);
