#include "rtf/reader/rtfbodytext.h"

#include "rtf/reader/rtfcolortable.h"
#include "rtf/reader/rtffonttable.h"
#include "rtf/reader/rtfformatting.h"
#include "rtf/rtfcodepages.h"

RtfBodyText::RtfBodyText(RtfCodePages &codePages, const RtfFontTable &fonts, const RtfColorTable &colors)
    : m_codePages(codePages), m_fonts(fonts), m_colors(colors)
{}

void RtfBodyText::setAnsiCodePage(int codePage)
{
    m_ansiCodePage = codePage;
    m_styleValid = false;
}

void RtfBodyText::setDefaultFont(int index)
{
    m_defaultFont = index;
    m_styleValid = false;
}

void RtfBodyText::setProps(const RtfCharProps &props)
{
    m_props = props;
}

void RtfBodyText::refreshStyle()
{
    if (m_styleValid && m_props == m_resolvedFrom)
        return;
    m_resolvedFrom = m_props;
    m_styleValid = true;
    const RtfFont *font = m_props.fontIndex >= 0 ? m_fonts.font(m_props.fontIndex) : nullptr;
    if (!font)
        font = m_fonts.font(m_defaultFont);
    if (!font)
        font = m_fonts.firstFont();
    CharStyle style;
    if (font && !font->name.isEmpty())
        style.fontName = font->name;
    style.symbolFont = font && font->symbol;
    style.halfPoints = RtfFormatting::drawnHalfPoints(m_props);
    style.bold = m_props.bold;
    style.italic = m_props.italic;
    style.underline = m_props.underline;
    style.strikethrough = m_props.strikethrough;
    style.color = m_colors.color(m_props.colorIndex);
    style.offsetTwips = RtfFormatting::drawnOffsetTwips(m_props);
    style.protectedText = m_props.protectedText;
    m_symbolFont = style.symbolFont;
    m_codePage = font && font->codePage > 0 ? font->codePage : m_ansiCodePage;
    m_doubleByte = !m_symbolFont && RtfCodePages::isDoubleByte(m_codePage);
    m_builder.setCharStyle(style);
}

void RtfBodyText::bytes(const char *data, qsizetype length)
{
    if (m_highSurrogate != 0)
        flushPending();
    refreshStyle();
    QString &out = m_builder.runText();
    if (!m_doubleByte) {
        // One character per byte: written straight into the run's text. Every code page we
        // read keeps ASCII where it is.
        const qsizetype start = out.size();
        out.resize(start + length);
        QChar *to = out.data() + start;
        for (qsizetype i = 0; i < length; ++i) {
            const auto byte = static_cast<unsigned char>(data[i]);
            if (byte < 0x20 && byte != '\t')
                continue; // control characters are not text in any writer's output
            *to++ = byte < 0x80 || m_symbolFont ? QChar(byte) : m_codePages.decode(m_codePage, byte);
        }
        out.truncate(to - out.constData());
        return;
    }
    for (qsizetype i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x20 && byte != '\t')
            continue; // control characters are not text in any writer's output
        if (m_symbolFont) {
            out.append(QChar(byte));
        } else if (m_doubleByte && (m_leadByte >= 0 || RtfCodePages::isLeadByte(m_codePage, byte))) {
            if (m_leadByte < 0) {
                m_leadByte = byte;
            } else {
                out.append(m_codePages.decodePair(m_codePage, static_cast<unsigned char>(m_leadByte), byte));
                m_leadByte = -1;
            }
        } else {
            out.append(m_codePages.decode(m_codePage, byte));
        }
    }
}

void RtfBodyText::flushPending()
{
    if (m_leadByte >= 0) {
        m_leadByte = -1;
        m_builder.runText().append(QLatin1Char('?'));
    }
    if (m_highSurrogate != 0) {
        // The first half of a pair whose second half never came.
        m_highSurrogate = 0;
        replacement();
    }
}

void RtfBodyText::character(QChar c)
{
    flushPending();
    refreshStyle();
    m_builder.appendChar(c);
}

void RtfBodyText::unicode(std::int64_t value)
{
    const char16_t high = m_highSurrogate;
    m_highSurrogate = 0;
    if (value >= 0 && value <= 0xFFFF && QChar::isLowSurrogate(char16_t(value)) && high != 0) {
        // The pair stays two UTF-16 units in the text: one character, one position.
        const QChar pair[2] = {QChar(high), QChar(char16_t(value))};
        special(QStringView(pair, 2));
        return;
    }
    if (high != 0)
        replacement();
    flushPending();
    refreshStyle();
    if (value < 0 || value > 0xFFFF) {
        m_builder.appendChar(QLatin1Char('?'));
        return;
    }
    const auto code = char16_t(value);
    if (code < 0x20 && code != '\t')
        return; // control characters are not text
    if (QChar::isHighSurrogate(code)) {
        m_highSurrogate = code; // its low half follows, after the fallback of this one
        return;
    }
    if (QChar::isLowSurrogate(code)) {
        replacement();
        return;
    }
    if (m_symbolFont && code >= 0xF000 && code <= 0xF0FF) {
        // The font's private-use copy of a byte; a control byte is no text here either.
        const auto byte = char16_t(code - 0xF000);
        if (byte >= 0x20 || byte == '\t')
            m_builder.appendChar(QChar(byte));
        return;
    }
    if (m_symbolFont && code < 0x100) {
        m_builder.appendChar(QChar(code));
        return;
    }
    const QChar c(code);
    special(QStringView(&c, 1));
}

void RtfBodyText::replacement()
{
    // U+FFFD as \u65533 would give it: a Unicode character, also under a symbol font.
    const QChar c = QChar::ReplacementCharacter;
    special(QStringView(&c, 1));
}

void RtfBodyText::special(QStringView c)
{
    flushPending();
    refreshStyle();
    if (!m_symbolFont) {
        m_builder.runText().append(c);
        return;
    }
    // A real Unicode character under a symbol font is not one of the font's bytes: it gets a
    // run of its own that is not marked symbol-encoded.
    CharStyle plain = m_builder.charStyle();
    plain.symbolFont = false;
    m_builder.setCharStyle(plain);
    m_builder.runText().append(c);
    m_styleValid = false;
}

void RtfBodyText::object(std::shared_ptr<const EmbeddedObject> object)
{
    flushPending();
    refreshStyle();
    m_builder.appendObject(std::move(object));
}
