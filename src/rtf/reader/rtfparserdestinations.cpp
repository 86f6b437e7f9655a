#include "rtf/reader/rtfparser.h"

#include <algorithm>

// How a destination word changes the group it opens: what its text becomes, and whether the
// group is read at all.
void RtfParser::destinationWord(RtfDestinationWord word, std::string_view name, std::int64_t parameter)
{
    using W = RtfDestinationWord;
    RtfGroupState &state = top();
    const RtfDestination current = state.destination;
    const bool body = current == RtfDestination::Body;
    auto own = [&state](RtfDestination destination) {
        state.destination = destination;
        state.ownsDestination = true;
    };
    switch (word) {
    case W::None:
    case W::Transparent:
        return;
    case W::Skip:
        skipCurrentGroup();
        return;
    case W::FontTable:
        if (!body)
            return skipCurrentGroup();
        m_fonts.markSeen();
        return own(RtfDestination::FontTable);
    case W::ColorTable:
        return body ? own(RtfDestination::ColorTable) : skipCurrentGroup();
    case W::Picture: {
        const bool framed = current == RtfDestination::ShapeValue && m_shapeProperty.trimmed() == "pib";
        // After text in its group the word does not open the group: a picture kept verbatim
        // from the group's brace would carry that text along.
        if ((!body && current != RtfDestination::ObjectResult && !framed) || state.hadText)
            return skipCurrentGroup();
        m_pictureForObject = current == RtfDestination::ObjectResult;
        m_pictureForShape = framed;
        m_picture.begin(state.groupStart);
        return own(RtfDestination::Picture);
    }
    case W::Equation:
        if (!body)
            return skipCurrentGroup();
        m_equationText.clear();
        m_equationDescent = int(std::clamp<std::int64_t>(parameter, 0, 32767));
        m_equationPending = false;
        return own(RtfDestination::EquationText);
    case W::Object:
        if (!body || m_object.active() || state.hadText)
            return skipCurrentGroup();
        m_object.begin(state.groupStart);
        return own(RtfDestination::Object);
    case W::ObjectClass:
        return current == RtfDestination::Object ? own(RtfDestination::ObjectClass) : skipCurrentGroup();
    case W::ObjectName:
        return current == RtfDestination::Object ? own(RtfDestination::ObjectName) : skipCurrentGroup();
    case W::ObjectResult:
        if (current == RtfDestination::Object)
            own(RtfDestination::ObjectResult);
        return;
    case W::Numbering:
        if (!body)
            return skipCurrentGroup();
        m_numberingContinues = false;
        m_numberingBullet = true;
        return own(RtfDestination::Numbering);
    case W::ListTable:
        return body ? own(RtfDestination::ListTable) : skipCurrentGroup();
    case W::ListOverrideTable:
        return body ? own(RtfDestination::ListOverrideTable) : skipCurrentGroup();
    case W::ListPart:
        if (current == RtfDestination::ListTable)
            m_lists.listTableWord(name, false, 0);
        else if (current == RtfDestination::ListOverrideTable)
            m_lists.overrideTableWord(name, false, 0);
        else
            skipCurrentGroup();
        return;
    case W::ListLabel:
        // Read as the paragraph's text; a bullet paragraph drops it again when it ends.
        if (!body)
            return skipCurrentGroup();
        m_body.flushPending();
        m_body.builder().beginLabel();
        state.ownsLabel = true;
        return;
    case W::UnicodeAlternative:
        state.outerDestination = current;
        return own(RtfDestination::UnicodeAlternative);
    case W::Shape:
        if (body)
            m_shapeHasPicture = false;
        return;
    case W::ShapeInstance:
        return body ? own(RtfDestination::ShapeInstance) : skipCurrentGroup();
    case W::ShapePropertyName:
        if (current != RtfDestination::ShapeInstance)
            return skipCurrentGroup();
        m_shapeProperty.clear();
        return own(RtfDestination::ShapePropertyName);
    case W::ShapeValue:
        return current == RtfDestination::ShapeInstance ? own(RtfDestination::ShapeValue)
                                                        : skipCurrentGroup();
    case W::ShapeResult:
        if (m_shapeHasPicture)
            skipCurrentGroup();
        return;
    case W::UnicodeVersion:
        if (m_stack.size() > 2 &&
            m_stack[m_stack.size() - 2].destination == RtfDestination::UnicodeAlternative)
            state.destination = m_stack[m_stack.size() - 2].outerDestination;
        return;
    }
}

void RtfParser::appendEquationText(const QString &text)
{
    // A linear text is a line: a longer one is no equation of ours.
    if (m_equationText.size() + text.size() <= MaxEquationText)
        m_equationText += text;
}

void RtfParser::emitEquation(std::shared_ptr<EmbeddedObject> picture)
{
    m_equationPending = false;
    picture->kind = EmbeddedObject::Kind::Equation;
    picture->equation = m_equationText;
    picture->equationDescentTwips = m_equationDescent;
    // The picture was lowered for readers that show it alone; the equation sits on the line.
    RtfCharProps props = top().chars;
    props.offsetTwips += m_equationDescent;
    m_body.setProps(props);
    m_body.object(std::move(picture));
}

// The paragraph as the list tables (a destination read earlier) say it is.
ParagraphStyle RtfParser::resolvedParagraph()
{
    // The label's group may still be open when damaged data ends the paragraph inside it.
    m_body.flushPending();
    ParagraphStyle style = top().paragraph;
    const int override = top().listOverride;
    if (override <= 0)
        return style;
    const std::optional<bool> bullet = m_lists.isBullet(override, top().listLevel);
    if (bullet) {
        style.bullet = *bullet;
        return style;
    }
    // A list the tables do not define: a label of one mark is a bullet, anything else a
    // number; without a label, a bullet still shows that the paragraph is a list item.
    const QString label = m_body.builder().labelText().trimmed();
    style.bullet = label.isEmpty() || (label.size() == 1 && !label.at(0).isLetterOrNumber());
    return style;
}
