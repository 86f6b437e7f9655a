#pragma once

#include "rtf/reader/rtfbodytext.h"
#include "rtf/reader/rtfcolortable.h"
#include "rtf/reader/rtffonttable.h"
#include "rtf/reader/rtfgroupstate.h"
#include "rtf/reader/rtfimagedecoder.h"
#include "rtf/reader/rtflisttable.h"
#include "rtf/reader/rtfmathhandler.h"
#include "rtf/reader/rtfobjecthandler.h"
#include "rtf/reader/rtfpicturehandler.h"
#include "rtf/reader/rtftokenizer.h"
#include "rtf/richdocument.h"
#include "rtf/rtfcodepages.h"

#include <QByteArray>

#include <string_view>
#include <vector>

// One reading of one RTF text: walks the tokens with an explicit stack of group states (no
// recursion), hands destination groups to their handlers and the body to the builder.
class RtfParser
{
public:
    RtfParser(const QByteArray &source, qsizetype start);
    RichDocument parse();

    // Deeper groups are skipped whole (their braces still counted), so hostile nesting costs
    // neither stack nor memory.
    static constexpr std::size_t MaxDepth = 1000;
    static constexpr qsizetype MaxEquationText = 100000;
    static constexpr qsizetype MaxFieldInstruction = 4096;

private:
    void handleToken(const RtfToken &token);
    void openGroup(const RtfToken &token);
    void closeGroup(qsizetype end, bool truncated);
    void skipCurrentGroup();
    void controlWord(const RtfToken &token);
    void destinationWord(RtfDestinationWord word, std::string_view name, std::int64_t parameter);
    void appendEquationText(const QString &text);
    void emitEquation(std::shared_ptr<EmbeddedObject> picture);
    void mathWord(const RtfToken &token);
    void finishMath(qsizetype groupStart, qsizetype groupEnd, bool truncated);
    void finishFieldInstruction();
    void documentWord(RtfKeyword keyword, const RtfToken &token);
    void bodyWord(RtfKeyword keyword, const RtfToken &token);
    void controlSymbol(char symbol);
    void text(const char *bytes, qsizetype length);
    void hexByte(unsigned char byte);
    void unicodeChar(std::int64_t value);

    void emitChar(QChar c);
    void emitSpecial(QChar c);
    void emitObject(std::shared_ptr<const EmbeddedObject> object);
    // The paragraph's properties with its list decided: a bullet is the control's attribute,
    // a number stays the text of its label.
    ParagraphStyle resolvedParagraph();

    RtfGroupState &top() { return m_stack.back(); }
    bool inBody() const { return m_stack.back().destination == RtfDestination::Body; }

    const QByteArray &m_source;
    RtfTokenizer m_tokenizer;
    std::vector<RtfGroupState> m_stack;
    std::int64_t m_skipDepth = 0;
    bool m_finished = false;
    bool m_groupFresh = false; // no token yet in the group opened last
    bool m_ignorable = false;  // "\*" just seen
    int m_fallbackRemaining = 0;

    RtfCodePages m_codePages;
    RtfFontTable m_fonts{m_codePages};
    RtfColorTable m_colors;
    RtfImageDecoder m_images;
    RtfPictureHandler m_picture;
    bool m_pictureForObject = false;
    // Shapes (\shp): a picture frame's picture is its "pib" property; once read, the shape's
    // \shprslt (the same picture for older readers) is skipped.
    QByteArray m_shapeProperty;
    bool m_pictureForShape = false;
    bool m_shapeHasPicture = false;
    RtfObjectHandler m_object;
    // An equation of ours: its linear text comes in an ignorable group just before its picture,
    // which other readers show; the picture is lowered by the equation's descent (twips).
    QString m_equationText;
    int m_equationDescent = 0;
    bool m_equationPending = false;
    // Office Math zones (\mmath): their elements, and the picture other readers show instead.
    RtfMathHandler m_math;
    bool m_pictureForMath = false;
    bool m_wordOpensGroup = false; // the control word being handled is its group's first token
    // A field's instruction; an EQ field that became an equation drops its result.
    QString m_fieldInstruction;
    bool m_fieldEquation = false;
    bool m_numberingContinues = false;
    bool m_numberingBullet = true;
    RtfListTable m_lists;
    RtfBodyText m_body{m_codePages, m_fonts, m_colors};

    int m_ansiCodePage = 1252;
    bool m_explicitCodePage = false;
    bool m_hasCharFormatting = false;
};
