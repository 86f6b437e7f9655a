#include "equationcommands.h"

#include "richtext/richtextcontrol.h"
#include "rtf/cp1252.h"

EquationCommands::EquationCommands(RichTextControl &exo, Ask ask) : m_exo(exo), m_ask(std::move(ask))
{}

QString EquationCommands::linearOf(const QByteArray &selected)
{
    QString text = Cp1252::decode(selected);
    for (QChar &c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\v') ||
            c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return text.simplified();
}

void EquationCommands::equation()
{
    if (!m_exo.selEquation().isEmpty()) {
        edit();
        return;
    }
    if (m_exo.selLength() > 0) {
        const QString linear = linearOf(m_exo.selText());
        if (!linear.isEmpty() && m_exo.selProtected() == false) {
            m_exo.insertEquation(linear);
            m_exo.setFocus();
            return;
        }
    }
    const std::optional<QString> typed = m_ask(EquationRequest{QString(), m_exo.selFontSize().valueOr(10)});
    if (typed && !typed->trimmed().isEmpty())
        m_exo.insertEquation(*typed);
    m_exo.setFocus();
}

void EquationCommands::edit()
{
    const QString current = m_exo.selEquation();
    if (current.isEmpty())
        return;
    const std::optional<QString> typed = m_ask(EquationRequest{current, m_exo.selFontSize().valueOr(10)});
    // An emptied line removes nothing: deleting is the Delete key's business.
    if (typed && !typed->trimmed().isEmpty() && *typed != current)
        m_exo.insertEquation(*typed);
    m_exo.setFocus();
}

void EquationCommands::onKeyDown(KeyStroke &key)
{
    if ((key.key != Qt::Key_Return && key.key != Qt::Key_Enter) || key.modifiers != Qt::NoModifier)
        return;
    if (m_exo.selEquation().isEmpty())
        return;
    key.consumed = true;
    edit();
}
