#pragma once

#include "rtf/reader/rtfgroupstate.h"
#include "rtf/reader/rtfkeywords.h"

#include <cstdint>

// Applies character and paragraph formatting words to a group state.
class RtfFormatting
{
public:
    enum class Effect {
        None,      // not a formatting word
        Character, // changed character properties
        Paragraph, // changed paragraph properties
    };
    static Effect apply(RtfKeyword keyword, bool hasParameter, std::int64_t parameter, RtfGroupState &state);

    // The size and offset the characters are drawn with: \super and \sub shrink and shift them.
    static int drawnHalfPoints(const RtfCharProps &props);
    static int drawnOffsetTwips(const RtfCharProps &props);

    // RichEdit's limit; more stops are dropped.
    static constexpr int MaxTabStops = 32;

private:
    static void addTabStop(RtfGroupState &state, int positionTwips);
};
