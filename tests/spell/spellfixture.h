#pragma once

#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "scriptedspellengine.h"
#include "spell/dictionarylocator.h"
#include "spell/hunspellengine.h"
#include "spell/spellchecker.h"

#include <QStringList>
#include <QWidget>

#include <memory>

// The words a control underlines, in order, read back through the contract.
inline QStringList underlinedWords(RichTextControl &text, const SpellChecker &checker)
{
    QStringList words;
    for (int i = 0; i < text.paragraphCount(); ++i)
        for (const TextRange &mark : text.spellingMarks(i))
            words.append(checker.wordAt(mark));
    return words;
}

// A control with its view, as exo is: only a text that is laid out reports its edits.
inline std::unique_ptr<RichTextControl> viewedControl()
{
    auto control = createRichTextControl();
    control->widget()->resize(500, 400);
    return control;
}

// The French dictionary of this machine, or null (the tests using it skip and say why).
inline std::unique_ptr<SpellEngine> realFrenchEngine()
{
    const auto files = DictionaryLocator::findFrench(DictionaryLocator::searchFolders());
    return files ? HunspellEngine::open(*files) : nullptr;
}

// Every correct word the acceptance texts hold, for the scripted engine.
inline QStringList acceptanceWords()
{
    return {"La",   "d'eau", "l'eau", "aujourd'hui", "peut-être", "c'est-à-dire", "Une",   "eau", "et",
            "de",   "la",    "le",    "en",          "est",       "Voir",         "mot",   "Le",  "sel",
            "dans", "puis",  "un",    "Il",          "pèse",      "molécule",     "Cette", "ici"};
}

enum class EngineKind { Scripted, Real };
