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
    case RtfKeyword::Up:
        // Half-points: 1 unit is 10 twips.
        c.offsetTwips =
            offset(10 * std::clamp<std::int64_t>(hasParameter ? parameter : halfPointsOf6, -10000, 10000));
        return Effect::Character;
    case RtfKeyword::Down:
        c.offsetTwips =
            offset(-10 * std::clamp<std::int64_t>(hasParameter ? parameter : halfPointsOf6, -10000, 10000));
        return Effect::Character;
    case RtfKeyword::ExactOffset:
        // Our own word, written after \up/\dn when the offset is not a whole number of half-points.
        if (hasParameter)
            c.offsetTwips = offset(parameter);
        return Effect::Character;
    case RtfKeyword::Super:
        // Word processors shrink and raise by a third of the size; the editor knows only the
        // offset, so keep the raise and leave the size alone.
        c.offsetTwips = flag(hasParameter, parameter) ? int(std::lround(c.halfPoints * 10.0 / 3.0)) : 0;
        return Effect::Character;
    case RtfKeyword::Sub:
        c.offsetTwips = flag(hasParameter, parameter) ? -c.halfPoints * 2 : 0;
        return Effect::Character;
    case RtfKeyword::NoSuperSub:
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
