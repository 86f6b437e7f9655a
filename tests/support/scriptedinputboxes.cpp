#include "scriptedinputboxes.h"

#include "scriptfault.h"

std::optional<QString> ScriptedInputBoxes::ask(const QString &prompt, const QString &title,
                                               const QString &defaultText)
{
    m_asked.append({prompt, title, defaultText});
    if (m_answers.isEmpty()) {
        const QString fault =
            QStringLiteral("Unexpected input box \"%1\" (title \"%2\"): no answer queued").arg(prompt, title);
        m_faults.append(fault);
        reportScriptFault(fault);
        return std::nullopt;
    }
    return m_answers.dequeue();
}

void ScriptedInputBoxes::clear()
{
    m_answers.clear();
    m_asked.clear();
    m_faults.clear();
}
