#pragma once

#include <QString>

#include <functional>
#include <memory>

class PersonalDictionary;
class SettingsStore;
class ShellHost;
class SpellChecker;
class SpellContextMenu;
class SpellEngine;

// Spell checking as the main window wires it: the "Op&tions" item `checkSpelling`, the checker
// on exo and its context menu. Everything has the lifetime of exo.
struct SpellModule
{
    SpellEngine *engine = nullptr;   // null when no French dictionary was found
    SpellChecker *checker = nullptr; // null likewise
    PersonalDictionary *dictionary = nullptr;
    SpellContextMenu *contextMenu = nullptr;
};

// What the module is built from; the defaults are the program's, a test replaces them.
struct SpellServices
{
    // The engine to check with, or null when there is no dictionary.
    std::function<std::unique_ptr<SpellEngine>()> createEngine;
    QString personalDictionaryPath;
    // Where the item's state is kept between runs (not in TEMPO.SPC, whose layout is fixed).
    SettingsStore *settings = nullptr;

    static SpellServices standard(SettingsStore *settings);
};

namespace SpellSettings {
inline constexpr char kCheckWhileTyping[] = "spelling/checkWhileTyping";
}

SpellModule installSpelling(ShellHost &host, const SpellServices &services);
