#include "qtrichtextcontrol.h"

#include "documentconverter.h"
#include "richtextdocument.h"
#include "richtextedit.h"
#include "rtf/atomicfile.h"
#include "rtf/cp1252.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "selectionformatter.h"
#include "textfinder.h"
#include "viewzoom.h"

#include <QFile>
#include <QLoggingCategory>
#include <QSignalBlocker>
#include <QTextBlock>

Q_LOGGING_CATEGORY(lcRichText, "veligram.richtext")

QtRichTextControl::QtRichTextControl(QObject *parent)
    : RichTextControl(parent), m_document(new RichTextDocument(this)), m_cursor(m_document)
{
    TextFormats::installFontSubstitutions();
    connect(m_document, &QTextDocument::contentsChanged, this, &RichTextControl::textChanged);
    // Any change moves fragments: a piece taken after it starts from its paragraph again.
    connect(m_document, &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
        m_resume.position = -1;
        dropSpellingMarks(position, added);
        Q_EMIT contentsEdited(position, removed, added);
    });
    connect(m_document, &QTextDocument::contentsChanged, this, [this] {
        m_resume.position = -1;
        if (m_replacing == 0)
            Q_EMIT edited();
    });
}

QtRichTextControl::~QtRichTextControl()
{
    // The widget shows our document; it must not outlive it.
    delete m_edit.data();
}

QTextCursor QtRichTextControl::cursor() const
{
    return m_edit ? m_edit->textCursor() : m_cursor;
}

void QtRichTextControl::setCursor(const QTextCursor &cursor)
{
    if (m_edit)
        m_edit->setTextCursor(cursor);
    else
        m_cursor = cursor;
    selectionMayHaveChanged();
}

void QtRichTextControl::selectionMayHaveChanged()
{
    if (m_inserting > 0)
        return;
    QTextCursor current = cursor();
    if (current.anchor() == m_lastAnchor && current.position() == m_lastPosition)
        return;
    m_lastAnchor = current.anchor();
    m_lastPosition = current.position();
    if (!current.hasSelection()) {
        // The caret takes the format of the character before it, but text typed after a
        // protected run is free, and a symbol character's byte belongs to that character only.
        const QTextCharFormat format = current.charFormat();
        QTextCharFormat typed = DocumentConverter::insertionFormat(format);
        if (TextFormats::isProtected(typed) &&
            !DocumentConverter::insideProtectedRun(*m_document, current.position()))
            typed.setProperty(TextFormats::Protected, false);
        if (typed != format) {
            current.setCharFormat(typed);
            if (m_edit)
                m_edit->setCurrentCharFormat(typed);
        }
    }
    m_cursor = current;
    Q_EMIT selectionChanged();
}

QTextCharFormat QtRichTextControl::caretFormat() const
{
    return SelectionFormatter(*m_document, cursor()).caretFormat();
}

int QtRichTextControl::selStart() const
{
    return cursor().selectionStart();
}

void QtRichTextControl::setSelStart(int position)
{
    QTextCursor c = cursor();
    c.setPosition(qBound(0, position, textLength()));
    setCursor(c);
}

int QtRichTextControl::selLength() const
{
    const QTextCursor c = cursor();
    return c.selectionEnd() - c.selectionStart();
}

void QtRichTextControl::setSelLength(int length)
{
    const int start = selStart();
    setSelection(TextRange{start, qMax(0, length)});
}

TextRange QtRichTextControl::selection() const
{
    const QTextCursor c = cursor();
    return TextRange{c.selectionStart(), c.selectionEnd() - c.selectionStart()};
}

void QtRichTextControl::setSelection(TextRange range)
{
    const int length = textLength();
    const int start = qBound(0, range.start, length);
    const int end = qBound(start, range.end(), length);
    QTextCursor c = cursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setCursor(c);
}

int QtRichTextControl::textLength() const
{
    return m_document->characterCount() - 1;
}

QByteArray QtRichTextControl::selText() const
{
    const QTextCursor c = cursor();
    return DocumentConverter::plainText(*m_document, c.selectionStart(), c.selectionEnd());
}

void QtRichTextControl::setSelText(const QByteArray &text)
{
    QTextCursor c = cursor();
    const QTextCharFormat format = replacementFormat(c.selectionStart(), c.selectionEnd());
    ++m_inserting;
    c.beginEditBlock();
    c.removeSelectedText();
    DocumentConverter::insertPlainText(c, Cp1252::decode(text), format);
    c.endEditBlock();
    --m_inserting;
    setCursor(c);
}

QTextCharFormat QtRichTextControl::replacementFormat(int start, int end) const
{
    if (start == end)
        return caretFormat();
    // The format of the first replaced character, not of the one before the selection.
    QTextCursor first(m_document);
    const QTextBlock block = m_document->findBlock(start);
    first.setPosition(start < block.position() + block.length() - 1 ? start + 1 : start);
    return DocumentConverter::insertionFormat(first.charFormat());
}

