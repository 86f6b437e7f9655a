#pragma once

#include "platform/inputboxes.h"

#include <QList>
#include <QQueue>
#include <QStringList>

struct InputRequest
{
    QString prompt;
    QString title;
    QString defaultText;
};

// Input boxes answered from a queue of texts or cancels. A box shown with nothing queued fails
// the running test, names the prompt and comes back cancelled.
class ScriptedInputBoxes : public InputBoxes
{
public:
    void answerNext(const QString &text) { m_answers.enqueue(text); }
    void cancelNext() { m_answers.enqueue(std::nullopt); }

    std::optional<QString> ask(const QString &prompt, const QString &title,
                               const QString &defaultText = QString()) override;

    const QList<InputRequest> &asked() const { return m_asked; }
    int pendingAnswers() const { return int(m_answers.size()); }
    const QStringList &faults() const { return m_faults; }
    void dropPending() { m_answers.clear(); }
    void clear(); // answers, log and faults

private:
    QQueue<std::optional<QString>> m_answers;
    QList<InputRequest> m_asked;
    QStringList m_faults;
};
