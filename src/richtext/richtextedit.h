#pragma once

#include "richtextcontrol.h"

#include <QTextEdit>

#include <memory>
#include <optional>

class ZoomedScreen;

// The widget that shows a control's text. It keeps the user from changing protected text,
// speaks RTF on the clipboard (never HTML: it would lose protection and exact offsets), and
// reports keys and clicks before acting on them.
class RichTextEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextEdit(QWidget *parent = nullptr);
    ~RichTextEdit() override;

    // The view's magnification (ViewZoom): the document's layout typesets for a screen of that
    // many times the resolution, so everything measured on the text follows.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);

    // Whether the user may replace [start, end) (a caret when equal) by typing or pasting.
    bool mayEdit(int start, int end) const;
    bool mayEditSelection() const;

Q_SIGNALS:
    void clicked();
    void focusGained();
    void keyDown(KeyStroke &key);
    void keyPress(KeyStroke &key);
    void mouseDown(const MouseStroke &mouse);
    void zoomChanged(int percent);
    void fileDragged(FileDrop &drop);
    void filesDropped(const FileDrop &drop);
    void contextMenuRequested(ContextMenuRequest &request);
    void equationDoubleClicked(int position);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // The range a key would delete or replace, or nullopt when the key edits nothing.
    bool keyMayEdit(QKeyEvent *event) const;
    void typeText(const QString &text);
    // Files dragged from outside are offered to the control's owner, never typed as their
    // paths; nullopt when the event carries no local file.
    std::optional<FileDrop> offeredFiles(const QDropEvent *event);
    bool m_pressed = false;
    int m_zoom = 100;
    int m_wheel = 0; // wheel turns not yet making a whole step
    std::unique_ptr<ZoomedScreen> m_screen;
};
