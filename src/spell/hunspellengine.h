#pragma once

#include "dictionarylocator.h"
#include "spellengine.h"

#include <memory>

class Hunspell;

// The engine on Hunspell. Hunspell speaks its dictionary's 8-bit encoding or UTF-8; words are
// converted both ways here, so callers speak Unicode only.
class HunspellEngine : public SpellEngine
{
public:
    // nullptr when the files are no usable dictionary.
    static std::unique_ptr<HunspellEngine> open(const DictionaryFiles &files);
    ~HunspellEngine() override;

    bool isCorrect(const QString &word) override;
    QStringList suggestions(const QString &word, int limit) override;
    void addWord(const QString &word) override;

private:
    HunspellEngine(std::unique_ptr<Hunspell> hunspell, bool utf8);
    std::string encoded(const QString &word) const;
    QString decoded(const std::string &word) const;

    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true; // else Latin-1, the encoding of the older 8-bit dictionaries
};
