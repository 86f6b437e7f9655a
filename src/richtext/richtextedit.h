#pragma once

#include "richtextcontrol.h"

#include <QTextEdit>

// The widget that shows a control's text. It keeps the user from changing protected text,
// speaks RTF on the clipboard (never HTML: it would lose protection and exact offsets), and
// reports keys and clicks before acting on them.
class RichTextEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextEdit(QWidget *parent = nullptr);

    // Whether the user may replace [start, end) (a caret when equal) by typing or pasting.
    bool mayEdit(int start, int end) const;
    bool mayEditSelection() const;

Q_SIGNALS:
    void clicked();
    void focusGained();
    void keyDown(KeyStroke &key);
    void keyPress(KeyStroke &key);
    void mouseDown(const MouseStroke &mouse);
    void contextMenuRequested(ContextMenuRequest &request);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // The range a key would delete or replace, or nullopt when the key edits nothing.
    bool keyMayEdit(QKeyEvent *event) const;
    void typeText(const QString &text);
    bool m_pressed = false;
};
