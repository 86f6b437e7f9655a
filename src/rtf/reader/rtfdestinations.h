#pragma once

#include <string_view>

// Where the text of a group goes. A group inherits its parent's destination until a
// destination control word changes it.
enum class RtfDestination {
    Body,               // document text
    FontTable,          // \fonttbl
    ColorTable,         // \colortbl
    Picture,            // \pict
    Object,             // \object: kept verbatim, its \result shows it
    ObjectClass,        // \objclass inside an object
    ObjectName,         // \objname inside an object: the file an object of ours is linked to
    ObjectResult,       // \result of an object: pictures only, text is dropped
    Numbering,          // \pn: marks its paragraph as a bulleted or a numbered one
    ListTable,          // \listtable: which list levels are bullets
    ListOverrideTable,  // \listoverridetable: \lsN to the list it uses
    UnicodeAlternative, // \upr: only its \ud part is read
    ShapeInstance,      // \shpinst: a shape's properties; text is dropped
    ShapePropertyName,  // \sn: the name of the property whose \sv follows
    ShapeValue,         // \sv: a property's value; the picture of "pib" is the shape's own
    EquationText,       // \*\vgeq: the linear text of the equation whose picture follows
    Math,               // \mmath: an Office Math zone, its groups read as OMML elements
    MathPicture,        // \mmathPict inside a zone: its picture, for readers without Office Math
    FieldInstruction,   // \fldinst: kept when it is an EQ field
    // Not a state: the group is skipped to its closing brace.
    Skip,
};

// What a destination control word makes of its group.
enum class RtfDestinationWord {
    None,        // not a destination word
    Transparent, // a group marker whose content is read as before (\field, \fldrslt, \shppict …)
    Skip,
    FontTable,
    ColorTable,
    Picture,
    Object,
    ObjectClass,
    ObjectName,
    ObjectResult,
    Numbering,
    ListTable,
    ListOverrideTable,
    ListPart,  // \list, \listlevel, \listoverride: groups of the list tables
    ListLabel, // \listtext, \pntext: the label as drawn, read as text of its paragraph
    UnicodeAlternative,
    UnicodeVersion,    // \ud, the part of \upr that is read
    Shape,             // \shp: a drawing object, read for its picture
    ShapeInstance,     // \shpinst
    ShapePropertyName, // \sn
    ShapeValue,        // \sv
    ShapeResult,       // \shprslt: what a reader without shapes shows instead
    Equation,          // \vgeq: our equation's linear text, for the picture after it
    Math,              // \mmath: an Office Math zone
    FieldInstruction,  // \fldinst: a field's instruction
    FieldResult,       // \fldrslt: a field's result, read as text unless the field became an equation
};

namespace RtfDestinations {
RtfDestinationWord lookup(std::string_view word);
}
