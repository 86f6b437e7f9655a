#pragma once

#include "mixed.h"
#include "rtf/richdocument.h"
#include "textrange.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QWidget;

// A key as the control's key events see it. A handler sets `consumed` to keep the control
// from acting on it (the selection mirror consumes Tab and inserts the tab itself).
struct KeyStroke
{
    int key = 0;       // Qt::Key
    int modifiers = 0; // Qt::KeyboardModifiers
    QString text;      // what the key types, empty for a non-character key
    bool consumed = false;
};

struct MouseStroke
{
    int button = 0; // Qt::MouseButton
    int modifiers = 0;
    int x = 0; // pixels, in the control
    int y = 0;
};

// Files dragged over the text, or dropped on it. A handler that takes them sets `accepted`
// while they are dragged; the drop is then reported, otherwise the files are refused.
struct FileDrop
{
    QStringList paths;    // local files, native separators, in the order they were dragged
    int position = 0;     // the text position under the pointer
    bool editable = true; // whether the user may insert there (not inside protected text)
    bool accepted = false;
};

// What the control says of one of its embedded objects.
struct ObjectInfo
{
    bool isPicture = true; // false: an embedded object of another application
    QString className;     // object class, empty for a plain picture
    QSize sizePx;
    QString sourcePath; // the file a linked object stays bound to; empty for a plain picture
};

// One paragraph as a reader of words (the spell checker) sees it.
struct ParagraphText
{
    int start = 0; // position of its first character
    // Unicode, one QChar per position, without the paragraph mark; an object is U+FFFC and a
    // symbol font's character the glyph it shows.
    QString text;
    // Per character: false where the text is no ordinary writing (a symbol font's character, a
    // raised or lowered one, an object).
    QList<bool> plain;
};

// A right click (or the menu key) on the control. A handler that shows its own menu sets
// `consumed`; otherwise the control shows none.
struct ContextMenuRequest
{
    int position = 0; // the character under the pointer, else the caret
    QPoint globalPos; // where the menu opens, in screen pixels
    bool consumed = false;
};

