#include "rtf/reader/rtfparser.h"

#include "rtf/reader/rtfformatting.h"

#include <algorithm>

namespace {

constexpr char16_t LineSeparator = 0x2028;

} // namespace

RtfParser::RtfParser(const QByteArray &source, qsizetype start) : m_source(source), m_tokenizer(source, start)
{
    m_stack.reserve(64);
    m_stack.emplace_back(); // below the outer group: closing down to it ends the document
}

RichDocument RtfParser::parse()
{
    while (!m_finished) {
        const RtfToken token = m_tokenizer.next();
        if (token.type == RtfToken::Type::End)
            break;
        handleToken(token);
    }
    // Data that ends inside groups closes them all: what was read stays.
    while (!m_finished && m_stack.size() > 1)
        closeGroup(m_source.size(), true);
    m_body.flushPending();
    RichDocument document = m_body.builder().finish(resolvedParagraph());
    document.hasCharFormatting = m_hasCharFormatting;
    return document;
}

void RtfParser::handleToken(const RtfToken &token)
{
    using T = RtfToken::Type;
    if (m_skipDepth > 0) {
        if (token.type == T::GroupStart)
            ++m_skipDepth;
        else if (token.type == T::GroupEnd)
            --m_skipDepth;
        return;
    }
    if (token.type == T::GroupStart || token.type == T::GroupEnd) {
        m_fallbackRemaining = 0; // a \u fallback never crosses a group boundary
        m_body.flushPending();
    }
    const bool fresh = m_groupFresh;
    m_groupFresh = false;
    const bool ignorable = m_ignorable;
    m_ignorable = false;
    // Only the \ud part of a \upr group is read; its other part repeats the text in 8 bits.
    if (fresh && m_stack.size() > 2 &&
        m_stack[m_stack.size() - 2].destination == RtfDestination::UnicodeAlternative) {
        const bool isStar = token.type == T::ControlSymbol && token.symbol == '*';
        const bool isUd = token.type == T::ControlWord && token.word == "ud";
        if (isStar) {
            m_groupFresh = true;
            m_ignorable = true;
            return;
        }
        if (!isUd) {
            skipCurrentGroup();
            handleToken(token);
            return;
        }
    }
    if (m_fallbackRemaining > 0 && token.type != T::GroupStart && token.type != T::GroupEnd) {
        if (token.type == T::Text) {
            const qsizetype skipped = std::min<qsizetype>(m_fallbackRemaining, token.end - token.begin);
            m_fallbackRemaining -= int(skipped);
            if (token.begin + skipped < token.end)
                text(m_tokenizer.data() + token.begin + skipped, token.end - token.begin - skipped);
        } else {
            --m_fallbackRemaining;
        }
        return;
    }
    switch (token.type) {
    case T::GroupStart:
        openGroup(token);
        break;
    case T::GroupEnd:
        closeGroup(token.end, false);
        break;
    case T::ControlWord:
        m_ignorable = ignorable;
        m_wordOpensGroup = fresh;
        controlWord(token);
        m_ignorable = false;
        break;
    case T::ControlSymbol:
        if (token.symbol == '*') {
            m_ignorable = true;
            m_groupFresh = fresh;
        } else {
            controlSymbol(token.symbol);
        }
        break;
    case T::HexByte:
        hexByte(token.byte);
        break;
    case T::Text:
        text(m_tokenizer.data() + token.begin, token.end - token.begin);
        break;
    case T::Binary:
        if (top().destination == RtfDestination::Picture)
            m_picture.binary(m_tokenizer.data() + token.begin, token.end - token.begin);
        break;
    case T::End:
        break;
    }
}

void RtfParser::openGroup(const RtfToken &token)
{
    if (m_stack.size() >= MaxDepth) {
        m_skipDepth = 1;
        return;
    }
    RtfGroupState state = top();
    state.groupStart = token.begin;
    state.ownsDestination = false;
    state.ownsLabel = false;
    state.hadText = false;
    m_stack.push_back(std::move(state));
    m_groupFresh = true;
}

void RtfParser::skipCurrentGroup()
{
    // The group's own brace is already read: skipping ends at its matching "}".
    if (m_stack.size() > 1)
        m_stack.pop_back();
    if (m_math.active())
        m_math.closeTo(m_stack.size());
    m_skipDepth = 1;
    m_groupFresh = false;
}