int QtRichTextControl::replaceRanges(const QList<TextRange> &ranges, const QByteArray &text)
{
    // On a cursor of our own: moving the widget's cursor to every range would lay the text out
    // and scroll it each time.
    const QString replacement = Cp1252::decode(text);
    const int length = textLength();
    QTextCursor c(m_document);
    c.beginEditBlock();
    int replaced = 0;
    int caret = -1;
    // From the right, so the ranges still to visit stay where they were found.
    for (auto it = ranges.crbegin(); it != ranges.crend(); ++it) {
        const int start = qBound(0, it->start, length);
        const int end = qBound(start, it->end(), length);
        if (DocumentConverter::containsProtected(*m_document, start, end))
            continue;
        const QTextCharFormat format = replacementFormat(start, end);
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        DocumentConverter::insertPlainText(c, replacement, format);
        caret = caret < 0 ? c.position() : caret + c.position() - end;
        ++replaced;
    }
    c.endEditBlock();
    if (caret >= 0) {
        QTextCursor at(m_document);
        at.setPosition(caret);
        setCursor(at);
    }
    return replaced;
}

QByteArray QtRichTextControl::text() const
{
    return DocumentConverter::plainText(*m_document, 0, textLength());
}

void QtRichTextControl::setText(const QByteArray &text)
{
    setPlainContent(Cp1252::decode(text));
}

void QtRichTextControl::setPlainContent(const QString &text)
{
    const QTextCharFormat format = DocumentConverter::insertionFormat(QTextCursor(m_document).charFormat());
    replaceAll([&](QTextCursor &c) { DocumentConverter::insertPlainText(c, text, format); });
}

void QtRichTextControl::replaceContent(const RichDocument &document)
{
    replaceAll([&](QTextCursor &c) {
        c.setBlockFormat(QTextBlockFormat());
        DocumentConverter::insert(c, document, DocumentConverter::Mode::WholeDocument);
    });
}

void QtRichTextControl::replaceAll(const std::function<void(QTextCursor &)> &fill)
{
    ++m_replacing;
    m_document->setUndoRedoEnabled(false);
    // A null page size keeps the layout from typesetting the text as it goes in; giving the
    // page back asks for a layout of the whole document, which Qt does lazily: what the view
    // shows first, the rest in the background.
    const QSizeF page = m_document->pageSize();
    m_document->setPageSize(QSizeF(0, 0));
    if (m_edit) {
        // The view lets go of its caret while the text goes in: a caret pushed along to the end
        // would have the whole text laid out to repaint it there.
        const QSignalBlocker quiet(m_edit);
        m_edit->setTextCursor(QTextCursor());
    }
    QTextCursor c(m_document);
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    fill(c);
    c.endEditBlock();
    m_document->setPageSize(page);
    m_document->setUndoRedoEnabled(true);
    m_document->clearUndoRedoStacks();
    --m_replacing;
    c.setPosition(0);
    setCursor(c);
}

QByteArray QtRichTextControl::selRtf() const
{
    const QTextCursor c = cursor();
    return RtfWriter::write(DocumentConverter::extract(*m_document, c.selectionStart(), c.selectionEnd()));
}

void QtRichTextControl::setSelRtf(const QByteArray &rtf)
{
    QByteArray source = rtf;
    if (!RtfReader::looksLikeRtf(rtf)) {
        // A bare group such as "{\tab }" is RTF without its header, which callers use to
        // insert a single control character.
        if (!rtf.trimmed().startsWith("{\\")) {
            setSelText(rtf);
            return;
        }
        source = "{\\rtf1" + rtf + '}';
    }
    const RtfReadResult result = RtfReader::read(source);
    if (!result.ok) {
        qCWarning(lcRichText) << "RTF fragment not inserted:" << result.message;
        return;
    }
    QTextCursor c = cursor();
    ++m_inserting;
    c.beginEditBlock();
    DocumentConverter::insert(c, result.document, DocumentConverter::Mode::Fragment);
    c.endEditBlock();
    --m_inserting;
    setCursor(c);
}

QByteArray QtRichTextControl::textRtf() const
{
    return RtfWriter::write(DocumentConverter::extractWhole(*m_document));
}

RichDocument QtRichTextControl::textPiece(int start, int end) const
{
    const int length = textLength();
    start = qBound(0, start, length);
    end = qBound(start, end, length);
    if (start == end && length > 0)
        return RichDocument{}; // one empty paragraph, no mark: it joins nothing
    if (end == length)
        return DocumentConverter::extractTail(*m_document, start, &m_resume);
    return DocumentConverter::extract(*m_document, start, end, &m_resume);
}

void QtRichTextControl::setTextRtf(const QByteArray &rtf)
{
    if (!RtfReader::looksLikeRtf(rtf)) {
        setText(rtf);
        return;
    }
    const RtfReadResult result = RtfReader::read(rtf);
    if (!result.ok) {
        qCWarning(lcRichText) << "RTF text not loaded:" << result.message;
        return;
    }
    replaceContent(result.document);
}