// The rich-text control every text of the editor lives in: `exo` and the hidden buffers. Other
// modules see text only through this contract.
//
// Units: positions count characters from 0; a paragraph mark and an embedded object take one
// position each. Character offsets are signed twips (positive raises), font sizes points
// (rounded to half-points), indents, the right margin and tab stops main-window pixels
// (1 pixel = 15 twips). Text is Windows-1252: `text` and `selText` give a paragraph mark as
// '\r', a line break as '\v', an object as ' ', and a character of a symbol font as its byte
// (alpha in "Symbol" is 'a'); characters Windows-1252 cannot hold read as '?'.
//
// Positions outside the text clamp to it. Getters of attributes return Mixed: empty when the
// characters (or paragraphs) of the selection differ. At a caret they describe what is typed
// next; setters at a caret change only that.
//
// Every setter is one undo step of the control's own undo stack; contract calls are not
// subject to write protection (only the user's typing, pasting and deleting are).
class RichTextControl : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~RichTextControl() override = default;

    // --- Selection and text ---
    virtual int selStart() const = 0;
    virtual void setSelStart(int position) = 0; // collapses the selection to a caret
    virtual int selLength() const = 0;
    virtual void setSelLength(int length) = 0; // from selStart, clamped to the text
    virtual TextRange selection() const = 0;
    virtual void setSelection(TextRange range) = 0;
    virtual int textLength() const = 0; // number of positions

    virtual QByteArray selText() const = 0;
    // Replaces the selection by plain text ("\r\n", "\r" and "\n" each break a paragraph); the
    // new text takes the format at the selection's start; the caret ends after it.
    virtual void setSelText(const QByteArray &text) = 0;
    virtual QByteArray text() const = 0;
    virtual void setText(const QByteArray &text) = 0; // plain text, clears the undo stack

    // The selection as a complete RTF document; setting it replaces the selection by the RTF
    // (a value that is not RTF is inserted as plain text). A fragment without paragraph mark
    // joins the current paragraph; one without character formatting takes the caret's format.
    virtual QByteArray selRtf() const = 0;
    virtual void setSelRtf(const QByteArray &rtf) = 0;
    virtual QByteArray textRtf() const = 0;
    virtual void setTextRtf(const QByteArray &rtf) = 0; // not RTF: plain text; clears undo

    // Positions [start, end) as plain values, clamped to the text, for work that copies a long
    // text a piece at a time between the user's keystrokes. A piece that stops inside a
    // paragraph has endsWithParagraphMark false, so consecutive pieces join back into the
    // whole text; the piece that reaches the end closes the text as textRtf does, so that
    // textPiece(0, textLength()) is exactly what textRtf writes. An empty piece of a text that
    // is not empty is one empty paragraph without mark.
    virtual RichDocument textPiece(int start, int end) const = 0;

    // --- Character attributes ---
    virtual Mixed<QString> selFontName() const = 0;
    virtual void setSelFontName(const QString &name) = 0;
    virtual Mixed<double> selFontSize() const = 0;
    virtual void setSelFontSize(double points) = 0;
    virtual Mixed<bool> selBold() const = 0;
    virtual void setSelBold(bool on) = 0;
    virtual Mixed<bool> selItalic() const = 0;
    virtual void setSelItalic(bool on) = 0;
    virtual Mixed<bool> selUnderline() const = 0;
    virtual void setSelUnderline(bool on) = 0;
    virtual Mixed<bool> selStrikethrough() const = 0;
    virtual void setSelStrikethrough(bool on) = 0;
    virtual Mixed<QRgb> selColor() const = 0; // automatic colour reads as black (0, 0, 0)
    virtual void setSelColor(QRgb color) = 0;
    virtual Mixed<int> selCharOffset() const = 0; // twips, positive raises
    virtual void setSelCharOffset(int twips) = 0;
    // Both at once, as a script is written: one pass over the selection instead of two.
    virtual void setSelCharOffsetAndSize(int twips, double points) = 0;
    virtual Mixed<bool> selProtected() const = 0;
    virtual void setSelProtected(bool on) = 0;

    // --- Paragraph attributes (every paragraph the selection touches) ---
    virtual Mixed<int> selAlignment() const = 0; // 0 left, 1 right, 2 centre
    virtual void setSelAlignment(int alignment) = 0;
    virtual Mixed<bool> selBullet() const = 0;
    virtual void setSelBullet(bool on) = 0;
    virtual Mixed<double> selIndent() const = 0; // left indent, pixels
    virtual void setSelIndent(double pixels) = 0;
    virtual Mixed<double> selRightIndent() const = 0;
    virtual void setSelRightIndent(double pixels) = 0;
    virtual Mixed<int> selTabCount() const = 0;
    virtual void setSelTabCount(int count) = 0;         // 0 clears; more adds stops after the last
    virtual Mixed<double> selTabs(int index) const = 0; // index from 0; mixed past the count
    virtual void setSelTabs(int index, double pixels) = 0;
    virtual double rightMargin() const = 0; // width of the text area, pixels

    // --- Find: first match in [start, end) (end -1: the end of the text), selected; else -1
    // and the selection is left alone. Options: 2 whole word, 4 match case.
    virtual int find(const QByteArray &text, int start = 0, int end = -1, int options = 0) = 0;
    // Every match of `find` in [start, end), left to right, each one starting after the one
    // before ends; the selection is left alone. The fallback walks `find`; adapters do better.
    virtual QList<TextRange> findAll(const QByteArray &text, int start = 0, int end = -1, int options = 0)
    {
        QList<TextRange> found;
        const TextRange before = selection();
        const int n = int(text.size());
        for (int at = qMax(0, start); n > 0;) {
            const int index = find(text, at, end, options);
            if (index < 0)
                break;
            found.append({index, n});
            at = index + n;
        }
        setSelection(before);
        return found;
    }

    // Replaces each of `ranges` (as findAll gives them: ascending, none overlapping) by the
    // plain `text`, each taking the format of its first replaced character, as one undo step.
    // Ranges holding protected text are refused like the user's edits. The caret ends after the
    // last replacement. Returns how many ranges were replaced.
    virtual int replaceRanges(const QList<TextRange> &ranges, const QByteArray &text)
    {
        beginEditBlock(); // EditBlock is declared below; nothing here returns early
        int replaced = 0;
        int caret = -1;
        for (auto it = ranges.crbegin(); it != ranges.crend(); ++it) {
            setSelection(*it);
            if (!(selProtected() == false))
                continue;
            setSelText(text);
            caret = caret < 0 ? selStart() : caret + selStart() - it->end();
            ++replaced;
        }
        endEditBlock();
        if (caret >= 0)
            setSelection({caret, 0});
        return replaced;
    }

    // --- Files: RTF, else plain Windows-1252 text. A failed load leaves the text unchanged;
    // a failed save leaves the previous file unchanged. Both report the failure.
    [[nodiscard]] virtual bool loadFile(const QString &path) = 0;
    [[nodiscard]] virtual bool saveFile(const QString &path) = 0;
    // The system's message ("No space left on device", …) for the last loadFile or saveFile
    // that failed on the file itself, for the box that reports it; empty after a success and
    // after a load refused for its content.
    virtual QString fileError() const = 0;

    // Prints the selection, or the whole text when nothing is selected, with the text's own
    // pagination and nothing added to the pages. False when the device cannot be drawn on.
    virtual bool printSelection(QPagedPaintDevice &printer) = 0;
    // Prints the whole text, whatever is selected, with the same pages. The fallback takes the
    // selection away for the job and puts it back; adapters leave it alone.
    virtual bool printDocument(QPagedPaintDevice &printer)
    {
        const TextRange before = selection();
        setSelection({before.start, 0});
        const bool printed = printSelection(printer);
        setSelection(before);
        return printed;
    }
    // The whole text drawn on white as the screen shows it, as wide as its longest line but
    // at most `maxWidthPx`; what a paste "as a picture" inserts. Null for an empty text.
    virtual QImage picture(int maxWidthPx) const = 0;

    // --- Embedded objects ---
    virtual int objectCount() const = 0;
    virtual ObjectInfo objectAt(int index) const = 0;
    // Inserts at the caret, replacing the selection: a picture, or a file as an object (an
    // image file shows as its picture, any other file as a labelled icon). The object
    // remembers its file and carries `className` (empty: a picture for an image file,
    // "Package" for any other). An image wider than the text is read scaled to the text's
    // width, so a huge photograph costs memory for what it shows, not for its raw size.
    virtual void insertPicture(const QImage &image) = 0;
    [[nodiscard]] virtual bool addObjectFromFile(const QString &path,
                                                 const QString &className = QString()) = 0;
    // Whether object `index` stays linked to its file (opened for editing, its picture taken
    // again from it) or keeps its picture alone. Out of range: nothing.
    virtual void setObjectLinked(int index, bool linked) = 0;
    // Object `index` shows `picture` from now on (at the picture's size, within the text's
    // width); its class and link stay. One undo step. Out of range or null picture: nothing.
    virtual void setObjectPicture(int index, const QImage &picture) = 0;

    // --- Equations: one position each, drawn from their linear text (a U+FFFC in
    // paragraphText, ' ' in text) in the size, colour and offset of their character format ---
    // Replaces the selection by the equation `linear` in the format of the selection's first
    // character (at a caret, what is typed next); the caret ends after it. One undo step. A
    // blank text inserts nothing.
    virtual void insertEquation(const QString &linear) { Q_UNUSED(linear) }
    // The linear text when the selection is exactly one equation; empty otherwise.
    virtual QString selEquation() const { return {}; }
    // The linear text of the equation at `position`; empty when there is none.
    virtual QString equationAt(int position) const
    {
        Q_UNUSED(position)
        return {};
    }

    // --- Undo and edit blocks ---
    virtual bool canUndo() const = 0;
    virtual void undo() = 0;
    virtual void clearUndo() = 0;
    // Everything between begin and end is one undo step; blocks nest. Use EditBlock.
    virtual void beginEditBlock() = 0;
    virtual void endEditBlock() = 0;
    // Like beginEditBlock, but what follows joins the undo step before it (the format given back
    // after a paste belongs to the paste). With no step before, a new one begins.
    virtual void joinPreviousEditBlock() { beginEditBlock(); }

    // --- Display ---
    virtual void refresh() = 0;
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    virtual QWidget *widget() = 0; // the widget that shows the text, to put in a layout
    // The view's magnification, percent, from 50 to 400 in steps of 10 (other values go to the
    // nearest step within the limits). Only the view changes: positions, sizes, indents, tab
    // stops and the RTF stay as they are; pictures grow with the text. Ctrl + wheel on the view
    // changes it too. A control without a view keeps the value for the view it may get.
    virtual int zoom() const { return 100; }
    virtual void setZoom(int percent) { Q_UNUSED(percent); }

    // --- Paragraph reading and spelling marks ---
    // Display only: marks are no character format, no undo step, no change of the text; they
    // are never saved, copied or printed. An edit inside a marked paragraph removes its marks
    // (they would underline the wrong letters) before contentsEdited is sent. The fallbacks suit a control
    // without a view.
    virtual int paragraphCount() const { return int(text().count('\r')) + 1; }
    // The paragraph holding `position` (clamped), from 0.
    virtual int paragraphAt(int position) const
    {
        return int(text().left(qBound(0, position, textLength())).count('\r'));
    }
    virtual ParagraphText paragraphText(int index) const
    {
        const QList<QByteArray> paragraphs = text().split('\r');
        ParagraphText paragraph;
        for (int i = 0; i < qBound(0, index, int(paragraphs.size()) - 1); ++i)
            paragraph.start += int(paragraphs.at(i).size()) + 1;
        paragraph.text = QString::fromLatin1(paragraphs.value(qBound(0, index, int(paragraphs.size()) - 1)));
        paragraph.plain = QList<bool>(paragraph.text.size(), true);
        return paragraph;
    }
    // The paragraphs the view shows now: start is the first, length how many; length 0 when
    // nothing is on screen (a hidden buffer).
    virtual TextRange visibleParagraphs() const { return {}; }
    // Underlines `ranges` (positions, clipped to the paragraph) of paragraph `index` with a red
    // wavy line, replacing its previous marks; an empty list removes them.
    virtual void setSpellingMarks(int index, const QList<TextRange> &ranges)
    {
        Q_UNUSED(index)
        Q_UNUSED(ranges)
    }
    // The marks paragraph `index` shows now, as positions; none when an edit hid them.
    virtual QList<TextRange> spellingMarks(int index) const
    {
        Q_UNUSED(index)
        return {};
    }
    virtual void clearSpellingMarks() {}

