#pragma once

#include "rtf/reader/rtfdocumentbuilder.h"
#include "rtf/reader/rtfgroupstate.h"
#include "rtf/richdocument.h"

#include <QByteArray>
#include <QStringView>

#include <cstdint>
#include <memory>

class RtfCodePages;
class RtfColorTable;
class RtfFontTable;

// Turns the body's bytes and characters into document text: resolves character properties
// to styles, decodes bytes in the font's code page (symbol fonts keep their bytes, East
// Asian fonts pair their bytes), and feeds the document builder.
class RtfBodyText
{
public:
    RtfBodyText(RtfCodePages &codePages, const RtfFontTable &fonts, const RtfColorTable &colors);

    void setAnsiCodePage(int codePage);
    void setDefaultFont(int index);
    // The character properties of what follows.
    void setProps(const RtfCharProps &props);

    void bytes(const char *data, qsizetype length);
    // Tabs, line breaks and other characters that mean the same in every font.
    void character(QChar c);
    // A Unicode character named by a control word (\emdash …), or a surrogate pair.
    void special(QChar c) { special(QStringView(&c, 1)); }
    void special(QStringView c);
    // A character given by \uN (N already made unsigned): symbol fonts' private-use range
    // maps back to bytes; a high and a low surrogate make one character, a half alone U+FFFD.
    void unicode(std::int64_t value);
    void object(std::shared_ptr<const EmbeddedObject> object);
    // Something other than the awaited second half came: a lead byte still waiting for its
    // trail byte stands for one unknown character, a high surrogate for U+FFFD.
    void flushPending();

    RtfDocumentBuilder &builder() { return m_builder; }

private:
    void refreshStyle();
    // A character that cannot be decoded: U+FFFD.
    void replacement();

    RtfCodePages &m_codePages;
    const RtfFontTable &m_fonts;
    const RtfColorTable &m_colors;
    RtfDocumentBuilder m_builder;

    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    RtfCharProps m_props;
    RtfCharProps m_resolvedFrom;
    bool m_styleValid = false;
    int m_codePage = 1252;
    bool m_symbolFont = false;
    bool m_doubleByte = false;
    int m_leadByte = -1;
    char16_t m_highSurrogate = 0;
};
