#include "rtf/reader/rtfformatting.h"

#include <algorithm>
#include <cmath>

namespace {

// Twips beyond 22 inches either way are damage; clamping keeps later arithmetic in range.
constexpr std::int64_t MaxTwips = 31680;
constexpr int MaxOffsetTwips = 32767;

int twips(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, -MaxTwips, MaxTwips));
}

bool flag(bool hasParameter, std::int64_t parameter)
{
    return !hasParameter || parameter != 0;
}

int offset(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, -MaxOffsetTwips, MaxOffsetTwips));
}

} // namespace

RtfFormatting::Effect RtfFormatting::apply(RtfKeyword keyword, bool hasParameter, std::int64_t parameter,
                                           RtfGroupState &state)
{
    RtfCharProps &c = state.chars;
    ParagraphStyle &p = state.paragraph;
    const int halfPointsOf6 = 6; // \up and \dn without a number
    switch (keyword) {
    case RtfKeyword::Plain:
        c = RtfCharProps{};
        return Effect::Character;
    case RtfKeyword::Font:
        c.fontIndex = int(std::clamp<std::int64_t>(hasParameter ? parameter : 0, 0, 1 << 20));
        return Effect::Character;
    case RtfKeyword::FontSize:
        // 1 to 1638 points; \fs alone or nonsense means the RTF default of 12 points.
        c.halfPoints = hasParameter && parameter > 0
                           ? int(std::min<std::int64_t>(std::max<std::int64_t>(parameter, 2), 3276))
                           : 24;
        return Effect::Character;
    case RtfKeyword::Bold:
        c.bold = flag(hasParameter, parameter);
        return Effect::Character;
    case RtfKeyword::Italic:
        c.italic = flag(hasParameter, parameter);
        return Effect::Character;
    case RtfKeyword::Underline:
        c.underline = flag(hasParameter, parameter);
        return Effect::Character;
    case RtfKeyword::UnderlineNone:
        c.underline = false;
        return Effect::Character;
    case RtfKeyword::Strike:
    case RtfKeyword::StrikeDouble:
        c.strikethrough = flag(hasParameter, parameter);
        return Effect::Character;
    case RtfKeyword::ColorIndex:
        c.colorIndex = int(std::clamp<std::int64_t>(hasParameter ? parameter : 0, 0, 1 << 20));
        return Effect::Character;
    // An offset and a script both place the characters: the later word wins, as in LibreOffice.
    case RtfKeyword::Up:
        // Half-points: 1 unit is 10 twips.
        c.offsetTwips =
            offset(10 * std::clamp<std::int64_t>(hasParameter ? parameter : halfPointsOf6, -10000, 10000));
        c.script = RtfScript::None;
        return Effect::Character;
    case RtfKeyword::Down:
        c.offsetTwips =
            offset(-10 * std::clamp<std::int64_t>(hasParameter ? parameter : halfPointsOf6, -10000, 10000));
        c.script = RtfScript::None;
        return Effect::Character;
    case RtfKeyword::ExactOffset:
        // Our own word, written after \up/\dn when the offset is not a whole number of half-points.
        if (hasParameter) {
            c.offsetTwips = offset(parameter);
            c.script = RtfScript::None;
        }
        return Effect::Character;
    case RtfKeyword::Super:
    case RtfKeyword::Sub:
        // "\super0" ends the script and leaves an \up before it alone.
        if (flag(hasParameter, parameter)) {
            c.script = keyword == RtfKeyword::Super ? RtfScript::Super : RtfScript::Sub;
            c.offsetTwips = 0;
        } else {
            c.script = RtfScript::None;
        }
        return Effect::Character;
    case RtfKeyword::NoSuperSub:
        c.script = RtfScript::None;
        c.offsetTwips = 0;
        return Effect::Character;
    case RtfKeyword::Protect:
        c.protectedText = flag(hasParameter, parameter);
        return Effect::Character;
    case RtfKeyword::Pard:
        p = ParagraphStyle{};
        state.inTable = false;
        state.listOverride = 0;
        state.listLevel = 0;
        state.pendingTabKind = TabKind::Left;
        return Effect::Paragraph;
    case RtfKeyword::AlignLeft:
        p.alignment = ParagraphAlignment::Left;
        return Effect::Paragraph;
    case RtfKeyword::AlignRight:
        p.alignment = ParagraphAlignment::Right;
        return Effect::Paragraph;
    case RtfKeyword::AlignCenter:
        p.alignment = ParagraphAlignment::Center;
        return Effect::Paragraph;
    case RtfKeyword::AlignJustify:
        p.alignment = ParagraphAlignment::Justify;
        return Effect::Paragraph;
    case RtfKeyword::LeftIndent:
        p.leftIndentTwips = twips(parameter);
        return Effect::Paragraph;
    case RtfKeyword::RightIndent:
        p.rightIndentTwips = twips(parameter);
        return Effect::Paragraph;
    case RtfKeyword::FirstIndent:
        p.firstLineIndentTwips = twips(parameter);
        return Effect::Paragraph;
    case RtfKeyword::TabRight:
        state.pendingTabKind = TabKind::Right;
        return Effect::Paragraph;
    case RtfKeyword::TabCenter:
        state.pendingTabKind = TabKind::Center;
        return Effect::Paragraph;
    case RtfKeyword::TabDecimal:
        state.pendingTabKind = TabKind::Decimal;
        return Effect::Paragraph;
    case RtfKeyword::TabBar:
        // Bar tabs draw a line, they stop nothing: dropped with the kind that preceded them.
        state.pendingTabKind = TabKind::Left;
        return Effect::Paragraph;
    case RtfKeyword::TabPosition:
        addTabStop(state, twips(parameter));
        return Effect::Paragraph;
    case RtfKeyword::ListOverride:
        // Bullet or number is known from the list tables when the paragraph ends.
        state.listOverride = int(std::clamp<std::int64_t>(hasParameter ? parameter : 0, 0, 1 << 20));
        p.bullet = false;
        return Effect::Paragraph;
    case RtfKeyword::ListLevel:
        state.listLevel = int(std::clamp<std::int64_t>(hasParameter ? parameter : 0, 0, 1 << 20));
        return Effect::Paragraph;
    case RtfKeyword::InTable:
        state.inTable = true;
        return Effect::Paragraph;
    default:
        return Effect::None;
    }
}

