#pragma once

#include "spell/spellengine.h"

#include <QHash>
#include <QSet>
#include <QStringList>

// A spell engine that knows the words it is given. Suggestions are scripted per word; asking
// for those of a word nobody scripted fails the running test and names the word.
class ScriptedSpellEngine : public SpellEngine
{
public:
    explicit ScriptedSpellEngine(const QStringList &known = {});

    void know(const QStringList &words);
    void suggestFor(const QString &word, const QStringList &suggestions)
    {
        m_suggestions.insert(word, suggestions);
    }

    // A dictionary still being read: isReady() says no until told otherwise.
    void setReady(bool ready) { m_ready = ready; }
    bool isReady() override { return m_ready; }
    bool isCorrect(const QString &word) override;
    QStringList suggestions(const QString &word, int limit) override;
    void addWord(const QString &word) override { m_known.insert(word); }

    const QStringList &checked() const { return m_checked; } // every word asked, in order
    const QStringList &suggestionsAsked() const { return m_suggestionsAsked; }

private:
    QSet<QString> m_known;
    QHash<QString, QStringList> m_suggestions;
    QStringList m_checked;
    QStringList m_suggestionsAsked;
    bool m_ready = true;
};
