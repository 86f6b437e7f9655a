#pragma once

#include <array>

class FormatToolBar;
class QAction;
class ShellHost;

// The formatting controls the mirror writes and the commands read: the shell's picture
// buttons and menu items (by their given names) and the second tool-bar row. Arrays are
// indexed as their names: `Check1[1]`..`Check1[3]`, `optcoul[0]`..`optcoul[3]`.
struct FormatControls
{
    std::array<QAction *, 4> Check1{};                   // [0] unused
    std::array<QAction *, 4> boldItalicUnderlineItems{}; // q21, q22, q23 at 1..3
    std::array<QAction *, 4> optcoul{};
    std::array<QAction *, 3> Option3{};
    std::array<QAction *, 3> alignmentItems{}; // q24, q25, q26 for Option3[0..2]
    QAction *bull = nullptr;
    QAction *bull2 = nullptr;
    QAction *protection = nullptr;
    QAction *check2 = nullptr;
    QAction *Command12 = nullptr;
    FormatToolBar *bar = nullptr;

    static FormatControls fromHost(ShellHost &host, FormatToolBar &bar);
};
