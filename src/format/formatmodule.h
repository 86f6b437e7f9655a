#pragma once

class CharacterFormat;
class FormatMemory;
class FormatToolBar;
class ParagraphFormat;
class Ruler;
class ScriptFormat;
class SelectionMirror;
class ShellHost;
struct EditorState;
struct Platform;

// What the formatting module puts in the main window; all owned by the window.
struct FormatModule
{
    FormatToolBar *bar = nullptr;
    CharacterFormat *characters = nullptr;
    ParagraphFormat *paragraphs = nullptr;
    ScriptFormat *scripts = nullptr;
    SelectionMirror *mirror = nullptr;
};

// Places the second tool-bar row, binds the Format menu, the script items and the formatting
// buttons, ties exo's events to the mirror and registers the start-up steps of the font box,
// the size box and the mirror's guard.
FormatModule installFormat(ShellHost &host, EditorState &state, const Platform &platform, Ruler &ruler,
                           FormatMemory &memory);
