#include "rtf/reader/rtfkeywords.h"

#include <cstdint>
#include <unordered_map>

namespace {

using K = RtfKeyword;

// Control words are short: FNV-1a over their few bytes beats the library's general hash.
struct WordHash
{
    std::size_t operator()(std::string_view word) const noexcept
    {
        std::uint32_t hash = 2166136261u;
        for (const char c : word)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        return hash;
    }
};

const std::unordered_map<std::string_view, RtfKeyword, WordHash> &table()
{
    static const std::unordered_map<std::string_view, RtfKeyword, WordHash> words{
        {"rtf", K::Rtf},
        {"ansi", K::Ansi},
        {"ansicpg", K::AnsiCodePage},
        {"mac", K::Mac},
        {"pc", K::Pc},
        {"pca", K::Pca},
        {"deff", K::DefaultFont},
        {"uc", K::UnicodeSkip},
        {"u", K::Unicode},

        {"plain", K::Plain},
        {"f", K::Font},
        {"fs", K::FontSize},
        {"b", K::Bold},
        {"i", K::Italic},
        {"ul", K::Underline},
        {"uld", K::Underline},
        {"uldash", K::Underline},
        {"uldashd", K::Underline},
        {"uldashdd", K::Underline},
        {"uldb", K::Underline},
        {"ulth", K::Underline},
        {"ulw", K::Underline},
        {"ulwave", K::Underline},
        {"ulhwave", K::Underline},
        {"ululdbwave", K::Underline},
        {"ulthd", K::Underline},
        {"ulthdash", K::Underline},
        {"ulthdashd", K::Underline},
        {"ulthdashdd", K::Underline},
        {"ulldash", K::Underline},
        {"ulthldash", K::Underline},
        {"ulnone", K::UnderlineNone},
        {"strike", K::Strike},
        {"striked", K::StrikeDouble},
        {"cf", K::ColorIndex},
        {"up", K::Up},
        {"dn", K::Down},
        {"vgoff", K::ExactOffset},
        {"super", K::Super},
        {"sub", K::Sub},
        {"nosupersub", K::NoSuperSub},
        {"protect", K::Protect},

        {"pard", K::Pard},
        {"ql", K::AlignLeft},
        {"qr", K::AlignRight},
        {"qc", K::AlignCenter},
        {"qj", K::AlignJustify},
        {"qd", K::AlignJustify},
        {"li", K::LeftIndent},
        {"lin", K::LeftIndent},
        {"ri", K::RightIndent},
        {"rin", K::RightIndent},
        {"fi", K::FirstIndent},
        {"tx", K::TabPosition},
        {"tqr", K::TabRight},
        {"tqc", K::TabCenter},
        {"tqdec", K::TabDecimal},
        {"tb", K::TabBar},
        {"ls", K::ListOverride},
        {"ilvl", K::ListLevel},
        {"intbl", K::InTable},

        {"par", K::Par},
        {"page", K::Break},
        {"sect", K::Break},
        {"column", K::Break},
        {"line", K::Line},
        {"lbr", K::Line},
        {"tab", K::Tab},
        {"cell", K::Cell},
        {"row", K::Row},
        {"nestcell", K::NestCell},
        {"nestrow", K::NestRow},
        {"emdash", K::EmDash},
        {"endash", K::EnDash},
        {"bullet", K::Bullet},
        {"lquote", K::LeftQuote},
        {"rquote", K::RightQuote},
        {"ldblquote", K::LeftDoubleQuote},
        {"rdblquote", K::RightDoubleQuote},
        {"enspace", K::Space},
        {"emspace", K::Space},
        {"qmspace", K::Space},
        {"zwj", K::Drop},
        {"zwnj", K::Drop},
        {"zwbo", K::Drop},
        {"zwnbo", K::Drop},
        {"ltrmark", K::Drop},
        {"rtlmark", K::Drop},

        {"pngblip", K::PicFormat},
        {"jpegblip", K::PicFormat},
        {"emfblip", K::PicFormat},
        {"wmetafile", K::PicFormat},
        {"dibitmap", K::PicFormat},
        {"wbitmap", K::PicFormat},
        {"macpict", K::PicFormat},
        {"pmmetafile", K::PicFormat},
        {"picw", K::PicWidth},
        {"pich", K::PicHeight},
        {"picwgoal", K::PicGoalWidth},
        {"pichgoal", K::PicGoalHeight},
        {"picscalex", K::PicScaleX},
        {"picscaley", K::PicScaleY},
        {"wbmbitspixel", K::BitmapBitsPerPixel},
        {"wbmwidthbytes", K::BitmapWidthBytes},
        {"objw", K::ObjWidth},
        {"objh", K::ObjHeight},
        {"objscalex", K::ObjScaleX},
        {"objscaley", K::ObjScaleY},

        {"pnlvlcont", K::NumberingContinue},
        {"pnlvlblt", K::NumberingBullet},
        {"pnlvlbody", K::NumberingNumbered},
        {"pnlvl", K::NumberingNumbered},
        {"pndec", K::NumberingNumbered},
        {"pnucltr", K::NumberingNumbered},
        {"pnlcltr", K::NumberingNumbered},
        {"pnucrm", K::NumberingNumbered},
        {"pnlcrm", K::NumberingNumbered},
        {"pnord", K::NumberingNumbered},
        {"pnordt", K::NumberingNumbered},
        {"pncard", K::NumberingNumbered},
    };
    return words;
}

} // namespace

RtfKeyword RtfKeywords::lookup(std::string_view word)
{
    const auto &words = table();
    const auto it = words.find(word);
    return it == words.end() ? RtfKeyword::Unknown : it->second;
}

char16_t RtfKeywords::character(RtfKeyword keyword)
{
    switch (keyword) {
    case RtfKeyword::EmDash:
        return 0x2014;
    case RtfKeyword::EnDash:
        return 0x2013;
    case RtfKeyword::Bullet:
        return 0x2022;
    case RtfKeyword::LeftQuote:
        return 0x2018;
    case RtfKeyword::RightQuote:
        return 0x2019;
    case RtfKeyword::LeftDoubleQuote:
        return 0x201C;
    case RtfKeyword::RightDoubleQuote:
        return 0x201D;
    default:
        return 0;
    }
}
