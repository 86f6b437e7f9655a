#include "richtextedit.h"

#include "documentconverter.h"
#include "embeddedobjects.h"
#include "equationobjects.h"
#include "richtextaccessible.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "textformats.h"
#include "viewzoom.h"
#include "widecharacters.h"
#include "zoomedscreen.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QDir>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QUrl>
#include <QWheelEvent>

namespace {

const QString kWindowsRtf = QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"");
const QStringList kRtfFormats = {kWindowsRtf, QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                 QStringLiteral("text/richtext")};

QByteArray rtfOf(const QMimeData *source)
{
    for (const QString &format : kRtfFormats) {
        if (!source->hasFormat(format))
            continue;
        const QByteArray bytes = source->data(format);
        // text/richtext is also a different, older format: trust only what reads as RTF.
        if (RtfReader::looksLikeRtf(bytes))
            return bytes;
    }
    return {};
}

bool isCharacterKey(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool altGr = (modifiers & Qt::ControlModifier) && (modifiers & Qt::AltModifier);
    if ((modifiers & Qt::ControlModifier) && !altGr)
        return false;
    const QChar c = text.at(0);
    return c.isPrint() || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\b';
}

} // namespace

RichTextEdit::RichTextEdit(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
    RichTextAccessible::install();
}

RichTextEdit::~RichTextEdit()
{
    // The document outlives its view: its layout must not keep the view's zoomed screen.
    if (QAbstractTextDocumentLayout *layout = document()->documentLayout();
        layout && m_screen && layout->paintDevice() == m_screen.get())
        layout->setPaintDevice(nullptr);
}

void RichTextEdit::setZoom(int percent)
{
    const int zoom = ViewZoom::bounded(percent);
    if (zoom == m_zoom)
        return;
    std::unique_ptr<ZoomedScreen> screen;
    if (zoom != ViewZoom::normal)
        screen = std::make_unique<ZoomedScreen>(qRound(logicalDpiY() * zoom / qreal(ViewZoom::normal)));
    document()->documentLayout()->setPaintDevice(screen.get());
    m_screen = std::move(screen); // the previous screen goes once the layout has let go of it
    m_zoom = zoom;
    {
        // Typeset again at the new size; the text itself did not change, so nobody is told so.
        const QSignalBlocker quiet(document());
        document()->markContentsDirty(0, document()->characterCount());
    }
    viewport()->update();
    ensureCursorVisible();
    Q_EMIT zoomChanged(m_zoom);
}

void RichTextEdit::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        m_wheel = 0;
        QTextEdit::wheelEvent(event);
        return;
    }
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / ViewZoom::wheelNotch;
    m_wheel -= steps * ViewZoom::wheelNotch;
    if (steps != 0)
        setZoom(ViewZoom::stepped(m_zoom, steps));
    event->accept();
}

std::optional<FileDrop> RichTextEdit::offeredFiles(const QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!data || !data->hasUrls())
        return std::nullopt;
    FileDrop drop;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            drop.paths << QDir::toNativeSeparators(url.toLocalFile());
    }
    if (drop.paths.isEmpty())
        return std::nullopt;
    drop.position = cursorForPosition(event->position().toPoint()).position();
    drop.editable = mayEdit(drop.position, drop.position);
    Q_EMIT fileDragged(drop);
    return drop;
}

void RichTextEdit::dragEnterEvent(QDragEnterEvent *event)
{
    const std::optional<FileDrop> drop = offeredFiles(event);
    if (!drop) {
        QTextEdit::dragEnterEvent(event);
        return;
    }
    if (drop->accepted)
        event->acceptProposedAction();
    else
        event->ignore(); // the window behind may take them
}

void RichTextEdit::dragMoveEvent(QDragMoveEvent *event)
{
    const std::optional<FileDrop> drop = offeredFiles(event);
    if (!drop) {
        QTextEdit::dragMoveEvent(event);
        return;
    }
    if (drop->accepted)
        event->acceptProposedAction();
    else
        event->ignore();
}

bool RichTextEdit::mayEdit(int start, int end) const
{
    const QTextDocument &doc = *document();
    if (start < end)
        return !DocumentConverter::containsProtected(doc, start, end);
    return !DocumentConverter::insideProtectedRun(doc, start);
}

