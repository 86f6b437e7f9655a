#include "qtmessageboxes.h"

#include "titlebar.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGridLayout>
#include <QList>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include <utility>

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QList<MessageAnswer> answersOf(MessageButtons buttons)
{
    using A = MessageAnswer;
    switch (buttons) {
    case MessageButtons::Ok:
        return {A::Ok};
    case MessageButtons::OkCancel:
        return {A::Ok, A::Cancel};
    case MessageButtons::YesNo:
        return {A::Yes, A::No};
    case MessageButtons::YesNoCancel:
        return {A::Yes, A::No, A::Cancel};
    case MessageButtons::RetryCancel:
        return {A::Retry, A::Cancel};
    case MessageButtons::AbortRetryIgnore:
        return {A::Abort, A::Retry, A::Ignore};
    }
    return {A::Ok};
}

QMessageBox::StandardButton toQt(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    case MessageAnswer::Retry:
        return QMessageBox::Retry;
    case MessageAnswer::Abort:
        return QMessageBox::Abort;
    case MessageAnswer::Ignore:
        return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QString caption(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QCoreApplication::translate("QtMessageBoxes", "OK");
    case MessageAnswer::Cancel:
        return QCoreApplication::translate("QtMessageBoxes", "Annuler");
    case MessageAnswer::Yes:
        return QCoreApplication::translate("QtMessageBoxes", "&Oui");
    case MessageAnswer::No:
        return QCoreApplication::translate("QtMessageBoxes", "&Non");
    case MessageAnswer::Retry:
        return QCoreApplication::translate("QtMessageBoxes", "&Réessayer");
    case MessageAnswer::Abort:
        return QCoreApplication::translate("QtMessageBoxes", "&Abandonner");
    case MessageAnswer::Ignore:
        return QCoreApplication::translate("QtMessageBoxes", "&Ignorer");
    }
    return QString();
}

} // namespace

MessageAnswer QtMessageBoxes::show(const QString &text, const QString &title, MessageIcon icon,
                                   MessageButtons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setIcon(toQt(icon));
    box.setWindowTitle(title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText); // fixed texts, but file paths are spliced into some
    const QList<MessageAnswer> answers = answersOf(buttons);
    for (const MessageAnswer answer : answers) {
        QPushButton *button = box.addButton(toQt(answer));
        button->setText(caption(answer));
    }
    box.setDefaultButton(toQt(answers.first()));
    // The box sizes itself to its text when shown; a row as wide as the title needs keeps
    // a short text from eliding a longer title.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const QMargins margins = grid->contentsMargins();
        grid->addItem(new QSpacerItem(TitleBar::widthFor(box) - margins.left() - margins.right(), 0),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.setEscapeButton(box.button(toQt(escapeAnswer(buttons))));
    box.exec();
    const QAbstractButton *clicked = box.clickedButton();
    for (const MessageAnswer answer : answers) {
        if (clicked && clicked == box.button(toQt(answer)))
            return answer;
    }
    return escapeAnswer(buttons);
}
