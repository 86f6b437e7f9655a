#include "scriptedspellengine.h"

#include "scriptfault.h"

ScriptedSpellEngine::ScriptedSpellEngine(const QStringList &known)
{
    know(known);
}

void ScriptedSpellEngine::know(const QStringList &words)
{
    for (const QString &word : words)
        m_known.insert(word);
}

bool ScriptedSpellEngine::isCorrect(const QString &word)
{
    m_checked.append(word);
    return m_known.contains(word);
}

QStringList ScriptedSpellEngine::suggestions(const QString &word, int limit)
{
    m_suggestionsAsked.append(word);
    const auto found = m_suggestions.constFind(word);
    if (found == m_suggestions.cend()) {
        reportScriptFault(QStringLiteral("suggestions for \"%1\" asked, none scripted").arg(word));
        return {};
    }
    return found->mid(0, limit);
}
