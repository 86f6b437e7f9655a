#pragma once

#include "documentconverter.h"
#include "richtextcontrol.h"

#include <QPointer>
#include <QTextCursor>

#include <functional>

class QTextBlock;
class QTextCharFormat;
class QTextBlockFormat;
class QTextDocumentFragment;
class RichTextDocument;
class RichTextEdit;
struct RichDocument;

// The control on Qt's text engine. The document and the selection live here; the widget is
// made only when someone asks for it, so hidden buffers cost no widget (and work without a
// QApplication). Undo stays enabled in hidden buffers too: its cost is the edits since the last
// whole-content load, and the buffers are mostly loaded, read and copied whole.
class QtRichTextControl : public RichTextControl
{
    Q_OBJECT
public:
    explicit QtRichTextControl(QObject *parent = nullptr);
    ~QtRichTextControl() override;

    int selStart() const override;
    void setSelStart(int position) override;
    int selLength() const override;
    void setSelLength(int length) override;
    TextRange selection() const override;
    void setSelection(TextRange range) override;
    int textLength() const override;

    QByteArray selText() const override;
    void setSelText(const QByteArray &text) override;
    QByteArray text() const override;
    void setText(const QByteArray &text) override;
    QByteArray selRtf() const override;
    void setSelRtf(const QByteArray &rtf) override;
    QByteArray textRtf() const override;
    void setTextRtf(const QByteArray &rtf) override;
    RichDocument textPiece(int start, int end) const override;

    Mixed<QString> selFontName() const override;
    void setSelFontName(const QString &name) override;
    Mixed<double> selFontSize() const override;
    void setSelFontSize(double points) override;
    Mixed<bool> selBold() const override;
    void setSelBold(bool on) override;
    Mixed<bool> selItalic() const override;
    void setSelItalic(bool on) override;
    Mixed<bool> selUnderline() const override;
    void setSelUnderline(bool on) override;
    Mixed<bool> selStrikethrough() const override;
    void setSelStrikethrough(bool on) override;
    Mixed<QRgb> selColor() const override;
    void setSelColor(QRgb color) override;
    Mixed<int> selCharOffset() const override;
    void setSelCharOffset(int twips) override;
    void setSelCharOffsetAndSize(int twips, double points) override;
    Mixed<bool> selProtected() const override;
    void setSelProtected(bool on) override;

    Mixed<int> selAlignment() const override;
    void setSelAlignment(int alignment) override;
    Mixed<bool> selBullet() const override;
    void setSelBullet(bool on) override;
    Mixed<double> selIndent() const override;
    void setSelIndent(double pixels) override;
    Mixed<double> selRightIndent() const override;
    void setSelRightIndent(double pixels) override;
    Mixed<int> selTabCount() const override;
    void setSelTabCount(int count) override;
    Mixed<double> selTabs(int index) const override;
    void setSelTabs(int index, double pixels) override;
    double rightMargin() const override;

    int find(const QByteArray &text, int start = 0, int end = -1, int options = 0) override;
    QList<TextRange> findAll(const QByteArray &text, int start = 0, int end = -1, int options = 0) override;
    int replaceRanges(const QList<TextRange> &ranges, const QByteArray &text) override;

    [[nodiscard]] bool loadFile(const QString &path) override;
    [[nodiscard]] bool saveFile(const QString &path) override;
    QString fileError() const override { return m_fileError; }
    bool printSelection(QPagedPaintDevice &printer) override;
    bool printDocument(QPagedPaintDevice &printer) override;
    QImage picture(int maxWidthPx) const override;

    int objectCount() const override;
    ObjectInfo objectAt(int index) const override;
    void insertPicture(const QImage &image) override;
    [[nodiscard]] bool addObjectFromFile(const QString &path, const QString &className = QString()) override;
    void setObjectLinked(int index, bool linked) override;
    void setObjectPicture(int index, const QImage &picture) override;

    bool canUndo() const override;
    void undo() override;
    void clearUndo() override;
    void insertEquation(const QString &linear) override;
    QString selEquation() const override;
    QString equationAt(int position) const override;
    void beginEditBlock() override;
    void endEditBlock() override;
    void joinPreviousEditBlock() override;

    void refresh() override;
    void setFocus() override;
    bool hasFocus() const override;
    QWidget *widget() override;
    int zoom() const override { return m_zoom; }
    void setZoom(int percent) override;

    int paragraphCount() const override;
    int paragraphAt(int position) const override;
    ParagraphText paragraphText(int index) const override;
    TextRange visibleParagraphs() const override;
    void setSpellingMarks(int index, const QList<TextRange> &ranges) override;
    QList<TextRange> spellingMarks(int index) const override;
    void clearSpellingMarks() override;

    RichTextDocument &document() { return *m_document; }

private:
    QTextCursor cursor() const;
    bool printFragment(const QTextDocumentFragment &fragment, QPagedPaintDevice &printer) const;
    void setCursor(const QTextCursor &cursor);
    void selectionMayHaveChanged();
    QTextCharFormat caretFormat() const;
    // What replacing [start, end) by plain text types: the first replaced character's format.
    QTextCharFormat replacementFormat(int start, int end) const;
    void replaceContent(const RichDocument &document);
    void setPlainContent(const QString &text);
    // The object of that index selected, a null cursor when there is none.
    QTextCursor objectCursor(int index) const;
    // The whole text replaced by what `fill` inserts, without an undo step.
    void replaceAll(const std::function<void(QTextCursor &)> &fill);
    void applyChars(const std::function<void(QTextCharFormat &)> &change);
    void applyBlocks(const std::function<void(QTextBlockFormat &)> &change);
    // Marks of the paragraphs an edit touched would underline the wrong letters.
    void dropSpellingMarks(int position, int added);

    RichTextDocument *m_document;
    QTextCursor m_cursor;
    QPointer<RichTextEdit> m_edit;
    // While a contract call inserts, the widget's cursor moves with the text: the selection
    // change is told once the insertion is complete, not from inside it.
    int m_inserting = 0;
    int m_lastAnchor = 0;
    int m_lastPosition = 0;
    int m_editBlockDepth = 0;
    // While the whole text is replaced (a load, not an edit), changes are not told as edits.
    int m_replacing = 0;
    QString m_fileError;
    int m_zoom = 100;
    // Where the last textPiece stopped, for the next piece of the same copy.
    mutable DocumentConverter::Resume m_resume;
};