bool RichTextEdit::mayEditSelection() const
{
    const QTextCursor cursor = textCursor();
    return mayEdit(cursor.selectionStart(), cursor.selectionEnd());
}

bool RichTextEdit::keyMayEdit(QKeyEvent *event) const
{
    const QTextCursor cursor = textCursor();
    auto reach = [&](QTextCursor::MoveOperation operation) {
        QTextCursor moved = cursor;
        moved.clearSelection();
        moved.movePosition(operation, QTextCursor::KeepAnchor);
        return mayEdit(moved.selectionStart(), moved.selectionEnd());
    };
    if (event == QKeySequence::Cut || event == QKeySequence::Paste)
        return mayEditSelection();
    if (cursor.hasSelection()) {
        const bool deletes =
            event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
            event == QKeySequence::DeleteStartOfWord || event == QKeySequence::DeleteEndOfWord ||
            event == QKeySequence::DeleteEndOfLine || event == QKeySequence::DeleteCompleteLine;
        if (deletes || isCharacterKey(event) || event->key() == Qt::Key_Return ||
            event->key() == Qt::Key_Enter)
            return mayEditSelection();
        return true;
    }
    if (event == QKeySequence::DeleteStartOfWord)
        return reach(QTextCursor::PreviousWord);
    if (event == QKeySequence::DeleteEndOfWord)
        return reach(QTextCursor::EndOfWord);
    if (event == QKeySequence::DeleteEndOfLine)
        return reach(QTextCursor::EndOfLine);
    if (event == QKeySequence::DeleteCompleteLine) {
        QTextCursor line = cursor;
        line.movePosition(QTextCursor::StartOfLine);
        line.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
        return mayEdit(line.selectionStart(), line.selectionEnd());
    }
    if (event->key() == Qt::Key_Backspace)
        return reach(QTextCursor::PreviousCharacter);
    if (event->key() == Qt::Key_Delete)
        return reach(QTextCursor::NextCharacter);
    if (isCharacterKey(event) || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return mayEditSelection();
    return true;
}

void RichTextEdit::keyPressEvent(QKeyEvent *event)
{
    KeyStroke stroke{event->key(), int(event->modifiers()), event->text(), false};
    Q_EMIT keyDown(stroke);
    if (stroke.consumed) {
        event->accept();
        return;
    }
    if (isCharacterKey(event)) {
        KeyStroke character{event->key(), int(event->modifiers()), event->text(), false};
        Q_EMIT keyPress(character);
        if (character.consumed) {
            event->accept();
            return;
        }
    }
    if (!keyMayEdit(event)) {
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool printable = isCharacterKey(event) && text.at(0).isPrint();
    if (printable && (TextFormats::isSymbolFont(currentCharFormat()) ||
                      std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); }))) {
        typeText(text);
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextEdit::typeText(const QString &text)
{
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    DocumentConverter::insertPlainText(cursor, text, currentCharFormat());
    setTextCursor(cursor);
    ensureCursorVisible();
}

void RichTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    if (!mayEditSelection()) {
        event->accept();
        return;
    }
    if (TextFormats::isSymbolFont(currentCharFormat()) ||
        std::any_of(commit.begin(), commit.end(), [](QChar c) { return c.isSurrogate(); })) {
        typeText(commit);
        event->accept();
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

void RichTextEdit::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT mouseDown(MouseStroke{int(event->button()), int(event->modifiers()), at.x(), at.y()});
    m_pressed = true;
    QTextEdit::mousePressEvent(event);
}

void RichTextEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (m_pressed) {
        m_pressed = false;
        Q_EMIT clicked();
    }
}

void RichTextEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    // An equation is one character: a double-click on it opens it for editing, where on a
    // word it selects the word.
    const QPoint at = event->position().toPoint();
    const QTextCursor nearest = cursorForPosition(at);
    const int boundary = nearest.position();
    const bool beforeIt = at.x() < cursorRect(nearest).x();
    for (const int position : {beforeIt ? boundary - 1 : boundary, beforeIt ? boundary : boundary - 1}) {
        if (position < 0 || position + 1 >= document()->characterCount())
            continue;
        QTextCursor one(document());
        one.setPosition(position);
        one.setPosition(position + 1, QTextCursor::KeepAnchor);
        if (!EquationObjects::isEquation(one.charFormat()) || one.block().position() > position)
            continue;
        setTextCursor(one);
        event->accept();
        Q_EMIT equationDoubleClicked(position);
        return;
    }
    QTextEdit::mouseDoubleClickEvent(event);
}

