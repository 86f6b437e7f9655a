#pragma once

#include "dictionarylocator.h"
#include "spellengine.h"

#include <future>
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

// Hunspell reads its French dictionary in a tenth of a second: that happens on a worker thread
// while the window starts, and the first word checked waits for it if it is not done. Files that
// turn out to be no dictionary leave every word known (and a warning in the log).
class BackgroundHunspellEngine : public SpellEngine
{
public:
    explicit BackgroundHunspellEngine(const DictionaryFiles &files);
    ~BackgroundHunspellEngine() override;

    bool isCorrect(const QString &word) override;
    QStringList suggestions(const QString &word, int limit) override;
    void addWord(const QString &word) override;

private:
    HunspellEngine *engine();

    std::future<std::unique_ptr<HunspellEngine>> m_loading;
    std::unique_ptr<HunspellEngine> m_engine;
    bool m_loaded = false;
};
