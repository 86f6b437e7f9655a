#include "math/linearwriter.h"

#include "math/mathsymbols.h"

#include <algorithm>

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
    case Kind::Row: // \ce{...}, written back as typed
        return !node.text().isEmpty();
    case Kind::Identifier:
    case Kind::Number:
    case Kind::Operator:
    case Kind::Text:
    case Kind::Sqrt:
    case Kind::Root:
        return true;
    case Kind::Over:
    case Kind::Under: // accents, overset, underset: written as a name and its arguments
        return node.hasFlag(MathNode::Accent) || !node.child(0).hasFlag(MathNode::Limits);
    case Kind::Fenced:
        return !isStrippedFence(node);
    default:
        return false;
    }
}

// A bracket never closed keeps everything after it to the end of its level, so it is written
// back bare: wrapping it in brackets would close it.
bool isUnclosed(const MathNode &node)
{
    return node.kind() == Kind::Row && node.hasFlag(MathNode::Unclosed);
}

// Whether the text of `node` ends inside a bracket left open: then nothing may follow it, not
// even a bracket of the writer's own.
bool endsUnclosed(const MathNode &node)
{
    if (isUnclosed(node))
        return true;
    const QList<MathNode> &children = node.children();
    switch (node.kind()) {
    case Kind::Row:
        return !children.isEmpty() && endsUnclosed(children.last());
    case Kind::Fraction:
        return endsUnclosed(children.at(0)) || endsUnclosed(children.at(1));
    case Kind::Sub:
    case Kind::Sup:
        return endsUnclosed(children.at(1));
    case Kind::SubSup:
    case Kind::UnderOver:
        return endsUnclosed(children.at(1)) || endsUnclosed(children.at(2));
    case Kind::Over:
    case Kind::Under:
        return endsUnclosed(children.at(0)) || endsUnclosed(children.at(1));
    case Kind::Sqrt:
    case Kind::Fenced:
        return endsUnclosed(children.at(0));
    case Kind::Root:
        return endsUnclosed(children.at(0)) || endsUnclosed(children.at(1));
    default:
        return false;
    }
}

// A closing bracket with nothing to close (only possible outside all brackets) is written bare
// too: in brackets of its own it would close them.
bool isStrayCloser(const MathNode &node)
{
    if (node.kind() != Kind::Operator)
        return false;
    const MathSymbol *symbol = MathSymbols::find(MathSymbols::linearName(node));
    return symbol && symbol->type == MathSymbol::Type::RightBracket;
}

// Two pieces side by side, with a space where their ends would read as one sign: ( and : make
// the angle bracket (:, : and ) its closing :), { and : the invisible {:.
QString joined(const QString &left, const QString &right)
{
    if (left.isEmpty() || right.isEmpty())
        return left + right;
    const QChar a = left.back();
    const QChar b = right.front();
    const bool merge = ((a == u'(' || a == u'{') && b == u':') || (a == u':' && (b == u')' || b == u'}'));
    if (merge)
        return left + u' ' + right;
    return left + right;
}

QString wrapped(const QString &open, const QString &inner, const QString &close)
{
    return joined(joined(open, inner), close);
}

// Whether the text of `node` begins with a unit symbol: a unit, its power, or a fraction of
// units (3 g/L), which keep the space after their number.
bool startsWithUnit(const MathNode &node)
{
    switch (node.kind()) {
    case Kind::Sup:
    case Kind::Sub:
    case Kind::SubSup:
    case Kind::Fraction:
        return startsWithUnit(node.child(0));
    default:
        return node.hasFlag(MathNode::Unit);
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
            const bool unit = startsWithUnit(current);
            const QString text = node(current);
            // After a unit or its power likewise: a unit's name written glued (s^-M) stays a variable.
            const bool afterUnit = previous.hasFlag(MathNode::Unit) ||
                                   ((previous.kind() == Kind::Sup || previous.kind() == Kind::Sub) &&
                                    previous.child(0).hasFlag(MathNode::Unit));
            const bool glued =
                (previous.kind() == Kind::Number && !unit && !text.isEmpty() && text.at(0).isLetter()) ||
                (afterUnit && !unit && current.kind() == Kind::Identifier && MathSymbols::isUnit(text) &&
                 !out.isEmpty() && !out.back().isLetter());
            if (!unitDot && !glued)
                out += u' ';
            out += text;
            continue;
        }
        out += node(current);
    }
    return out;
}

QString LinearWriter::paren(const MathNode &n)
{
    if (endsUnclosed(n))
        return n.kind() == Kind::Row ? row(n.children()) : node(n);
    if (isStrayCloser(n))
        return u' ' + node(n);
    return wrapped(QStringLiteral("("), n.kind() == Kind::Row ? row(n.children()) : node(n),
                   QStringLiteral(")"));
}

