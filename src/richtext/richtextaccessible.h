#pragma once

#include <QAccessibleWidget>

class QFontMetricsF;
class QTextDocument;
class RichTextEdit;

// What a screen reader or a magnifier reads of the text view. Qt's own interface for a text edit
// measures a character with its font at the screen's resolution, while the view's layout
// typesets for a zoomed screen: at 200 % a letter would still report its 100 % size, and mouse
// review and magnifier tracking would point beside the text. This one measures every character
// on the layout's own device, so it follows the zoom; name, role and states are those Qt gives a
// text edit. Edits through it respect protected text, as typing does.
class RichTextAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit RichTextAccessible(RichTextEdit *edit);

    // Makes every RichTextEdit answer with this interface; once per process is enough, and
    // later calls do nothing.
    static void install();

    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    // Screen coordinates, as large as the view shows the character at its zoom.
    QRect characterRect(int offset) const override;
    // The character drawn under a screen point, -1 where no character is drawn.
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    RichTextEdit *edit() const;
    QTextDocument *document() const;
    int clamped(int offset) const;
    // The font of the character at `offset` measured as the layout measures it.
    QFontMetricsF metricsAt(int offset) const;
    // Document coordinates to the viewport's: what the scroll bars hide.
    QPointF scrolled() const;
};
