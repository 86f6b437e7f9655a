#include "rtf/reader/rtfdestinations.h"

#include <QtGlobal>

#include <unordered_map>

namespace {

using W = RtfDestinationWord;

// A word listed twice would keep one of its meanings, unspecified which.
std::unordered_map<std::string_view, RtfDestinationWord>
unique(std::initializer_list<std::pair<const std::string_view, RtfDestinationWord>> list)
{
    std::unordered_map<std::string_view, RtfDestinationWord> words;
    for (const auto &entry : list) {
        [[maybe_unused]] const bool added = words.insert(entry).second;
        Q_ASSERT_X(added, "RtfDestinations", "a destination word listed twice");
    }
    return words;
}

const std::unordered_map<std::string_view, RtfDestinationWord> &table()
{
    // Destinations without \* that hold no document text. Groups that start with \* and a word
    // missing here are skipped too, so this list only needs the older, non-ignorable ones and
    // those we read.
    static const std::unordered_map<std::string_view, RtfDestinationWord> words = unique({
        {"fonttbl", W::FontTable},
        {"colortbl", W::ColorTable},
        {"pict", W::Picture},
        {"vgeq", W::Equation},
        {"mmath", W::Math},
        {"object", W::Object},
        {"objclass", W::ObjectClass},
        {"objname", W::ObjectName},
        {"result", W::ObjectResult},
        {"pn", W::Numbering},
        {"upr", W::UnicodeAlternative},
        {"ud", W::UnicodeVersion},

        {"field", W::Transparent},
        {"fldrslt", W::FieldResult},
        {"shppict", W::Transparent},
        {"shp", W::Shape},
        {"shprslt", W::ShapeResult},
        {"shpinst", W::ShapeInstance},
        {"sn", W::ShapePropertyName},
        {"sv", W::ShapeValue},

        {"fldinst", W::FieldInstruction},
        {"nonshppict", W::Skip},
        {"stylesheet", W::Skip},
        {"info", W::Skip},
        {"title", W::Skip},
        {"subject", W::Skip},
        {"author", W::Skip},
        {"operator", W::Skip},
        {"keywords", W::Skip},
        {"comment", W::Skip},
        {"doccomm", W::Skip},
        {"company", W::Skip},
        {"category", W::Skip},
        {"manager", W::Skip},
        {"hlinkbase", W::Skip},
        {"creatim", W::Skip},
        {"revtim", W::Skip},
        {"printim", W::Skip},
        {"buptim", W::Skip},
        {"header", W::Skip},
        {"headerl", W::Skip},
        {"headerr", W::Skip},
        {"headerf", W::Skip},
        {"footer", W::Skip},
        {"footerl", W::Skip},
        {"footerr", W::Skip},
        {"footerf", W::Skip},
        {"footnote", W::Skip},
        {"annotation", W::Skip},
        {"atnid", W::Skip},
        {"atnauthor", W::Skip},
        {"atndate", W::Skip},
        {"atnicn", W::Skip},
        {"atnref", W::Skip},
        {"atntime", W::Skip},
        {"atrfstart", W::Skip},
        {"atrfend", W::Skip},
        {"xe", W::Skip},
        {"tc", W::Skip},
        {"txe", W::Skip},
        {"pntext", W::ListLabel},
        {"listtext", W::ListLabel},
        {"pnseclvl", W::Skip},
        {"pntxta", W::Skip},
        {"pntxtb", W::Skip},
        {"template", W::Skip},
        {"filetbl", W::Skip},
        {"revtbl", W::Skip},
        {"rsidtbl", W::Skip},
        {"listtable", W::ListTable},
        {"listoverridetable", W::ListOverrideTable},
        {"latentstyles", W::Skip},
        {"themedata", W::Skip},
        {"colorschememapping", W::Skip},
        {"datastore", W::Skip},
        {"xmlnstbl", W::Skip},
        {"mmathPr", W::Skip},
        {"generator", W::Skip},
        {"userprops", W::Skip},
        {"docvar", W::Skip},
        {"bkmkstart", W::Skip},
        {"bkmkend", W::Skip},
        {"ftnsep", W::Skip},
        {"ftnsepc", W::Skip},
        {"aftnsep", W::Skip},
        {"aftnsepc", W::Skip},
        {"ftncn", W::Skip},
        {"aftncn", W::Skip},
        {"private", W::Skip},
        {"objdata", W::Skip},
        {"fname", W::Skip},
        {"falt", W::Skip},
        {"panose", W::Skip},
        {"fontemb", W::Skip},
        {"fontfile", W::Skip},
        {"pgdsctbl", W::Skip},
        {"listpicture", W::Skip},
        {"protusertbl", W::Skip},
        {"do", W::Skip},
        {"blipuid", W::Skip},
        {"picprop", W::Skip},
        {"nesttableprops", W::Skip},
        {"htmltag", W::Skip},
        {"mhtmltag", W::Skip},
        {"bkmkpub", W::Skip},
        {"pubauto", W::Skip},
        {"formfield", W::Skip},
        {"datafield", W::Skip},
        {"shptxt", W::Skip},
        {"txbxcontent", W::Skip},
        {"background", W::Skip},
        {"expandedcolortbl", W::Skip},
        {"oldcprops", W::Skip},
        {"oldpprops", W::Skip},
        {"oldtprops", W::Skip},
        {"oldsprops", W::Skip},
        {"wgrffmtfilter", W::Skip},
        {"xmlopen", W::Skip},
        {"xmlclose", W::Skip},
        {"xmlattrname", W::Skip},
        {"xmlattrvalue", W::Skip},
        {"passwordhash", W::Skip},
        {"password", W::Skip},
        {"docinfo", W::Skip},
        {"gridtbl", W::Skip},
        {"listlevel", W::ListPart},
        {"list", W::ListPart},
        {"listoverride", W::ListPart},
        {"listname", W::Skip},
        {"leveltext", W::Skip},
        {"levelnumbers", W::Skip},
    });
    return words;
}

} // namespace

RtfDestinationWord RtfDestinations::lookup(std::string_view word)
{
    const auto &words = table();
    const auto it = words.find(word);
    return it == words.end() ? RtfDestinationWord::None : it->second;
}
