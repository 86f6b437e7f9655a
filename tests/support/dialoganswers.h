#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

// Answers the modal dialogs that the program opens with the real platform services, in order,
// as a user would: each answer gets the dialog once it is shown and acts on its widgets (keys,
// clicks, accessibility actions). A dialog that shows with no answer queued is recorded as
// unexpected and closed, so a test never hangs on it.
class DialogAnswers : public QObject
{
public:
    using Answer = std::function<void(QWidget *dialog)>;

    DialogAnswers();

    void answerNext(Answer answer) { m_answers.push_back(std::move(answer)); }
    // Every dialog from now on, until cleared: for sweeps that run every command.
    void answerEvery(Answer answer) { m_every = std::move(answer); }
    void clear();

    bool pending() const { return !m_answers.empty(); }
    // Window titles (or object names) of the dialogs that showed with nothing queued.
    const QStringList &unexpected() const { return m_unexpected; }
    // Object names of every dialog answered, in order.
    const QStringList &seen() const { return m_seen; }

    // Closes a dialog as Escape or its cancel button would: "Non", then "Annuler", else reject.
    static void dismiss(QWidget *dialog);
    // Clicks the push button whose text, without '&', is `caption`; false if there is none.
    static bool clickButton(QWidget *dialog, const QString &caption);

private:
    void poll();

    QTimer m_timer;
    std::deque<Answer> m_answers;
    Answer m_every;
    QList<QPointer<QWidget>> m_handled;
    QStringList m_unexpected;
    QStringList m_seen;
};