void RichTextEdit::focusInEvent(QFocusEvent *event)
{
    QTextEdit::focusInEvent(event);
    Q_EMIT focusGained();
}

void RichTextEdit::contextMenuEvent(QContextMenuEvent *event)
{
    ContextMenuRequest request;
    if (event->reason() == QContextMenuEvent::Mouse) {
        request.position = cursorForPosition(event->pos()).position();
        request.globalPos = event->globalPos();
    } else {
        request.position = textCursor().position();
        request.globalPos = viewport()->mapToGlobal(cursorRect().bottomLeft());
    }
    Q_EMIT contextMenuRequested(request);
    if (request.consumed)
        return;
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    const bool editable = mayEditSelection();
    for (QAction *action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-cut") || name == QLatin1String("edit-delete") ||
            name == QLatin1String("edit-paste"))
            action->setEnabled(action->isEnabled() && editable);
    }
    menu->exec(event->globalPos());
}

void RichTextEdit::dropEvent(QDropEvent *event)
{
    if (const std::optional<FileDrop> drop = offeredFiles(event)) {
        if (!drop->accepted) {
            event->ignore();
            return;
        }
        event->acceptProposedAction();
        Q_EMIT filesDropped(*drop);
        return;
    }
    const int at = cursorForPosition(event->position().toPoint()).position();
    const bool movesOwnText = event->source() == this && event->dropAction() == Qt::MoveAction;
    if (!mayEdit(at, at) || (movesOwnText && !mayEditSelection())) {
        event->ignore();
        return;
    }
    QTextEdit::dropEvent(event);
}

QMimeData *RichTextEdit::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    const QTextCursor cursor = textCursor();
    const QByteArray rtf = RtfWriter::write(
        DocumentConverter::extract(*document(), cursor.selectionStart(), cursor.selectionEnd()));
    data->setData(QStringLiteral("text/rtf"), rtf);
    data->setData(QStringLiteral("application/rtf"), rtf);
    data->setData(kWindowsRtf, rtf);
    // Plain text: an equation as its linear text, a wide character as itself; pictures have none.
    const QString selected = cursor.selectedText();
    QString plain;
    plain.reserve(selected.size());
    for (qsizetype i = 0; i < selected.size(); ++i) {
        const QChar c = selected.at(i);
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            plain += u'\n';
        } else if (c == QChar::ObjectReplacementCharacter) {
            QTextCursor one(document());
            one.setPosition(cursor.selectionStart() + int(i) + 1);
            const QTextCharFormat format = one.charFormat();
            plain += EquationObjects::isEquation(format) ? EquationObjects::linear(format)
                                                         : WideCharacters::text(format);
        } else {
            plain += c;
        }
    }
    data->setText(plain);
    return data;
}

bool RichTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return !rtfOf(source).isEmpty() || source->hasImage() || source->hasText();
}

void RichTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !mayEditSelection())
        return;
    QTextCursor cursor = textCursor();
    const QByteArray rtf = rtfOf(source);
    if (!rtf.isEmpty()) {
        const RtfReadResult result = RtfReader::read(rtf);
        if (result.ok) {
            DocumentConverter::insert(cursor, result.document, DocumentConverter::Mode::Fragment);
            setTextCursor(cursor);
            return;
        }
    }
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            cursor.beginEditBlock();
            if (cursor.hasSelection())
                cursor.removeSelectedText();
            EmbeddedObjects::insertPicture(cursor, image, currentCharFormat());
            cursor.endEditBlock();
            setTextCursor(cursor);
            return;
        }
    }
    if (source->hasText()) {
        cursor.beginEditBlock();
        if (cursor.hasSelection())
            cursor.removeSelectedText();
        DocumentConverter::insertPlainText(cursor, source->text(), cursor.charFormat());
        cursor.endEditBlock();
        setTextCursor(cursor);
    }
}
