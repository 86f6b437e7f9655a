#pragma once

#include "rtf/ommlelement.h"
#include "rtf/richdocument.h"

#include <QString>

#include <memory>
#include <string_view>
#include <vector>

// Collects one {\mmath …} group, an Office Math zone, into an OmmlElement tree. The parser
// keeps the RTF groups; this handler only hears which of them open an element, at which depth
// of the parser's stack, so a group it never saw close (skipped, truncated) cannot unbalance it.
class RtfMathHandler
{
public:
    // Bounds on what one zone may cost, whatever the data says.
    static constexpr qsizetype MaxText = 100000;
    static constexpr qsizetype MaxElements = 20000;

    void begin(std::size_t depth);
    bool active() const { return m_active; }
    // An "\m…" word (without its "m"): the first word of a group opens an element there, a
    // later one is a flag or a value of the element it is in ("\mnor", "\msty2").
    void word(std::string_view name, bool opensGroup, std::optional<int> parameter, std::size_t depth);
    void text(const QString &text);
    // Closes the elements of groups deeper than `depth`.
    void closeTo(std::size_t depth);
    // The picture for readers that know no Office Math (\mmathPict): the first one read is kept.
    void picture(std::shared_ptr<EmbeddedObject> picture);
    // The zone: its elements under one root named "mmath", and the picture it carried.
    struct Zone
    {
        OmmlElement root;
        std::shared_ptr<EmbeddedObject> picture;
    };
    Zone finish();

private:
    struct Open
    {
        OmmlElement element;
        std::size_t depth = 0; // of the parser's stack when its group was open
    };
    void closeTop();

    bool m_active = false;
    std::vector<Open> m_open;
    // The last child of the innermost element is a run made from text outside any \mr group:
    // more such text joins it.
    bool m_runOpen = false;
    qsizetype m_textSize = 0;
    qsizetype m_elements = 0;
    std::shared_ptr<EmbeddedObject> m_picture;
};
