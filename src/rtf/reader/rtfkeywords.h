#pragma once

#include <string_view>

// The control words the reader acts on. Everything else is either a destination (see
// RtfDestinations) or ignored.
enum class RtfKeyword {
    Unknown,
    // document
    Rtf,
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // character formatting
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    StrikeDouble,
    ColorIndex,
    Up,
    Down,
    ExactOffset,
    Super,
    Sub,
    NoSuperSub,
    Protect,
    // paragraph formatting
    Pard,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    TabPosition,
    TabRight,
    TabCenter,
    TabDecimal,
    TabBar,
    ListOverride,
    ListLevel,
    InTable,
    // structure and special characters
    Par,
    Break,
    Line,
    Tab,
    Cell,
    Row,
    NestCell,
    NestRow,
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    Space,
    Drop,
    // picture and object properties
    PicFormat,
    PicWidth,
    PicHeight,
    PicGoalWidth,
    PicGoalHeight,
    PicScaleX,
    PicScaleY,
    BitmapBitsPerPixel,
    BitmapWidthBytes,
    ObjWidth,
    ObjHeight,
    ObjScaleX,
    ObjScaleY,
    // paragraph numbering (inside \pn)
    NumberingContinue,
    NumberingBullet,
    NumberingNumbered,
};

namespace RtfKeywords {
RtfKeyword lookup(std::string_view word);
// The character a typographic word (\emdash, \rquote …) stands for, 0 for other words.
char16_t character(RtfKeyword keyword);
} // namespace RtfKeywords
