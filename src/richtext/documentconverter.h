#pragma once

#include "rtf/richdocument.h"

#include <QByteArray>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextImageFormat>

class QTextCursor;
class QTextDocument;

// Moves rich text between the model exchanged with the RTF reader and writer and Qt's text
// engine, and reads the engine's text the way the control's contract shows it.
class DocumentConverter
{
public:
    enum class Mode {
        // The document replaces everything: each paragraph takes its own properties.
        WholeDocument,
        // Pasted into a text: paragraphs closed by a mark bring their properties, the last
        // unclosed one joins the paragraph at the cursor and keeps that paragraph's.
        Fragment,
    };

    // Where an extraction stopped inside a paragraph, so that the next one, starting there, goes
    // on from that fragment instead of walking the paragraph from its start: what makes a long
    // paragraph copied in pieces cost its length once. Valid only while the document is
    // unchanged; its owner invalidates it on every change.
    struct Resume
    {
        int position = -1; // -1: nothing to resume
        QTextBlock block;
        QTextBlock::iterator fragment;
        int fragmentStart = 0;
    };

    // Inserts at the cursor, replacing its selection; the caller opens the edit block.
    static void insert(QTextCursor &cursor, const RichDocument &document, Mode mode);
    static RichDocument extract(const QTextDocument &document, int start, int end, Resume *resume = nullptr);
    // The whole text, written so that reading it back as a whole document gives the same
    // paragraphs: a last mark followed by nothing is implicit in RTF, so an empty last
    // paragraph is closed by an explicit mark.
    static RichDocument extractWhole(const QTextDocument &document);
    // From `start` to the end of the text, closed as extractWhole closes the whole text.
    static RichDocument extractTail(const QTextDocument &document, int start, Resume *resume = nullptr);

    // Plain text in the control's characters: Windows-1252 letters, or the byte of a
    // symbol-font run; "\r\n", "\r" and "\n" break paragraphs, '\v' breaks a line.
    static void insertPlainText(QTextCursor &cursor, const QString &text, const QTextCharFormat &format);
    // The contract's view of [start, end): Windows-1252 bytes, '\r' per paragraph mark.
    static QByteArray plainText(const QTextDocument &document, int start, int end);

    static void setBullet(const QTextBlock &block, bool on);
    // Pads paragraphs holding raised or lowered text: Qt does not grow a line for them, so
    // the shifted glyphs would draw into the neighbouring lines.
    static void refreshLineBoxes(QTextDocument &document, int start, int end);
    // Line boxes for a whole edit block at once: between the begin and the end of a batch,
    // refreshLineBoxes only widens the span to refresh, kept by cursors that follow the edits
    // made meanwhile, and the end refreshes it once. A command that formats a long paragraph
    // piece by piece would otherwise go over all of it for every piece. Batches nest.
    static void beginLineBoxBatch(QTextDocument &document);
    static void endLineBoxBatch(QTextDocument &document);
    static bool protectedAt(const QTextDocument &document, int position);
    static bool containsProtected(const QTextDocument &document, int start, int end);
    // A caret strictly inside a protected run; at a run's edges typing makes unprotected text.
    static bool insideProtectedRun(const QTextDocument &document, int position);
    // The format text typed at a caret takes: no symbol byte of a neighbour.
    static QTextCharFormat insertionFormat(QTextCharFormat format);
};
