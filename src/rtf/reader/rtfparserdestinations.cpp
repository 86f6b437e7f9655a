#include "rtf/cp1252.h"
#include "rtf/reader/rtfeqfield.h"
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
        return;
    case W::Transparent:
        if (name == "field")
            m_fieldEquation = false;
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
        const bool forMath = current == RtfDestination::MathPicture;
        if ((!body && current != RtfDestination::ObjectResult && !framed && !forMath) || state.hadText)
            return skipCurrentGroup();
        m_pictureForMath = forMath;
        m_pictureForObject = current == RtfDestination::ObjectResult;
        m_pictureForShape = framed;
        m_picture.begin(state.groupStart);
        return own(RtfDestination::Picture);
    }
    case W::Equation:
        // Ours: before the picture of an equation, or inside its Office Math zone.
        if (!body && current != RtfDestination::Math)
            return skipCurrentGroup();
        m_equationText.clear();
        m_equationDescent = int(std::clamp<std::int64_t>(parameter, 0, 32767));
        m_equationPending = false;
        return own(RtfDestination::EquationText);
    case W::Math:
        if (!body || m_math.active())
            return skipCurrentGroup();
        m_math.begin(m_stack.size());
        m_equationText.clear();
        m_equationDescent = 0;
        m_equationPending = false;
        return own(RtfDestination::Math);
    case W::FieldInstruction:
        if (!body)
            return skipCurrentGroup();
        m_fieldInstruction.clear();
        return own(RtfDestination::FieldInstruction);
    case W::FieldResult:
        // The field became an equation: its result is what other readers show instead.
        if (m_fieldEquation) {
            m_fieldEquation = false;
            skipCurrentGroup();
        }
        return;
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

// Inside an Office Math zone every "\m…" word is an OMML element or one of its properties;
// the character formatting Word puts on math runs is the text's, not the equation's.
void RtfParser::mathWord(const RtfToken &token)
{
    const std::string_view word = token.word;
    const bool opens = m_wordOpensGroup;
    const std::optional<int> parameter =
        token.hasParameter ? std::optional<int>(int(std::clamp<std::int64_t>(token.parameter, -32768, 65535)))
                           : std::nullopt;
    if (word == "u") {
        if (token.hasParameter)
            unicodeChar(token.parameter);
        return;
    }
    if (word == "uc") {
        top().unicodeSkip = int(std::clamp<std::int64_t>(token.hasParameter ? token.parameter : 1, 0, 255));
        return;
    }
    if (word == "vgeq") {
        destinationWord(RtfDestinationWord::Equation, word, token.hasParameter ? token.parameter : 0);
        return;
    }
    // LibreOffice writes a zone it has no elements for as its picture alone, without \mmathPict.
    if (word == "mmathPict" || word == "shppict") {
        if (opens) {
            top().destination = RtfDestination::MathPicture;
            top().ownsDestination = true;
        }
        return;
    }
    if (word.size() > 1 && word.front() == 'm') {
        m_math.word(word.substr(1), opens, parameter, m_stack.size());
        return;
    }
    // A destination of another kind (a bookmark, a picture without \mmathPict) holds no math.
    if (opens && m_stack.size() > 2) {
        const RtfDestinationWord destination = RtfDestinations::lookup(word);
        if (m_ignorable ||
            (destination != RtfDestinationWord::None && destination != RtfDestinationWord::Transparent))
            skipCurrentGroup();
    }
}

void RtfParser::finishMath(qsizetype groupStart, qsizetype groupEnd, bool truncated)
{
    RtfMathHandler::Zone zone = m_math.finish();
    const bool typedHere = m_equationPending;
    m_equationPending = false;
    if (zone.root.children.isEmpty() && !typedHere) {
        if (zone.picture) // a zone of a picture only shows it, never nothing
            emitObject(std::move(zone.picture));
        return;
    }
    std::shared_ptr<EmbeddedObject> object = zone.picture ? zone.picture : std::make_shared<EmbeddedObject>();
    object->kind = EmbeddedObject::Kind::Equation;
    object->omml = std::make_shared<const OmmlElement>(std::move(zone.root));
    if (typedHere) {
        object->equation = m_equationText;
        object->equationDescentTwips = m_equationDescent;
    }
    // A zone whose elements have no equation here is kept as it came, shown by its picture.
    if (!truncated) {
        object->verbatimRtf = m_source.mid(groupStart, groupEnd - groupStart);
        object->verbatimUnicodeSkip = top().unicodeSkip;
    }
    emitObject(std::move(object));
}

