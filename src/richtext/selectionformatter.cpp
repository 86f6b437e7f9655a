#include "selectionformatter.h"

#include "documentconverter.h"
#include "rtf/cp1252.h"
#include "rtf/symbolencoding.h"
#include "widecharacters.h"

#include <QTextList>

SelectionFormatter::SelectionFormatter(QTextDocument &document, QTextCursor cursor)
    : m_document(document), m_cursor(std::move(cursor))
{}

QTextCharFormat SelectionFormatter::caretFormat() const
{
    return DocumentConverter::insertionFormat(m_cursor.charFormat());
}

void SelectionFormatter::changeChars(const std::function<void(QTextCharFormat &)> &change)
{
    if (!m_cursor.hasSelection()) {
        QTextCharFormat format = caretFormat();
        change(format);
        TextFormats::deriveDisplay(format, m_document);
        m_cursor.setCharFormat(format);
        return;
    }
    struct Run
    {
        int from;
        int to;
        QTextCharFormat format;
    };
    QList<Run> runs;
    forEachRun([&](int from, int to, const QTextCharFormat &format) {
        runs.append(Run{from, to, format});
        return true;
    });
    QTextCursor editor(&m_document);
    editor.beginEditBlock();
    for (Run &run : runs) {
        change(run.format);
        TextFormats::deriveDisplay(run.format, m_document);
        editor.setPosition(run.from);
        editor.setPosition(run.to, QTextCursor::KeepAnchor);
        editor.setCharFormat(run.format);
    }
    DocumentConverter::refreshLineBoxes(m_document, m_cursor.selectionStart(), m_cursor.selectionEnd());
    editor.endEditBlock();
}

void SelectionFormatter::setFontName(const QString &name)
{
    const bool symbol = SymbolEncoding::isSymbolFont(name);
    auto change = [&](QTextCharFormat &format) {
        format.setFontFamilies({name});
        format.setProperty(TextFormats::SymbolFont, symbol);
        format.clearProperty(TextFormats::SymbolByte);
        format.clearProperty(TextFormats::SymbolFontName);
    };
    if (!m_cursor.hasSelection()) {
        changeChars(change);
        return;
    }
    const int start = m_cursor.selectionStart(); // the cursor moves as characters are rewritten
    const int end = m_cursor.selectionEnd();
    struct Run
    {
        int from;
        int to;
        QTextCharFormat format;
        QString text;
    };
    QList<Run> runs;
    forEachRun([&](int from, int to, const QTextCharFormat &format) {
        QString text;
        // A character beyond 16 bits only changes its font: it is no byte of any font.
        const bool wide = WideCharacters::codePoint(format) != 0;
        if (!format.isImageFormat() && !wide && (symbol || TextFormats::isSymbolFont(format))) {
            for (int p = from; p < to; ++p)
                text.append(TextFormats::modelChar(m_document.characterAt(p), format));
        }
        runs.append(Run{from, to, format, text});
        return true;
    });
    QTextCursor editor(&m_document);
    editor.beginEditBlock();
    for (Run &run : runs) {
        const bool wasSymbol = TextFormats::isSymbolFont(run.format);
        change(run.format);
        TextFormats::deriveDisplay(run.format, m_document);
        editor.setPosition(run.from);
        editor.setPosition(run.to, QTextCursor::KeepAnchor);
        if (run.text.isEmpty()) {
            editor.setCharFormat(run.format);
            continue;
        }
        // Same number of characters, so the positions of the runs that follow hold.
        QString text = run.text;
        if (wasSymbol && !symbol) {
            for (QChar &c : text) {
                if (c.unicode() <= 0xFF)
                    c = Cp1252::toUnicode(uchar(c.unicode()));
            }
        }
        editor.removeSelectedText();
        DocumentConverter::insertPlainText(editor, text, run.format);
    }
    DocumentConverter::refreshLineBoxes(m_document, start, end);
    editor.endEditBlock();
}

void SelectionFormatter::changeBlocks(const std::function<void(QTextBlockFormat &)> &change)
{
    QTextCursor editor(&m_document);
    editor.beginEditBlock();
    for (QTextBlock block = firstBlock(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        change(format);
        TextFormats::deriveDisplay(format, block.textList() != nullptr);
        QTextCursor(block).setBlockFormat(format);
        if (block == lastBlock())
            break;
    }
    editor.endEditBlock();
}

void SelectionFormatter::setBullet(bool on)
{
    QTextCursor editor(&m_document);
    editor.beginEditBlock();
    for (QTextBlock block = firstBlock(); block.isValid(); block = block.next()) {
        DocumentConverter::setBullet(block, on);
        if (block == lastBlock())
            break;
    }
    editor.endEditBlock();
}

QTextBlock SelectionFormatter::firstBlock() const
{
    return m_document.findBlock(m_cursor.selectionStart());
}

QTextBlock SelectionFormatter::lastBlock() const
{
    const int start = m_cursor.selectionStart();
    const int end = m_cursor.selectionEnd();
    return m_document.findBlock(end > start ? end - 1 : start);
}

void SelectionFormatter::forEachRun(const std::function<bool(int, int, const QTextCharFormat &)> &visit) const
{
    const int start = m_cursor.selectionStart();
    const int end = m_cursor.selectionEnd();
    const QTextBlock last = lastBlock();
    for (QTextBlock block = firstBlock(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            // Fragments come in order: past the selection there is nothing more to visit, and a
            // command writing a long paragraph from its end leaves many fragments there.
            if (fragment.position() >= end)
                return;
            const int from = qMax(start, fragment.position());
            const int to = qMin(end, fragment.position() + fragment.length());
            if (from < to && !visit(from, to, fragment.charFormat()))
                return;
        }
        if (block == last)
            break;
    }
}
