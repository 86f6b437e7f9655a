#include "math/linearwriter.h"

#include "math/mathsymbols.h"

namespace {

using Kind = MathNode::Kind;

bool isStrippedFence(const MathNode &node)
{
    return node.kind() == Kind::Fenced && QStringLiteral("([{").contains(node.open()) &&
           !node.close().isNull() && node.child(0).kind() == Kind::Row;
}

// What reads as one operand without brackets: AsciiMath's simple expressions.
bool isSimple(const MathNode &node)
{
    switch (node.kind()) {
    case Kind::Identifier:
    case Kind::Number:
    case Kind::Operator:
    case Kind::Text:
    case Kind::Sqrt:
    case Kind::Root:
        return true;
    case Kind::Over:
    case Kind::Under:
        return node.hasFlag(MathNode::Accent);
    case Kind::Fenced:
        return !isStrippedFence(node);
    default:
        return false;
    }
}

bool isNegativeNumber(const MathNode &node)
{
    return node.kind() == Kind::Row && node.children().size() == 2 &&
           node.child(0).kind() == Kind::Operator && node.child(0).text() == QStringLiteral("−") &&
           node.child(1).kind() == Kind::Number;
}

QString accentName(const QString &accent, bool under)
{
    static const QList<std::pair<QString, QString>> names = {
        {QStringLiteral("^"), QStringLiteral("hat")},    {QStringLiteral("¯"), QStringLiteral("bar")},
        {QStringLiteral("→"), QStringLiteral("vec")},    {QStringLiteral("."), QStringLiteral("dot")},
        {QStringLiteral(".."), QStringLiteral("ddot")},  {QStringLiteral("~"), QStringLiteral("tilde")},
        {QStringLiteral("̲"), QStringLiteral("ul")},      {QStringLiteral("⏞"), QStringLiteral("obrace")},
        {QStringLiteral("⏟"), QStringLiteral("ubrace")},
    };
    for (const auto &[sign, name] : names) {
        if (sign == accent)
            return name;
    }
    return under ? QStringLiteral("ul") : QStringLiteral("hat");
}

} // namespace

QString LinearWriter::write(const MathNode &root)
{
    return root.kind() == Kind::Row ? row(root.children()) : node(root);
}

QString LinearWriter::row(const QList<MathNode> &children)
{
    QString out;
    for (qsizetype i = 0; i < children.size(); ++i) {
        const MathNode &current = children.at(i);
        if (i > 0) {
            const MathNode &previous = children.at(i - 1);
            const bool unitDot = [](const MathNode &n) {
                return n.kind() == Kind::Operator && n.hasFlag(MathNode::Unit);
            }(current) || (previous.kind() == Kind::Operator && previous.hasFlag(MathNode::Unit));
            // After a number, a space before letters makes them a unit: only units get one.
            const bool glued = previous.kind() == Kind::Number && !current.hasFlag(MathNode::Unit) &&
                               !(current.kind() == Kind::Sup && current.child(0).hasFlag(MathNode::Unit)) &&
                               (current.kind() == Kind::Identifier || current.kind() == Kind::Sub ||
                                current.kind() == Kind::Sup || current.kind() == Kind::SubSup ||
                                (current.kind() == Kind::Row && !current.children().isEmpty() &&
                                 current.child(0).kind() == Kind::Identifier));
            if (!unitDot && !glued)
                out += u' ';
        }
        out += node(current);
    }
    return out;
}

QString LinearWriter::paren(const MathNode &n)
{
    return u'(' + (n.kind() == Kind::Row ? row(n.children()) : node(n)) + u')';
}

QString LinearWriter::operand(const MathNode &n)
{
    if (isNegativeNumber(n))
        return QStringLiteral("-") + n.child(1).text();
    return isSimple(n) ? node(n) : paren(n);
}

QString LinearWriter::base(const MathNode &n)
{
    return isSimple(n) || n.kind() == Kind::Fenced ? node(n) : paren(n);
}