// Word processors draw \super and \sub text smaller and shifted, its font size unchanged; the
// control has only a size and an offset, so the script becomes those two, as "&Indice" and
// "E&xposant" write them, and the saved file looks the same in every program:
//  - 58 % of the size, to the half-point, as LibreOffice draws them (a 12-point \super is
//    7 points there): a file opened here and saved then looks unchanged in LibreOffice. Word
//    and RichEdit draw scripts a little larger, at 2/3;
//  - a superscript raised by a third of the font size (LibreOffice by about 0.4 em);
//  - a subscript lowered by a fifth (RichEdit lowers by 1/5, LibreOffice by about 0.1 em).
// Both offsets are taken from the full size: that is the line the script sits on.
int RtfFormatting::drawnHalfPoints(const RtfCharProps &props)
{
    if (props.script == RtfScript::None)
        return props.halfPoints;
    return std::max(2, int(std::lround(props.halfPoints * 0.58)));
}

int RtfFormatting::drawnOffsetTwips(const RtfCharProps &props)
{
    switch (props.script) {
    case RtfScript::Super:
        return int(std::lround(props.halfPoints * 10.0 / 3.0));
    case RtfScript::Sub:
        return -props.halfPoints * 2;
    case RtfScript::None:
        break;
    }
    return props.offsetTwips;
}

void RtfFormatting::addTabStop(RtfGroupState &state, int positionTwips)
{
    const TabStop stop{positionTwips, state.pendingTabKind};
    state.pendingTabKind = TabKind::Left;
    if (positionTwips < 0)
        return;
    QList<TabStop> &tabs = state.paragraph.tabs;
    const auto at =
        std::lower_bound(tabs.begin(), tabs.end(), positionTwips,
                         [](const TabStop &t, int position) { return t.positionTwips < position; });
    if (at != tabs.end() && at->positionTwips == positionTwips) {
        *at = stop; // the later definition of a position wins, as in word processors
        return;
    }
    if (tabs.size() >= MaxTabStops)
        return;
    tabs.insert(at, stop);
}
