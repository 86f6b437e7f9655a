#include "commandfiledriver.h"

#include "keytyping.h"
#include "platform/editorstate.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QWidget>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

CommandFileDriver::CommandFileDriver(const QString &folder, QWidget &window, ShellHost &host,
                                     EditorState &state, QObject *parent)
    : QObject(parent), m_folder(folder), m_window(window), m_host(host), m_state(state)
{
    connect(&m_timer, &QTimer::timeout, this, &CommandFileDriver::poll);
    m_timer.start(25);
}

void CommandFileDriver::poll()
{
    if (m_pause.isValid() && !m_pause.hasExpired(100))
        return;
    QFile file(m_folder + QStringLiteral("/commands"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    // The last piece has no line end yet: the test may still be writing it.
    if (m_done >= lines.size() - 1)
        return;
    QString line = QString::fromUtf8(lines.at(m_done));
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    const QString command = space < 0 ? line : line.left(space);
    const QString argument = space < 0 ? QString() : line.mid(space + 1);
    if (command == QLatin1String("answer") && !QApplication::activeModalWidget())
        return; // the box is not up yet
    const int number = ++m_done;
    // Run from the event queue, not from this timer's slot: a timer does not fire again while
    // its slot runs, and a command that opens a modal box returns only once a later command,
    // taken from inside the box's event loop, has answered it.
    QMetaObject::invokeMethod(
        this,
        [this, number, command, argument] {
            QString reply;
            run(command, argument, reply);
            writeReply(QStringLiteral("%1 %2 %3").arg(number).arg(command, reply));
            // The box closes once this returns and the flow that showed it goes on: the next
            // command waits until that flow has run.
            if (command == QLatin1String("answer"))
                m_pause.start();
        },
        Qt::QueuedConnection);
}

void CommandFileDriver::run(const QString &command, const QString &argument, QString &reply)
{
    if (command == QLatin1String("type")) {
        if (!typeKeys(m_host.exo().widget(), argument)) {
            reply = QStringLiteral("malformed");
            return;
        }
        reply = QStringLiteral("ok");
    } else if (command == QLatin1String("trigger")) {
        QAction *action = m_host.command(argument);
        reply = action && action->isEnabled() ? QStringLiteral("ok") : QStringLiteral("unavailable");
        if (action && action->isEnabled())
            action->trigger();
    } else if (command == QLatin1String("answer")) {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        reply = QStringLiteral("none");
        if (!box)
            return;
        reply = box->windowTitle() + QLatin1Char('|') +
                QString(box->text()).replace(QLatin1Char('\n'), QLatin1Char(' '));
        for (QAbstractButton *button : box->buttons()) {
            if (button->text().remove(QLatin1Char('&')) == argument) {
                button->click();
                return;
            }
        }
        reply.prepend(QStringLiteral("nobutton "));
    } else if (command == QLatin1String("dump")) {
        QDir().mkpath(argument);
        const bool written =
            writeFile(argument + QStringLiteral("/exo.rtf"), m_host.exo().textRtf()) &&
            writeFile(argument + QStringLiteral("/sujetampon.rtf"), m_host.sujetampon().textRtf()) &&
            writeFile(argument + QStringLiteral("/corectampon.rtf"), m_host.corectampon().textRtf()) &&
            writeFile(argument + QStringLiteral("/state.txt"),
                      (m_state.currentDocumentPath + QLatin1Char('\n') +
                       QString::number(m_state.documentSaved) + QLatin1Char('\n') + m_window.windowTitle() +
                       QLatin1Char('\n'))
                          .toUtf8());
        reply = written ? QStringLiteral("ok") : QStringLiteral("failed");
    } else if (command == QLatin1String("modal")) {
        const QWidget *modal = QApplication::activeModalWidget();
        const auto *box = qobject_cast<const QMessageBox *>(modal);
        reply = !modal ? QStringLiteral("none") : box ? box->text() : modal->objectName();
    } else if (command == QLatin1String("ping")) {
        reply = QStringLiteral("ready");
    } else {
        reply = QStringLiteral("unknown");
    }
}

void CommandFileDriver::writeReply(const QString &line)
{
    QFile file(m_folder + QStringLiteral("/replies"));
    if (file.open(QIODevice::Append))
        file.write(line.toUtf8() + '\n');
}