void RtfParser::closeGroup(qsizetype end, bool truncated)
{
    if (m_stack.size() <= 1)
        return;
    RtfGroupState closing = std::move(m_stack.back());
    m_stack.pop_back();
    if (m_math.active())
        m_math.closeTo(m_stack.size());
    m_stack.back().hadText = m_stack.back().hadText || closing.hadText;
    if (m_stack.size() == 1) {
        // The outer group's end: its paragraph properties stay for the last paragraph.
        m_stack.back().paragraph = closing.paragraph;
        m_stack.back().listOverride = closing.listOverride;
        m_stack.back().listLevel = closing.listLevel;
        m_finished = true;
    }
    switch (closing.destination) {
    case RtfDestination::FontTable:
        m_fonts.groupEnd();
        break;
    case RtfDestination::Picture:
        if (closing.ownsDestination) {
            auto picture = m_picture.finish(m_source, end, m_images);
            picture->verbatimUnicodeSkip = top().unicodeSkip;
            // A verbatim group cut short by the end of the data would be written back unbalanced.
            if (truncated && picture->kind == EmbeddedObject::Kind::Verbatim)
                break;
            if (m_pictureForMath) {
                m_math.picture(std::move(picture));
            } else if (m_pictureForObject) {
                m_object.resultPicture(std::move(picture));
            } else if (m_pictureForShape) {
                emitObject(std::move(picture));
                m_shapeHasPicture = true;
            } else if (top().destination == RtfDestination::Body && m_equationPending &&
                       picture->kind == EmbeddedObject::Kind::Picture) {
                emitEquation(std::move(picture));
            } else if (top().destination == RtfDestination::Body) {
                emitObject(std::move(picture));
            }
        }
        break;
    case RtfDestination::EquationText:
        if (closing.ownsDestination && !truncated)
            m_equationPending = !m_equationText.trimmed().isEmpty();
        break;
    case RtfDestination::Math:
        // A zone cut short by the end of the data still shows what it holds.
        if (closing.ownsDestination)
            finishMath(closing.groupStart, end, truncated);
        break;
    case RtfDestination::FieldInstruction:
        if (closing.ownsDestination && !truncated)
            finishFieldInstruction();
        break;
    case RtfDestination::Object:
        if (closing.ownsDestination) {
            auto object = m_object.finish(m_source, end, m_images);
            object->verbatimUnicodeSkip = top().unicodeSkip;
            if (!truncated && top().destination == RtfDestination::Body)
                emitObject(std::move(object));
        }
        break;
    case RtfDestination::Numbering:
        if (closing.ownsDestination && top().destination == RtfDestination::Body)
            top().paragraph.bullet = !m_numberingContinues && m_numberingBullet;
        break;
    default:
        break;
    }
    if (closing.ownsLabel)
        m_body.builder().endLabel();
}

void RtfParser::controlWord(const RtfToken &token)
{
    if (top().destination == RtfDestination::Math) {
        mathWord(token);
        return;
    }
    // The two tables share no word, and most words are formatting ones: the destination table
    // is only asked about the others.
    const RtfKeyword keyword = RtfKeywords::lookup(token.word);
    const RtfDestinationWord destination =
        keyword == RtfKeyword::Unknown ? RtfDestinations::lookup(token.word) : RtfDestinationWord::None;
    // A destination word in the outer group itself is a writer's mistake: skipping the group
    // would skip the whole document.
    if (destination != RtfDestinationWord::None && m_stack.size() > 2) {
        destinationWord(destination, token.word, token.hasParameter ? token.parameter : 0);
        return;
    }
    if (m_ignorable && m_stack.size() > 2) {
        skipCurrentGroup(); // "{\*\unknown …}": a destination this reader does not know
        return;
    }
    if (keyword == RtfKeyword::Unicode) {
        if (token.hasParameter)
            unicodeChar(token.parameter);
        return;
    }
    if (keyword == RtfKeyword::UnicodeSkip) {
        top().unicodeSkip = int(std::clamp<std::int64_t>(token.hasParameter ? token.parameter : 1, 0, 255));
        return;
    }
    m_body.flushPending();
    const int parameter = int(std::clamp<std::int64_t>(token.parameter, INT_MIN, INT_MAX));
    switch (top().destination) {
    case RtfDestination::FontTable:
        m_fonts.controlWord(token.word, token.hasParameter, parameter);
        return;
    case RtfDestination::ColorTable:
        m_colors.controlWord(token.word, token.hasParameter, parameter);
        return;
    case RtfDestination::Picture:
        m_picture.controlWord(keyword, token.word, token.hasParameter, token.parameter);
        return;
    case RtfDestination::Object:
        m_object.controlWord(keyword, token.parameter);
        return;
    case RtfDestination::Numbering:
        if (keyword == RtfKeyword::NumberingContinue)
            m_numberingContinues = true;
        else if (keyword == RtfKeyword::NumberingBullet || keyword == RtfKeyword::NumberingNumbered)
            m_numberingBullet = keyword == RtfKeyword::NumberingBullet;
        return;
    case RtfDestination::ListTable:
        m_lists.listTableWord(token.word, token.hasParameter, parameter);
        return;
    case RtfDestination::ListOverrideTable:
        m_lists.overrideTableWord(token.word, token.hasParameter, parameter);
        return;
    default:
        break;
    }
    documentWord(keyword, token);
}

