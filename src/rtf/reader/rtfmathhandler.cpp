#include "rtf/reader/rtfmathhandler.h"

namespace {

// Arguments hold a sequence of runs and objects; text directly inside one is a run of its own.
// Anywhere else (a run, a property), text is the element's value.
bool isArgument(const QString &name)
{
    static const QStringList arguments = {
        QStringLiteral("mmath"), QStringLiteral("oMathPara"), QStringLiteral("oMath"), QStringLiteral("e"),
        QStringLiteral("num"),   QStringLiteral("den"),       QStringLiteral("sub"),   QStringLiteral("sup"),
        QStringLiteral("deg"),   QStringLiteral("lim"),       QStringLiteral("fName"),
    };
    return arguments.contains(name);
}

} // namespace

void RtfMathHandler::begin(std::size_t depth)
{
    *this = RtfMathHandler{};
    m_active = true;
    m_open.push_back(Open{OmmlElement(QStringLiteral("mmath")), depth});
}

void RtfMathHandler::word(std::string_view name, bool opensGroup, std::optional<int> parameter,
                          std::size_t depth)
{
    if (!m_active || name.empty() || m_elements >= MaxElements)
        return;
    closeTo(depth);
    m_runOpen = false;
    const QString elementName = QString::fromLatin1(name.data(), qsizetype(name.size()));
    // Deeper than a tree may go: the group's content goes to the deepest element kept.
    if (opensGroup && int(m_open.size()) < OmmlElement::MaxDepth - 1) {
        ++m_elements;
        OmmlElement element(elementName);
        element.value = parameter;
        m_open.push_back(Open{std::move(element), depth});
        return;
    }
    if (opensGroup)
        return;
    ++m_elements;
    OmmlElement flag(elementName);
    flag.value = parameter;
    m_open.back().element.children.append(std::move(flag));
}

void RtfMathHandler::text(const QString &text)
{
    if (!m_active || text.isEmpty() || m_textSize + text.size() > MaxText)
        return;
    m_textSize += text.size();
    OmmlElement &top = m_open.back().element;
    if (!isArgument(top.name)) {
        top.text += text;
        return;
    }
    // Runs written without \mr (a surrogate pair straight in an argument) join the run just
    // before them only when that one was made the same way.
    if (m_runOpen && !top.children.isEmpty()) {
        top.children.last().text += text;
        return;
    }
    top.children.append(OmmlElement(QStringLiteral("r"), text));
    m_runOpen = true;
}

void RtfMathHandler::closeTo(std::size_t depth)
{
    while (m_open.size() > 1 && m_open.back().depth > depth)
        closeTop();
}

void RtfMathHandler::closeTop()
{
    m_runOpen = false;
    Open closing = std::move(m_open.back());
    m_open.pop_back();
    m_open.back().element.children.append(std::move(closing.element));
}

void RtfMathHandler::picture(std::shared_ptr<EmbeddedObject> picture)
{
    if (!m_picture && picture && picture->kind == EmbeddedObject::Kind::Picture)
        m_picture = std::move(picture);
}

RtfMathHandler::Zone RtfMathHandler::finish()
{
    while (m_open.size() > 1)
        closeTop();
    Zone zone{std::move(m_open.back().element), std::move(m_picture)};
    *this = RtfMathHandler{};
    return zone;
}