QString LinearWriter::operand(const MathNode &n)
{
    if (isNegativeNumber(n))
        return QStringLiteral("-") + n.child(1).text();
    // A bar left alone would open a pair with whatever bar comes next: (|) keeps it alone.
    const MathSymbol *symbol =
        n.kind() == Kind::Operator ? MathSymbols::find(MathSymbols::linearName(n)) : nullptr;
    if (symbol && symbol->type == MathSymbol::Type::Bar)
        return paren(n);
    // A stray ^, _ or / would take the writer's neighbours as its scripts or fraction.
    if (n.kind() == Kind::Operator &&
        (n.text() == QLatin1String("^") || n.text() == QLatin1String("_") || n.text() == QLatin1String("/")))
        return paren(n);
    return isSimple(n) || isUnclosed(n) ? node(n) : paren(n);
}

// A fraction takes scripted operands whole (x^2/y), as AsciiMath's I/I does.
QString LinearWriter::fractionOperand(const MathNode &n)
{
    switch (n.kind()) {
    case Kind::Sub:
    case Kind::Sup:
    case Kind::SubSup:
    case Kind::Under:
    case Kind::Over:
    case Kind::UnderOver:
        return node(n);
    default:
        return operand(n);
    }
}

// a^b^c is a^(b^c), so a chained exponent goes bare (and a label such as "moy" stays a label
// only bare); with brackets its first base would lose its own: x^[A]^a reads x^(A^a).
QString LinearWriter::superscript(const MathNode &script)
{
    const bool chain = script.kind() == Kind::Sup && !isStrippedFence(script.child(0));
    return chain ? node(script) : operand(script);
}

QString LinearWriter::base(const MathNode &n)
{
    // frac(a)(b)^2: a fraction in brackets would keep them as a base.
    if (n.kind() == Kind::Fraction && !isUnclosed(n.child(0)))
        return QStringLiteral("frac") + paren(n.child(0)) + paren(n.child(1));
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
    const bool open_ = endsUnclosed(content);
    const auto call = [&](const char *name) {
        return open_ ? QLatin1String(name) + inner
                     : wrapped(QLatin1String(name) + u'(', inner, QStringLiteral(")"));
    };
    // Bars hold any closing bracket that has nothing to close; abs(…) would let it close.
    const bool strayInside =
        std::any_of(content.children().cbegin(), content.children().cend(), isStrayCloser);
    switch (open.unicode()) {
    case u'|':
        return strayInside ? QStringLiteral("| ") + inner + QStringLiteral(" |") : call("abs");
    case u'‖':
        return strayInside ? QStringLiteral("‖ ") + inner + QStringLiteral(" ‖") : call("norm");
    case u'⌊':
        return call("floor");
    case u'⌈':
        return call("ceil");
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
    return wrapped(side(open, true), inner, side(n.close(), false));
}

QString LinearWriter::node(const MathNode &n)
{
    switch (n.kind()) {
    case Kind::Row:
        if (!n.text().isEmpty()) // chemistry: its text as typed reads back to the same nodes
            return QStringLiteral("\\ce{") + n.text() + u'}';
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
        // frac{… never closed: the bracket took the rest, the denominator is empty.
        if (isUnclosed(n.child(0)))
            return QStringLiteral("frac") + row(n.child(0).children());
        {
            // "/_" is the angle sign and "//" a plain slash: keep a stray sign apart from the bar.
            const QString numerator = fractionOperand(n.child(0));
            const QString denominator = fractionOperand(n.child(1));
            const bool apart =
                numerator.endsWith(u'/') || denominator.startsWith(u'_') || denominator.startsWith(u'/');
            return numerator + (apart ? QStringLiteral(" / ") : QStringLiteral("/")) + denominator;
        }
    case Kind::Sub:
    case Kind::Under:
        if (n.hasFlag(MathNode::Accent))
            return accentName(n.child(1).text(), true) + paren(n.child(0));
        if (n.kind() == Kind::Under && !n.child(0).hasFlag(MathNode::Limits))
            return QStringLiteral("underset") + paren(n.child(1)) +
                   (isUnclosed(n.child(1)) ? QString() : paren(n.child(0)));
        return base(n.child(0)) + u'_' + operand(n.child(1));
    case Kind::Sup:
    case Kind::Over: {
        if (n.hasFlag(MathNode::Accent))
            return accentName(n.child(1).text(), false) + paren(n.child(0));
        if (n.kind() == Kind::Over && !n.child(0).hasFlag(MathNode::Limits))
            return QStringLiteral("overset") + paren(n.child(1)) +
                   (isUnclosed(n.child(1)) ? QString() : paren(n.child(0)));
        // a^b^c reads a^(b^c): a superscript may itself carry one.
        const MathNode &script = n.child(1);
        return base(n.child(0)) + u'^' + superscript(script);
    }
    case Kind::SubSup:
    case Kind::UnderOver:
        // A bracket left open takes the rest: it is written last.
        if (isUnclosed(n.child(1)))
            return base(n.child(0)) + u'^' + superscript(n.child(2)) + u'_' + operand(n.child(1));
        return base(n.child(0)) + u'_' + operand(n.child(1)) + u'^' + superscript(n.child(2));
    case Kind::Sqrt:
        return QStringLiteral("sqrt") + paren(n.child(0));
    case Kind::Root:
        return QStringLiteral("root") + paren(n.child(1)) +
               (isUnclosed(n.child(1)) ? QString() : paren(n.child(0)));
    case Kind::Fenced:
        return fenced(n);
    case Kind::Table:
        return QString();
    }
    return QString();
}