void RtfParser::finishFieldInstruction()
{
    std::optional<OmmlElement> math = RtfEqField::parse(m_fieldInstruction);
    m_fieldInstruction.clear();
    if (!math)
        return; // any other field shows its result
    auto object = std::make_shared<EmbeddedObject>();
    object->kind = EmbeddedObject::Kind::Equation;
    object->omml = std::make_shared<const OmmlElement>(std::move(*math));
    m_fieldEquation = true;
    emitObject(std::move(object));
}

// Text, a hex byte or a \u character goes where its group's destination says.
void RtfParser::text(const char *bytes, qsizetype length)
{
    switch (top().destination) {
    case RtfDestination::Body:
        top().hadText = true;
        m_equationPending = false; // text between them: the picture is no longer the equation's
        m_body.setProps(top().chars);
        m_body.bytes(bytes, length);
        break;
    case RtfDestination::FontTable:
        m_fonts.text(bytes, length);
        break;
    case RtfDestination::ColorTable:
        m_colors.text(bytes, length);
        break;
    case RtfDestination::Picture:
        m_picture.hexText(bytes, length);
        break;
    case RtfDestination::ObjectClass:
        m_object.classNameText(bytes, length);
        break;
    case RtfDestination::ObjectName:
        m_object.nameText(bytes, length);
        break;
    case RtfDestination::ShapePropertyName:
        if (m_shapeProperty.size() < 64)
            m_shapeProperty.append(bytes, length);
        break;
    case RtfDestination::EquationText:
        appendEquationText(Cp1252::decode(QByteArray(bytes, length)));
        break;
    case RtfDestination::Math:
        m_math.text(Cp1252::decode(QByteArray(bytes, length)));
        break;
    case RtfDestination::FieldInstruction:
        if (m_fieldInstruction.size() < MaxFieldInstruction)
            m_fieldInstruction += Cp1252::decode(QByteArray(bytes, length));
        break;
    default:
        break;
    }
}

void RtfParser::hexByte(unsigned char byte)
{
    switch (top().destination) {
    case RtfDestination::Body: {
        const char c = char(byte);
        top().hadText = true;
        m_body.setProps(top().chars);
        m_body.bytes(&c, 1);
        break;
    }
    case RtfDestination::FontTable:
        m_fonts.byte(byte);
        break;
    case RtfDestination::EquationText:
        appendEquationText(Cp1252::decode(QByteArray(1, char(byte))));
        break;
    case RtfDestination::Math:
        m_math.text(Cp1252::decode(QByteArray(1, char(byte))));
        break;
    case RtfDestination::FieldInstruction:
        if (m_fieldInstruction.size() < MaxFieldInstruction)
            m_fieldInstruction += Cp1252::decode(QByteArray(1, char(byte)));
        break;
    default:
        break;
    }
}

void RtfParser::unicodeChar(std::int64_t value)
{
    m_fallbackRemaining = top().unicodeSkip;
    if (top().destination == RtfDestination::FontTable) {
        m_fonts.unicode(value < 0 ? value + 65536 : value);
        return;
    }
    const QString character(QChar(char16_t(value < 0 ? value + 65536 : value)));
    if (top().destination == RtfDestination::EquationText) {
        appendEquationText(character);
        return;
    }
    if (top().destination == RtfDestination::Math) {
        m_math.text(character);
        return;
    }
    if (top().destination == RtfDestination::FieldInstruction) {
        if (m_fieldInstruction.size() < MaxFieldInstruction)
            m_fieldInstruction += character;
        return;
    }
    if (!inBody())
        return;
    top().hadText = true;
    m_equationPending = false;
    m_body.setProps(top().chars);
    m_body.unicode(value < 0 ? value + 65536 : value); // a signed 16-bit number: -4064 is U+F020
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
