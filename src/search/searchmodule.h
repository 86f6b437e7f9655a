#pragma once

class SearchCommands;
class ShellHost;
struct EditorState;
struct Platform;

// Binds find and replace: the tools menu (`rechercher`, `contrech`, `remplace`) and the tool-bar
// button `Command13`. The commands live as long as exo.
SearchCommands *installSearch(ShellHost &host, EditorState &state, const Platform &platform);
