#pragma once

#include "rtf/ommlelement.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <QString>

#include <memory>
#include <optional>

// The editor's rich text as plain values: what the RTF reader produces, what the RTF writer
// consumes, and what the control exchanges with its text engine. It has no Qt text-engine
// type in it, so readers and writers are tested without widgets.
//
// Text conventions (one QChar = one position of the control):
//  - Unicode characters, '\t' for a tab, U+2028 for a line break inside a paragraph,
//    U+FFFC for an embedded object (the run's `object` says which);
//  - in a run whose font is symbol-encoded (`CharStyle::symbolFont`), each QChar holds the
//    font's byte (0-255), not a Unicode character: byte 0x61 in "Symbol" is alpha. Showing
//    the right glyph is the display's business.
//  - paragraph marks are not characters of a run: paragraphs are the list's items.

// RTF's \fcharset values that matter to us.
enum class FontCharset : int {
    Ansi = 0,
    Default = 1,
    Symbol = 2,
};

enum class ParagraphAlignment : int {
    Left = 0,
    Right = 1,
    Center = 2,
    Justify = 3, // read from other word processors; shows justified, reads as Left in the control
};

enum class TabKind : int {
    Left,
    Right,
    Center,
    Decimal,
};

struct TabStop
{
    int positionTwips = 0; // from the left edge of the text area, not from the indent
    TabKind kind = TabKind::Left;
    friend bool operator==(const TabStop &, const TabStop &) = default;
};

struct CharStyle
{
    QString fontName = QStringLiteral("Arial");
    bool symbolFont = false; // \fcharset2: the run's characters are the font's bytes
    int halfPoints = 20;     // font size in half-points (10 pt)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::optional<QRgb> color; // empty: automatic colour (shown black)
    int offsetTwips = 0;       // vertical offset, positive raises
    bool protectedText = false;
    friend bool operator==(const CharStyle &, const CharStyle &) = default;
};

struct ParagraphStyle
{
    ParagraphAlignment alignment = ParagraphAlignment::Left;
    int leftIndentTwips = 0;
    int rightIndentTwips = 0;
    int firstLineIndentTwips = 0; // relative to the left indent, negative hangs
    QList<TabStop> tabs;          // sorted by position, no duplicates
    bool bullet = false;
    friend bool operator==(const ParagraphStyle &, const ParagraphStyle &) = default;
};

// A picture or an embedded object: one position in the text.
struct EmbeddedObject
{
    enum class Kind {
        Picture,  // image bytes we can decode: `imageData` in `imageFormat`
        Verbatim, // a picture or object we cannot show natively, kept as its RTF group
        Equation, // an equation typed as linear text; `image` is its picture for other readers
    };
    Kind kind = Kind::Picture;
    QByteArray imageData;   // encoded bytes as read (PNG, JPEG …), written back unchanged
    QByteArray imageFormat; // "png", "jpeg"; empty when only `image` is known
    QImage image;           // what is shown; for Verbatim the \result picture or a placeholder
    int widthTwips = 0;     // display size
    int heightTwips = 0;
    QByteArray verbatimRtf;      // Verbatim: the whole {\pict …} or {\object …} group, written back as is
    int verbatimUnicodeSkip = 1; // the \ucN in force around that group, which its text depends on
    QString className;           // embedded objects: their class name, when known
    // An object made from a file stays linked to it: the file opens for editing, and the
    // picture is taken again from it. Empty for pictures and for objects read from elsewhere.
    QString sourcePath;
    // Equation: its linear text (as typed), and how far its baseline sits above the picture's
    // bottom edge, so that readers of the picture alone show it on the line's baseline.
    QString equation;
    int equationDescentTwips = 0;
    // Equation: its Office Math form, as other word processors read and write it (the zone's
    // elements under a root named "mmath"). An equation read from them may have only this, its
    // linear text still to be made from it; one written here has both. Read from a file, an
    // Office Math zone also keeps its RTF group in `verbatimRtf`, and its picture in `image`,
    // for a zone with elements no equation of ours draws.
    std::shared_ptr<const OmmlElement> omml;
};

struct TextRun
{
    QString text;
    CharStyle style;
    // Set for an object run: `text` is then a single U+FFFC.
    std::shared_ptr<const EmbeddedObject> object;
};

struct Paragraph
{
    ParagraphStyle style;
    QList<TextRun> runs;
};

struct RichDocument
{
    QList<Paragraph> paragraphs{Paragraph{}}; // never empty
    // The last paragraph was closed by a paragraph mark. A whole document ignores it (its last
    // paragraph needs no mark); a fragment pasted into a text ends with a paragraph break.
    bool endsWithParagraphMark = false;
    // No character formatting appeared in the source (e.g. "{\tab }"): a fragment inserted into
    // a text then takes the format at the insertion point.
    bool hasCharFormatting = true;
};
