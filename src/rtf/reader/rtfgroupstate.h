#pragma once

#include "rtf/reader/rtfdestinations.h"
#include "rtf/richdocument.h"

#include <QtGlobal>

// \super and \sub: a way of drawing, not a size or an offset of their own.
enum class RtfScript {
    None,
    Super,
    Sub,
};

// Character properties as the RTF source states them: indexes into the font and colour
// tables, resolved to a CharStyle only when text is emitted (fonts may be used before the
// table that defines them).
struct RtfCharProps
{
    int fontIndex = -1; // -1: the document's default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int colorIndex = 0;
    int offsetTwips = 0; // \up, \dn
    RtfScript script = RtfScript::None;
    bool protectedText = false;
    friend bool operator==(const RtfCharProps &, const RtfCharProps &) = default;
};

// Everything that RTF saves at "{" and restores at "}".
struct RtfGroupState
{
    RtfDestination destination = RtfDestination::Body;
    RtfCharProps chars;
    ParagraphStyle paragraph;
    bool inTable = false;
    int listOverride = 0; // \lsN: 0 is no list
    int listLevel = 0;    // \ilvlN
    int unicodeSkip = 1;  // \ucN: fallback units after each \uN
    TabKind pendingTabKind = TabKind::Left;
    qsizetype groupStart = 0; // offset of this group's "{" in the source
    // This group's destination word set `destination` (its closing brace finishes the
    // picture, object or numbering it began); false in groups that merely inherit it.
    bool ownsDestination = false;
    // This group is a \listtext or \pntext: its closing brace ends the paragraph's label.
    bool ownsLabel = false;
    // Text came in this group: a picture or object word after it does not begin a picture.
    bool hadText = false;
    // \upr keeps the destination its \ud part must go back to.
    RtfDestination outerDestination = RtfDestination::Body;
};