QString LinearWriter::fenced(const MathNode &n)
{
    const QChar open = n.open();
    const MathNode &content = n.child(0);
    if (content.kind() == Kind::Table) {
        const QChar rowOpen = open == u'[' ? u'[' : u'(';
        const QChar rowClose = open == u'[' ? u']' : u')';
        QStringList rows;
        for (const MathNode &tableRow : content.children()) {
            QStringList cells;
            for (const MathNode &cell : tableRow.children())
                cells << row(cell.children());
            rows << rowOpen + cells.join(QLatin1String(", ")) + rowClose;
        }
        const QString close = n.close().isNull() ? QStringLiteral(":}") : QString(n.close());
        const QString opening = open.isNull() ? QStringLiteral("{:") : QString(open);
        return opening + rows.join(QLatin1String(", ")) + close;
    }
    const QString inner = content.kind() == Kind::Row ? row(content.children()) : node(content);
    switch (open.unicode()) {
    case u'|':
        return QStringLiteral("abs(") + inner + u')';
    case u'‖':
        return QStringLiteral("norm(") + inner + u')';
    case u'⌊':
        return QStringLiteral("floor(") + inner + u')';
    case u'⌈':
        return QStringLiteral("ceil(") + inner + u')';
    default:
        break;
    }
    const auto side = [](QChar c, bool opening) -> QString {
        if (c.isNull())
            return opening ? QStringLiteral("{:") : QStringLiteral(":}");
        if (c == u'⟨')
            return QStringLiteral("(:");
        if (c == u'⟩')
            return QStringLiteral(":)");
        return QString(c);
    };
    return side(open, true) + inner + side(n.close(), false);
}

QString LinearWriter::node(const MathNode &n)
{
    switch (n.kind()) {
    case Kind::Row:
        return row(n.children());
    case Kind::Identifier:
        if (n.hasFlag(MathNode::Unit) || n.text().size() > 1)
            return n.text();
        return MathSymbols::linearName(n);
    case Kind::Number:
        return n.text();
    case Kind::Operator:
        if (n.hasFlag(MathNode::Unit))
            return QStringLiteral(".");
        return MathSymbols::linearName(n);
    case Kind::Text:
        if (n.text().contains(u'"'))
            return QStringLiteral("text(") + n.text() + u')';
        return u'"' + n.text() + u'"';
    case Kind::Space:
        return n.text() == QLatin1String("1")   ? QStringLiteral("quad")
               : n.text() == QLatin1String("2") ? QStringLiteral("qquad")
                                                : QStringLiteral("\\ ");
    case Kind::Fraction:
        return operand(n.child(0)) + u'/' + operand(n.child(1));
    case Kind::Sub:
    case Kind::Under:
        if (n.hasFlag(MathNode::Accent))
            return accentName(n.child(1).text(), true) + paren(n.child(0));
        if (n.kind() == Kind::Under && !n.child(0).hasFlag(MathNode::Limits))
            return QStringLiteral("underset") + paren(n.child(1)) + paren(n.child(0));
        return base(n.child(0)) + u'_' + operand(n.child(1));
    case Kind::Sup:
    case Kind::Over: {
        if (n.hasFlag(MathNode::Accent))
            return accentName(n.child(1).text(), false) + paren(n.child(0));
        if (n.kind() == Kind::Over && !n.child(0).hasFlag(MathNode::Limits))
            return QStringLiteral("overset") + paren(n.child(1)) + paren(n.child(0));
        // a^b^c reads a^(b^c): a superscript may itself carry one.
        const MathNode &script = n.child(1);
        return base(n.child(0)) + u'^' + (script.kind() == Kind::Sup ? node(script) : operand(script));
    }
    case Kind::SubSup:
    case Kind::UnderOver:
        return base(n.child(0)) + u'_' + operand(n.child(1)) + u'^' + operand(n.child(2));
    case Kind::Sqrt:
        return QStringLiteral("sqrt") + paren(n.child(0));
    case Kind::Root:
        return QStringLiteral("root") + paren(n.child(1)) + paren(n.child(0));
    case Kind::Fenced:
        return fenced(n);
    case Kind::Table:
        return QString();
    }
    return QString();
}