Q_SIGNALS:
    void clicked();
    void focusGained();
    void keyDown(KeyStroke &key);  // every key, before the control acts on it
    void keyPress(KeyStroke &key); // character keys, before they are typed
    void mouseDown(const MouseStroke &mouse);
    void selectionChanged();
    void textChanged();
    // The content or the format of the text changed by an edit, a command or an undo: whatever
    // the user would lose by closing without saving. Not sent when setText, setTextRtf or
    // loadFile replace the whole text.
    void edited();
    // A setter changed the format of the selection, or at a caret the format of what is typed
    // next; sent once a setter call, after the change.
    void formatChanged();
    void zoomChanged(int percent);
    void fileDragged(FileDrop &drop); // files over the text: set `accepted` to take them
    void filesDropped(const FileDrop &drop);
    // The text changed at `position`: `removed` positions went, `added` came in their place.
    // Sent after the change, for edits, undo and whole-content loads alike, by a control whose
    // view exists (widget() was called): a hidden buffer is not laid out and tells nothing.
    void contentsEdited(int position, int removed, int added);
    void contextMenuRequested(ContextMenuRequest &request);
    // A double-click on the equation at `position`, which is now selected alone.
    void equationActivated(int position);
};

// What an object made from `path` shows: the image of an image file, read scaled to
// `maxWidthPx` when wider (0: no limit), else a document icon labelled with the file name.
// Null when the file cannot be read.
QImage objectPictureOf(const QString &path, int maxWidthPx = 0);

// One undo step for everything done while it lives, whatever path leaves the scope.
class EditBlock
{
public:
    enum Join { JoinPrevious };
    explicit EditBlock(RichTextControl &control) : m_control(control) { m_control.beginEditBlock(); }
    // Joins the undo step before it (see joinPreviousEditBlock).
    EditBlock(RichTextControl &control, Join) : m_control(control) { m_control.joinPreviousEditBlock(); }
    ~EditBlock() { m_control.endEditBlock(); }
    EditBlock(const EditBlock &) = delete;
    EditBlock &operator=(const EditBlock &) = delete;

private:
    RichTextControl &m_control;
};