int QtRichTextControl::find(const QByteArray &text, int start, int end, int options)
{
    const int length = textLength();
    const int from = qBound(0, start, length);
    const int to = end < 0 ? length : qBound(from, end, length);
    const TextRange found = TextFinder::find(*m_document, text, from, to, options);
    if (found.start < 0)
        return -1;
    setSelection(found);
    return found.start;
}

QList<TextRange> QtRichTextControl::findAll(const QByteArray &text, int start, int end, int options)
{
    const int length = textLength();
    const int from = qBound(0, start, length);
    const int to = end < 0 ? length : qBound(from, end, length);
    return TextFinder::findAll(*m_document, text, from, to, options);
}

bool QtRichTextControl::loadFile(const QString &path)
{
    m_fileError.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_fileError = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_fileError = file.errorString();
        return false;
    }
    if (RtfReader::looksLikeRtf(bytes)) {
        const RtfReadResult result = RtfReader::read(bytes);
        if (!result.ok)
            return false;
        replaceContent(result.document);
        return true;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        setPlainContent(QString::fromUtf8(bytes.mid(3)));
    else
        setPlainContent(Cp1252::decode(bytes));
    return true;
}

bool QtRichTextControl::saveFile(const QString &path)
{
    const AtomicFile::Written written = AtomicFile::write(path, textRtf());
    m_fileError = written.reason;
    return written.ok;
}

void QtRichTextControl::beginEditBlock()
{
    ++m_editBlockDepth;
    QTextCursor(m_document).beginEditBlock();
    DocumentConverter::beginLineBoxBatch(*m_document);
}

void QtRichTextControl::joinPreviousEditBlock()
{
    ++m_editBlockDepth;
    QTextCursor(m_document).joinPreviousEditBlock();
    DocumentConverter::beginLineBoxBatch(*m_document);
}

void QtRichTextControl::endEditBlock()
{
    if (m_editBlockDepth == 0)
        return;
    --m_editBlockDepth;
    DocumentConverter::endLineBoxBatch(*m_document); // inside the block: one undo step still
    QTextCursor(m_document).endEditBlock();
}

bool QtRichTextControl::canUndo() const
{
    return m_document->isUndoAvailable();
}

void QtRichTextControl::undo()
{
    QTextCursor c = cursor();
    m_document->undo(&c);
    setCursor(c);
}

void QtRichTextControl::clearUndo()
{
    m_document->clearUndoRedoStacks();
}

void QtRichTextControl::refresh()
{
    if (m_edit)
        m_edit->viewport()->update();
}

void QtRichTextControl::setFocus()
{
    if (m_edit)
        m_edit->setFocus(Qt::OtherFocusReason);
}

bool QtRichTextControl::hasFocus() const
{
    return m_edit && m_edit->hasFocus();
}

QWidget *QtRichTextControl::widget()
{
    if (m_edit)
        return m_edit;
    m_edit = new RichTextEdit;
    m_document->prepareLayout(RichTextDocument::Medium::Screen);
    m_edit->setDocument(m_document);
    m_edit->setTextCursor(m_cursor);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &QtRichTextControl::selectionMayHaveChanged);
    connect(m_edit, &QTextEdit::selectionChanged, this, &QtRichTextControl::selectionMayHaveChanged);
    connect(m_edit, &RichTextEdit::clicked, this, &RichTextControl::clicked);
    connect(m_edit, &RichTextEdit::focusGained, this, &RichTextControl::focusGained);
    connect(m_edit, &RichTextEdit::keyDown, this, &RichTextControl::keyDown);
    connect(m_edit, &RichTextEdit::keyPress, this, &RichTextControl::keyPress);
    connect(m_edit, &RichTextEdit::mouseDown, this, &RichTextControl::mouseDown);
    connect(m_edit, &RichTextEdit::fileDragged, this, &RichTextControl::fileDragged);
    connect(m_edit, &RichTextEdit::filesDropped, this, &RichTextControl::filesDropped);
    m_edit->setZoom(m_zoom);
    connect(m_edit, &RichTextEdit::zoomChanged, this, [this](int percent) {
        m_zoom = percent;
        Q_EMIT zoomChanged(percent);
    });
    connect(m_edit, &RichTextEdit::contextMenuRequested, this, &RichTextControl::contextMenuRequested);
    connect(m_edit, &RichTextEdit::equationDoubleClicked, this, &RichTextControl::equationActivated);
    return m_edit;
}

void QtRichTextControl::setZoom(int percent)
{
    if (m_edit) {
        m_edit->setZoom(percent); // tells zoomChanged when it changed
        return;
    }
    const int bounded = ViewZoom::bounded(percent);
    if (bounded == m_zoom)
        return;
    m_zoom = bounded;
    Q_EMIT zoomChanged(m_zoom);
}