void RtfParser::documentWord(RtfKeyword keyword, const RtfToken &token)
{
    const std::int64_t parameter = token.parameter;
    switch (keyword) {
    case RtfKeyword::AnsiCodePage:
        if (token.hasParameter && parameter > 0 && parameter < 100000) {
            m_ansiCodePage = int(parameter);
            m_explicitCodePage = true;
            m_fonts.setDefaultCodePage(m_ansiCodePage);
            m_body.setAnsiCodePage(m_ansiCodePage);
        }
        return;
    case RtfKeyword::Mac:
    case RtfKeyword::Pc:
    case RtfKeyword::Pca:
        if (!m_explicitCodePage) {
            m_ansiCodePage = keyword == RtfKeyword::Mac ? 10000 : keyword == RtfKeyword::Pc ? 437 : 850;
            m_fonts.setDefaultCodePage(m_ansiCodePage);
            m_body.setAnsiCodePage(m_ansiCodePage);
        }
        return;
    case RtfKeyword::DefaultFont:
        m_body.setDefaultFont(int(std::clamp<std::int64_t>(parameter, 0, 1 << 20)));
        return;
    default:
        break;
    }
    // An unknown font number keeps the current font (the table may also come later).
    if (keyword == RtfKeyword::Font && m_fonts.seen() &&
        !m_fonts.font(int(std::clamp<std::int64_t>(parameter, 0, 1 << 20))))
        return;
    const RtfFormatting::Effect effect = RtfFormatting::apply(keyword, token.hasParameter, parameter, top());
    if (effect == RtfFormatting::Effect::Character && inBody())
        m_hasCharFormatting = true;
    if (effect == RtfFormatting::Effect::None)
        bodyWord(keyword, token);
}

void RtfParser::bodyWord(RtfKeyword keyword, const RtfToken &)
{
    if (!inBody())
        return;
    switch (keyword) {
    case RtfKeyword::Par:
        m_body.builder().endParagraph(resolvedParagraph());
        break;
    case RtfKeyword::Break:
        // Page, section and column breaks end a paragraph only where one is open: writers put
        // them after a \par ("\par \page"), and word processors show no empty line there.
        if (!m_body.builder().paragraphIsEmpty())
            m_body.builder().endParagraph(resolvedParagraph());
        break;
    case RtfKeyword::Line:
        emitChar(QChar(LineSeparator));
        break;
    case RtfKeyword::Tab:
        emitChar(QLatin1Char('\t'));
        break;
    case RtfKeyword::Cell:
    case RtfKeyword::NestCell:
        // A tab like any other, in the style of the text around it; a row's last one goes.
        emitChar(QLatin1Char('\t'));
        m_body.builder().endCell();
        break;
    case RtfKeyword::Row:
    case RtfKeyword::NestRow:
        m_body.builder().endRow(resolvedParagraph());
        break;
    case RtfKeyword::Space:
        emitChar(QLatin1Char(' '));
        break;
    default:
        if (const char16_t c = RtfKeywords::character(keyword))
            emitSpecial(QChar(c));
        break;
    }
}

void RtfParser::controlSymbol(char symbol)
{
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
        text(&symbol, 1);
        return;
    }
    m_body.flushPending();
    if (!inBody())
        return;
    switch (symbol) {
    case '~':
        emitChar(QChar(0x00A0));
        break;
    case '-':
        emitChar(QChar(0x00AD));
        break;
    case '_':
        emitChar(QLatin1Char('-'));
        break;
    case '\t':
        emitChar(QLatin1Char('\t'));
        break;
    default:
        break; // \: \| and unknown symbols
    }
}

void RtfParser::emitChar(QChar c)
{
    top().hadText = true;
    m_equationPending = false;
    m_body.setProps(top().chars);
    m_body.character(c);
}

void RtfParser::emitSpecial(QChar c)
{
    top().hadText = true;
    m_equationPending = false;
    m_body.setProps(top().chars);
    m_body.special(c);
}

void RtfParser::emitObject(std::shared_ptr<const EmbeddedObject> object)
{
    m_body.setProps(top().chars);
    m_body.object(std::move(object));
}
