#pragma once

#include "mixed.h"
#include "textformats.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>
#include <optional>

// Reads and changes the attributes of a selection, in one pass over its format runs. A
// selection's value is its characters' common value, or mixed; at a caret it is the format
// text typed there takes, and a change at a caret changes only that format.
class SelectionFormatter
{
public:
    SelectionFormatter(QTextDocument &document, QTextCursor cursor);

    // The cursor after a change: at a caret it carries the new insertion format.
    QTextCursor cursor() const { return m_cursor; }
    QTextCharFormat caretFormat() const;

    template <typename T> Mixed<T> charValue(const std::function<T(const QTextCharFormat &)> &value) const
    {
        if (!m_cursor.hasSelection())
            return value(caretFormat());
        std::optional<T> first;
        bool mixed = false;
        forEachRun([&](int, int, const QTextCharFormat &format) {
            const T v = value(format);
            if (!first)
                first = v;
            else if (!(*first == v))
                mixed = true;
            return !mixed;
        });
        if (mixed)
            return Mixed<T>::mixed();
        return first ? Mixed<T>(*first) : Mixed<T>(value(caretFormat()));
    }

    // Applies `change` to every run (or the caret format) and re-derives the display.
    void changeChars(const std::function<void(QTextCharFormat &)> &change);
    // A font change may move characters in or out of a symbol font, whose bytes show as other
    // characters: those are rewritten so that the text keeps its bytes.
    void setFontName(const QString &name);

    template <typename T> Mixed<T> blockValue(const std::function<T(const QTextBlock &)> &value) const
    {
        std::optional<T> first;
        for (QTextBlock block = firstBlock();; block = block.next()) {
            const T v = value(block);
            if (!first)
                first = v;
            else if (!(*first == v))
                return Mixed<T>::mixed();
            if (block == lastBlock() || !block.isValid())
                break;
        }
        return *first;
    }
    void changeBlocks(const std::function<void(QTextBlockFormat &)> &change);
    void setBullet(bool on);

private:
    QTextBlock firstBlock() const;
    QTextBlock lastBlock() const;
    // Calls `visit(from, to, format)` for every format run in the selection; stops when it
    // returns false.
    void forEachRun(const std::function<bool(int, int, const QTextCharFormat &)> &visit) const;

    QTextDocument &m_document;
    QTextCursor m_cursor;
};
