#include "qtrichtextcontrol.h"

#include "cp1252.h"
#include "documentconverter.h"
#include "embeddedobjects.h"
#include "richtextdocument.h"
#include "richtextedit.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "selectionformatter.h"
#include "textfinder.h"

#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>

Q_LOGGING_CATEGORY(lcRichText, "veligram.richtext")

QtRichTextControl::QtRichTextControl(QObject *parent)
    : RichTextControl(parent), m_document(new RichTextDocument(this)), m_cursor(m_document)
{
    TextFormats::installFontSubstitutions();
    connect(m_document, &QTextDocument::contentsChanged, this, &RichTextControl::textChanged);
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
    QTextCharFormat format = caretFormat();
    if (c.hasSelection()) {
        // The format of the first replaced character, not of the one before the selection.
        QTextCursor first(m_document);
        const int start = c.selectionStart();
        const QTextBlock block = m_document->findBlock(start);
        first.setPosition(start < block.position() + block.length() - 1 ? start + 1 : start);
        format = DocumentConverter::insertionFormat(first.charFormat());
    }
    c.beginEditBlock();
    c.removeSelectedText();
    DocumentConverter::insertPlainText(c, Cp1252::decode(text), format);
    c.endEditBlock();
    setCursor(c);
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
    QTextCursor c(m_document);
    const QTextCharFormat format = DocumentConverter::insertionFormat(c.charFormat());
    m_document->setUndoRedoEnabled(false);
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    DocumentConverter::insertPlainText(c, text, format);
    m_document->setUndoRedoEnabled(true);
    m_document->clearUndoRedoStacks();
    c.setPosition(0);
    setCursor(c);
}

void QtRichTextControl::replaceContent(const RichDocument &document)
{
    m_document->setUndoRedoEnabled(false);
    QTextCursor c(m_document);
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(QTextBlockFormat());
    DocumentConverter::insert(c, document, DocumentConverter::Mode::WholeDocument);
    c.endEditBlock();
    m_document->setUndoRedoEnabled(true);
    m_document->clearUndoRedoStacks();
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
    c.beginEditBlock();
    DocumentConverter::insert(c, result.document, DocumentConverter::Mode::Fragment);
    c.endEditBlock();
    setCursor(c);
}

QByteArray QtRichTextControl::textRtf() const
{
    return RtfWriter::write(DocumentConverter::extractWhole(*m_document));
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

bool QtRichTextControl::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
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
    const QByteArray rtf = textRtf();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(rtf) != rtf.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void QtRichTextControl::beginEditBlock()
{
    ++m_editBlockDepth;
    QTextCursor(m_document).beginEditBlock();
}

void QtRichTextControl::endEditBlock()
{
    if (m_editBlockDepth == 0)
        return;
    --m_editBlockDepth;
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
    m_edit->setDocument(m_document);
    m_edit->setTextCursor(m_cursor);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &QtRichTextControl::selectionMayHaveChanged);
    connect(m_edit, &QTextEdit::selectionChanged, this, &QtRichTextControl::selectionMayHaveChanged);
    connect(m_edit, &RichTextEdit::clicked, this, &RichTextControl::clicked);
    connect(m_edit, &RichTextEdit::focusGained, this, &RichTextControl::focusGained);
    connect(m_edit, &RichTextEdit::keyDown, this, &RichTextControl::keyDown);
    connect(m_edit, &RichTextEdit::keyPress, this, &RichTextControl::keyPress);
    connect(m_edit, &RichTextEdit::mouseDown, this, &RichTextControl::mouseDown);
    return m_edit;
}

// --- Attributes ---

void QtRichTextControl::applyChars(const std::function<void(QTextCharFormat &)> &change)
{
    SelectionFormatter formatter(*m_document, cursor());
    formatter.changeChars(change);
    if (!formatter.cursor().hasSelection())
        setCursor(formatter.cursor());
    if (m_edit && !formatter.cursor().hasSelection())
        m_edit->setCurrentCharFormat(formatter.cursor().charFormat());
}

void QtRichTextControl::applyBlocks(const std::function<void(QTextBlockFormat &)> &change)
{
    SelectionFormatter(*m_document, cursor()).changeBlocks(change);
}

