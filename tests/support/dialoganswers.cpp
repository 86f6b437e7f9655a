#include "dialoganswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QWindow>

DialogAnswers::DialogAnswers()
{
    // The timer fires inside the dialog's own event loop, while the command waits on it.
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &DialogAnswers::poll);
    m_timer.start();
}

void DialogAnswers::clear()
{
    m_answers.clear();
    m_every = nullptr;
}

void DialogAnswers::poll()
{
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible() || m_handled.contains(dialog))
        return;
    if (!dialog->windowHandle() || !dialog->windowHandle()->isExposed())
        return; // not on the screen yet: next time
    m_handled.removeAll(nullptr);
    m_handled.append(dialog);
    m_seen.append(dialog->objectName());
    Answer answer;
    if (!m_answers.empty()) {
        answer = std::move(m_answers.front());
        m_answers.pop_front();
    } else if (m_every) {
        answer = m_every;
    } else {
        m_unexpected.append(dialog->windowTitle().isEmpty() ? dialog->objectName() : dialog->windowTitle());
        answer = &DialogAnswers::dismiss;
    }
    // Answered from a timer of its own, once this poll has returned: Qt does not fire a timer
    // again while its handler runs, and an answer may open a further dialog (a message box
    // after "Rechercher") that this timer must then answer.
    const QPointer<QWidget> guard(dialog);
    QTimer::singleShot(0, this, [guard, answer = std::move(answer)] {
        if (!guard)
            return;
        answer(guard);
        // An answer that left its dialog open (a test that only looked) must not block the run.
        if (guard && guard->isVisible() && guard == QApplication::activeModalWidget())
            QTimer::singleShot(0, guard, [guard] {
                if (guard && guard->isVisible())
                    dismiss(guard);
            });
    });
}

bool DialogAnswers::clickButton(QWidget *dialog, const QString &caption)
{
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (button->isVisible() && button->isEnabled() &&
            button->text().remove(QLatin1Char('&')) == caption) {
            QTest::mouseClick(button, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

void DialogAnswers::dismiss(QWidget *dialog)
{
    for (const char *caption : {"Non", "Annuler", "Fermer", "Cancel", "Close"}) {
        if (clickButton(dialog, QLatin1String(caption)))
            return;
    }
    if (auto *modal = qobject_cast<QDialog *>(dialog))
        modal->reject();
    else
        dialog->close();
}
