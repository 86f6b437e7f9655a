#pragma once

#include <QDialog>

#include <functional>

class MessageBoxes;
class QLineEdit;
class QListWidget;
class RichTextControl;

// `Tabof` "Tabulations": the tab stops of the paragraphs under exo's selection, in centimetres.
// `List1` shows them sorted as text and `List2`, hidden, in stop order; every command acts on
// exo at once and refills both lists. Closing, however it happens, writes the stops back in
// `List1`'s order (so through their two-decimal text) and runs `majregle`.
class Tabof : public QDialog
{
    Q_OBJECT
public:
    Tabof(RichTextControl &exo, MessageBoxes &messages, std::function<void()> majregle,
          QWidget *parent = nullptr);

    // Refuses mixed stops with "Tabulation refusée"; false then, and the dialog is not shown.
    bool load();
    void majtab();
    void ajouter();             // `Command4`
    void effacerSelectionnee(); // `Command2`
    void effacerTout();         // `Command1`

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refuse();
    void closeAfterRefusal();
    void writeBack();

    RichTextControl &m_exo;
    MessageBoxes &m_messages;
    std::function<void()> m_majregle;
    QListWidget *m_list1 = nullptr;
    QListWidget *m_list2 = nullptr;
    QLineEdit *m_text1 = nullptr;
    bool m_written = false;
};