Mixed<QString> QtRichTextControl::selFontName() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<QString>([this](const QTextCharFormat &f) {
        return TextFormats::fontFamily(f, *m_document);
    });
}

void QtRichTextControl::setSelFontName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return;
    const QTextCursor before = cursor();
    const int anchor = before.anchor(); // the cursor itself moves when characters are rewritten
    const int position = before.position();
    SelectionFormatter formatter(*m_document, before);
    formatter.setFontName(name.trimmed());
    if (anchor == position) {
        setCursor(formatter.cursor());
        if (m_edit)
            m_edit->setCurrentCharFormat(formatter.cursor().charFormat());
        return;
    }
    // Symbol characters were rewritten in place; the selection still spans them.
    QTextCursor again(m_document);
    again.setPosition(anchor);
    again.setPosition(position, QTextCursor::KeepAnchor);
    setCursor(again);
}

Mixed<double> QtRichTextControl::selFontSize() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<double>([this](const QTextCharFormat &f) {
        return TextFormats::roundToHalfPoint(TextFormats::pointSize(f, *m_document));
    });
}

void QtRichTextControl::setSelFontSize(double points)
{
    const double size = TextFormats::roundToHalfPoint(qBound(1.0, points, 1638.0));
    applyChars([size](QTextCharFormat &f) { f.setFontPointSize(size); });
}

Mixed<bool> QtRichTextControl::selBold() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([this](const QTextCharFormat &f) {
        return TextFormats::charStyle(f, *m_document).bold;
    });
}

void QtRichTextControl::setSelBold(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
}

Mixed<bool> QtRichTextControl::selItalic() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([this](const QTextCharFormat &f) {
        return TextFormats::charStyle(f, *m_document).italic;
    });
}

void QtRichTextControl::setSelItalic(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontItalic(on); });
}

Mixed<bool> QtRichTextControl::selUnderline() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([](const QTextCharFormat &f) {
        return f.fontUnderline();
    });
}

void QtRichTextControl::setSelUnderline(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontUnderline(on); });
}

Mixed<bool> QtRichTextControl::selStrikethrough() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>([](const QTextCharFormat &f) {
        return f.fontStrikeOut();
    });
}

void QtRichTextControl::setSelStrikethrough(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setFontStrikeOut(on); });
}

Mixed<QRgb> QtRichTextControl::selColor() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<QRgb>(&TextFormats::colorOf);
}

void QtRichTextControl::setSelColor(QRgb color)
{
    applyChars([color](QTextCharFormat &f) {
        f.setForeground(QColor::fromRgb(qRgb(qRed(color), qGreen(color), qBlue(color))));
    });
}

Mixed<int> QtRichTextControl::selCharOffset() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<int>(&TextFormats::offsetTwips);
}

void QtRichTextControl::setSelCharOffset(int twips)
{
    applyChars([twips](QTextCharFormat &f) { f.setProperty(TextFormats::OffsetTwips, twips); });
}

Mixed<bool> QtRichTextControl::selProtected() const
{
    return SelectionFormatter(*m_document, cursor()).charValue<bool>(&TextFormats::isProtected);
}

void QtRichTextControl::setSelProtected(bool on)
{
    applyChars([on](QTextCharFormat &f) { f.setProperty(TextFormats::Protected, on); });
}

Mixed<int> QtRichTextControl::selAlignment() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<int>([](const QTextBlock &b) {
        return TextFormats::alignmentCode(b.blockFormat().alignment());
    });
}

void QtRichTextControl::setSelAlignment(int alignment)
{
    if (alignment < 0 || alignment > 2)
        return;
    const Qt::Alignment qt = TextFormats::qtAlignment(ParagraphAlignment(alignment));
    applyBlocks([qt](QTextBlockFormat &f) { f.setAlignment(qt); });
}

Mixed<bool> QtRichTextControl::selBullet() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<bool>([](const QTextBlock &b) {
        return b.textList() != nullptr;
    });
}

void QtRichTextControl::setSelBullet(bool on)
{
    SelectionFormatter(*m_document, cursor()).setBullet(on);
}

Mixed<double> QtRichTextControl::selIndent() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<double>([](const QTextBlock &b) {
        return b.blockFormat().leftMargin();
    });
}

