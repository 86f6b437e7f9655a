#include "math/mathnode.h"

MathNode MathNode::fenced(QChar open, QChar close, MathNode content)
{
    MathNode node(Kind::Fenced, QList<MathNode>{std::move(content)}, Stretchy);
    node.m_text = QString(open) + close;
    return node;
}

namespace {

const char *kindName(MathNode::Kind kind)
{
    switch (kind) {
    case MathNode::Kind::Row:
        return "row";
    case MathNode::Kind::Identifier:
        return "mi";
    case MathNode::Kind::Number:
        return "mn";
    case MathNode::Kind::Operator:
        return "mo";
    case MathNode::Kind::Text:
        return "text";
    case MathNode::Kind::Space:
        return "space";
    case MathNode::Kind::Fraction:
        return "frac";
    case MathNode::Kind::Sub:
        return "sub";
    case MathNode::Kind::Sup:
        return "sup";
    case MathNode::Kind::SubSup:
        return "subsup";
    case MathNode::Kind::Under:
        return "under";
    case MathNode::Kind::Over:
        return "over";
    case MathNode::Kind::UnderOver:
        return "underover";
    case MathNode::Kind::Sqrt:
        return "sqrt";
    case MathNode::Kind::Root:
        return "root";
    case MathNode::Kind::Fenced:
        return "fenced";
    case MathNode::Kind::Table:
        return "table";
    }
    return "?";
}

} // namespace

QString MathNode::dump() const
{
    QString out = u'(' + QLatin1String(kindName(m_kind));
    if (m_kind == Kind::Fenced) {
        out += u' ' + (open().isNull() ? QStringLiteral("-") : QString(open())) +
               (close().isNull() ? QStringLiteral("-") : QString(close()));
    } else if (!m_text.isEmpty()) {
        out += u' ' + m_text;
    }
    if (m_flags & Upright)
        out += QLatin1String(" :up");
    if (m_flags & Unit)
        out += QLatin1String(" :unit");
    if (m_flags & Accent)
        out += QLatin1String(" :accent");
    if (m_flags & Unclosed)
        out += QLatin1String(" :unclosed");
    for (const MathNode &child : m_children)
        out += u' ' + child.dump();
    return out + u')';
}

qsizetype MathNode::memoryUsage() const
{
    qsizetype bytes = sizeof(MathNode);
    if (!m_text.isEmpty())
        bytes += m_text.capacity() * qsizetype(sizeof(QChar)) + 16; // the shared header
    if (!m_children.isEmpty())
        bytes += (m_children.capacity() - m_children.size()) * qsizetype(sizeof(MathNode)) + 16;
    for (const MathNode &child : m_children)
        bytes += child.memoryUsage();
    return bytes;
}
