#pragma once

#include <QString>
#include <QStringList>

// The checker of single words behind the spell checking: Hunspell with a French dictionary in
// the program, a scripted double in the tests. Words come whole, as the text holds them
// ("l'eau", "peut-être", with ' or ’); the engine knows the language's elision and hyphenation.
class SpellEngine
{
public:
    virtual ~SpellEngine() = default;

    // Whether isCorrect() answers without waiting; a caller on the interface thread asks first
    // and comes back later rather than freezing the window.
    virtual bool isReady() { return true; }
    // Starts what the engine still has to prepare (reading its dictionary) without waiting for it;
    // isCorrect() would start it too, and wait.
    virtual void prepare() {}
    virtual bool isCorrect(const QString &word) = 0;
    // Best first; at most `limit`.
    virtual QStringList suggestions(const QString &word, int limit) = 0;
    // Known from now on, for this run (the personal word list keeps it across runs).
    virtual void addWord(const QString &word) = 0;
};