void QtRichTextControl::setSelIndent(double pixels)
{
    applyBlocks([pixels](QTextBlockFormat &f) { f.setLeftMargin(pixels); });
}

Mixed<double> QtRichTextControl::selRightIndent() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<double>([](const QTextBlock &b) {
        return b.blockFormat().rightMargin();
    });
}

void QtRichTextControl::setSelRightIndent(double pixels)
{
    applyBlocks([pixels](QTextBlockFormat &f) { f.setRightMargin(pixels); });
}

Mixed<int> QtRichTextControl::selTabCount() const
{
    return SelectionFormatter(*m_document, cursor()).blockValue<int>([](const QTextBlock &b) {
        return int(TextFormats::tabStopsPx(b.blockFormat()).size());
    });
}

void QtRichTextControl::setSelTabCount(int count)
{
    // A word processor's paragraph holds at most 32 stops; new ones follow the last at the
    // default distance until their positions are set.
    const int wanted = qBound(0, count, 32);
    applyBlocks([wanted](QTextBlockFormat &f) {
        QList<TextFormats::TabPx> tabs = TextFormats::tabStopsPx(f);
        tabs.resize(qMin<qsizetype>(tabs.size(), wanted));
        while (tabs.size() < wanted) {
            const double last = tabs.isEmpty() ? 0.0 : tabs.last().position;
            tabs.append(TextFormats::TabPx{last + TextFormats::kDefaultTabDistancePx, TabKind::Left});
        }
        TextFormats::setTabStopsPx(f, tabs);
    });
}

Mixed<double> QtRichTextControl::selTabs(int index) const
{
    const Mixed<double> value =
        SelectionFormatter(*m_document, cursor()).blockValue<double>([index](const QTextBlock &b) {
            const QList<TextFormats::TabPx> tabs = TextFormats::tabStopsPx(b.blockFormat());
            return index >= 0 && index < tabs.size() ? tabs.at(index).position : -1.0;
        });
    if (value.isMixed() || value.value() < 0)
        return Mixed<double>::mixed();
    return value;
}

void QtRichTextControl::setSelTabs(int index, double pixels)
{
    applyBlocks([index, pixels](QTextBlockFormat &f) {
        QList<TextFormats::TabPx> tabs = TextFormats::tabStopsPx(f);
        if (index < 0 || index >= tabs.size())
            return;
        tabs[index].position = qMax(0.0, pixels);
        TextFormats::setTabStopsPx(f, tabs);
    });
}

double QtRichTextControl::rightMargin() const
{
    if (m_document->textWidth() > 0)
        return m_document->textWidth();
    return m_edit ? m_edit->viewport()->width() : 0.0;
}

// --- Objects and printing ---

int QtRichTextControl::objectCount() const
{
    return EmbeddedObjects::count(*m_document);
}

ObjectInfo QtRichTextControl::objectAt(int index) const
{
    return EmbeddedObjects::at(*m_document, index);
}

void QtRichTextControl::insertPicture(const QImage &image)
{
    if (image.isNull())
        return;
    QTextCursor c = cursor();
    const QTextCharFormat around = caretFormat();
    c.beginEditBlock();
    c.removeSelectedText();
    DocumentConverter::insertPicture(c, image, around);
    c.endEditBlock();
    setCursor(c);
}

bool QtRichTextControl::addObjectFromFile(const QString &path)
{
    const auto object = EmbeddedObjects::fromFile(path);
    if (!object)
        return false;
    QTextCursor c = cursor();
    const QTextCharFormat around = caretFormat();
    c.beginEditBlock();
    c.removeSelectedText();
    c.insertText(QString(QChar::ObjectReplacementCharacter), DocumentConverter::objectFormat(object, around));
    c.endEditBlock();
    setCursor(c);
    return true;
}

bool QtRichTextControl::printSelection(QPagedPaintDevice &printer)
{
    const QTextCursor c = cursor();
    RichTextDocument copy;
    copy.setDefaultFont(m_document->defaultFont());
    QTextCursor target(&copy);
    target.insertFragment(c.hasSelection() ? c.selection() : QTextDocumentFragment(m_document));
    copy.print(&printer);
    return true;
}
