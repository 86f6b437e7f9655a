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

// Hunspell reads its French dictionary in a tenth of a second of processor time and keeps about
// 14 MB. It is read on a worker thread when the first word is to be checked, not at start: a
// window that starts and opens a long file at once would otherwise share the processor with it
// while the file goes in, and a run with checking off never needs it. prepare() starts the read;
// the other calls start it if needed and wait for it. Files that turn out to be no dictionary leave every
// word known (and a warning in the log).
class BackgroundHunspellEngine : public SpellEngine
{
public:
    explicit BackgroundHunspellEngine(const DictionaryFiles &files);
    ~BackgroundHunspellEngine() override;

    bool isReady() override;
    void prepare() override;
    bool isCorrect(const QString &word) override;
    QStringList suggestions(const QString &word, int limit) override;
    // Before the dictionary is read, the word waits with the others for it: the personal word
    // list is added at start, and adding it must not start the read.
    void addWord(const QString &word) override;

private:
    HunspellEngine *engine();

    DictionaryFiles m_files;
    std::future<std::unique_ptr<HunspellEngine>> m_loading;
    std::unique_ptr<HunspellEngine> m_engine;
    bool m_loaded = false;
    QStringList m_added; // words added before the dictionary was read
};
