#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;
class ShellHost;
struct EditorState;

// Drives a running editor from another process, for tests of the whole program (what a crash
// leaves behind can only be seen from outside). main() creates it when VELIGRAM_TEST_DRIVER
// names a folder; the editor then reads commands from FOLDER/commands, one a line, as the test
// appends them, and appends one line per command done to FOLDER/replies:
//
//   type KEYS        keystrokes (the platform's notation: "^b" Ctrl+B, "~" Enter) into exo
//   trigger NAME     a menu item or tool-bar button, by its control name ("az51", "resauve")
//   answer CAPTION   clicks CAPTION ("Oui", "Non", "OK") in the message box on screen, waiting
//                    for one; the reply gives the box's text
//   dump FOLDER      writes exo.rtf, sujetampon.rtf, corectampon.rtf and state.txt there
//   modal            the text of the message box on screen, or "none"
//   ping             replies, once every command before it is done
//
// Commands also run inside modal boxes' own event loops, so a test can answer a box that a
// command it sent before is waiting on.
class CommandFileDriver : public QObject
{
    Q_OBJECT
public:
    CommandFileDriver(const QString &folder, QWidget &window, ShellHost &host, EditorState &state,
                      QObject *parent = nullptr);

private:
    void poll();
    void run(const QString &command, const QString &argument, QString &reply);
    void writeReply(const QString &line);

    QString m_folder;
    QWidget &m_window;
    ShellHost &m_host;
    EditorState &m_state;
    QTimer m_timer;
    int m_done = 0; // lines of the command file already taken
    QElapsedTimer m_pause;
};
