#include "math/ommlwriter.h"

namespace {

using Kind = MathNode::Kind;

OmmlElement element(const char *name, QList<OmmlElement> children = {})
{
    OmmlElement e{QString::fromLatin1(name)};
    e.children = std::move(children);
    return e;
}

OmmlElement property(const char *name, const QString &value)
{
    return OmmlElement(QString::fromLatin1(name), value);
}

// Properties go in the element's "<name>Pr" group, with the empty control properties Word
// expects there for the ambient formatting to apply.
OmmlElement properties(const char *owner, QList<OmmlElement> values)
{
    values.append(element("ctrlPr"));
    OmmlElement e = element(owner, std::move(values));
    e.name += QLatin1String("Pr");
    return e;
}

// OMML's accents are combining marks over their base.
QString accentCharacter(const QString &sign)
{
    if (sign == QStringLiteral("→"))
        return QStringLiteral("\u20D7");
    if (sign == QStringLiteral("^"))
        return QStringLiteral("\u0302");
    if (sign == QStringLiteral("."))
        return QStringLiteral("\u0307");
    if (sign == QStringLiteral(".."))
        return QStringLiteral("\u0308");
    if (sign == QStringLiteral("~"))
        return QStringLiteral("\u0303");
    return sign;
}

bool isLargeOperator(const MathNode &node)
{
    return node.kind() == Kind::Operator && node.hasFlag(MathNode::LargeOperator);
}

// A ∑ or ∫ alone or with its scripts: the n-ary operator Office Math has for them.
bool isNaryBase(const MathNode &node)
{
    switch (node.kind()) {
    case Kind::Operator:
        return isLargeOperator(node);
    case Kind::Sub:
    case Kind::Sup:
    case Kind::SubSup:
    case Kind::Under:
    case Kind::Over:
    case Kind::UnderOver:
        return !node.hasFlag(MathNode::Accent) && isLargeOperator(node.child(0));
    default:
        return false;
    }
}

class Writer
{
public:
    // The nodes of a row into `into`, an argument element.
    void row(OmmlElement &into, const QList<MathNode> &nodes)
    {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            const MathNode &node = nodes.at(i);
            if (isNaryBase(node)) {
                // The operand that follows is the operator's own: ∑ i, ∫ f(x) dx keeps the rest.
                OmmlElement body = element("e");
                if (i + 1 < nodes.size())
                    write(body, nodes.at(++i));
                into.children.append(nary(node, std::move(body)));
                continue;
            }
            if (node.kind() == Kind::Identifier && node.hasFlag(MathNode::Function) &&
                !node.hasFlag(MathNode::Limits) && i + 1 < nodes.size()) {
                OmmlElement name = element("fName");
                write(name, node);
                OmmlElement body = element("e");
                write(body, nodes.at(++i));
                into.children.append(element("func", {std::move(name), std::move(body)}));
                continue;
            }
            write(into, node);
        }
    }

    OmmlElement argument(const char *name, const MathNode &node)
    {
        OmmlElement e = element(name);
        write(e, node);
        return e;
    }

    void write(OmmlElement &into, const MathNode &node)
    {
        switch (node.kind()) {
        case Kind::Row:
            row(into, node.children());
            return;
        case Kind::Identifier:
        case Kind::Number:
        case Kind::Operator:
            into.children.append(run(node));
            return;
        case Kind::Text: {
            // Normal text, as a flag of the run: the form LibreOffice reads and writes.
            OmmlElement r(QStringLiteral("r"), node.text());
            OmmlElement normal(QStringLiteral("nor"));
            normal.value = 1;
            r.children.append(std::move(normal));
            into.children.append(std::move(r));
            return;
        }
        case Kind::Space:
            into.children.append(OmmlElement(
                QStringLiteral("r"), node.text() == QLatin1String("1")   ? QStringLiteral("\u2003")
                                     : node.text() == QLatin1String("2") ? QStringLiteral("\u2003\u2003")
                                                                         : QStringLiteral("\u2006")));
            return;
        case Kind::Fraction:
            into.children.append(element(
                "f", {properties("f", {}), argument("num", node.child(0)), argument("den", node.child(1))}));
            return;
        case Kind::Sub:
            into.children.append(element("sSub", {properties("sSub", {}), argument("e", node.child(0)),
                                                  argument("sub", node.child(1))}));
            return;
        case Kind::Sup:
            into.children.append(element("sSup", {properties("sSup", {}), argument("e", node.child(0)),
                                                  argument("sup", node.child(1))}));
            return;
        case Kind::SubSup:
            into.children.append(
                element("sSubSup", {properties("sSubSup", {}), argument("e", node.child(0)),
                                    argument("sub", node.child(1)), argument("sup", node.child(2))}));
            return;
        case Kind::Under:
        case Kind::Over:
            overOrUnder(into, node);
            return;
        case Kind::UnderOver:
            into.children.append(element(
                "limUpp",
                {properties("limUpp", {}),
                 element("e", {element("limLow", {properties("limLow", {}), argument("e", node.child(0)),
                                                  argument("lim", node.child(1))})}),
                 argument("lim", node.child(2))}));
            return;
        case Kind::Sqrt:
            into.children.append(
                element("rad", {properties("rad", {property("degHide", QStringLiteral("1"))}), element("deg"),
                                argument("e", node.child(0))}));
            return;
        case Kind::Root:
            into.children.append(element("rad", {properties("rad", {}), argument("deg", node.child(1)),
                                                 argument("e", node.child(0))}));
            return;
        case Kind::Fenced:
            fenced(into, node);
            return;
        case Kind::Table:
            into.children.append(matrix(node));
            return;
        }
    }

    static OmmlElement run(const MathNode &node)
    {
        OmmlElement r(QStringLiteral("r"), node.text());
        // Letters are italic unless upright: units, capital Greek, names of several letters.
        const bool letters = node.kind() == Kind::Identifier;
        if (letters && (node.hasFlag(MathNode::Upright) || node.hasFlag(MathNode::Unit) ||
                        node.hasFlag(MathNode::Function) || node.text().size() > 1))
            r.children.append(element("rPr", {property("sty", QStringLiteral("p"))}));
        return r;
    }

    OmmlElement nary(const MathNode &node, OmmlElement body)
    {
        const MathNode &op = node.kind() == Kind::Operator ? node : node.child(0);
        const bool underOver = node.kind() == Kind::Under || node.kind() == Kind::Over ||
                               node.kind() == Kind::UnderOver || op.hasFlag(MathNode::Limits);
        OmmlElement sub = element("sub");
        OmmlElement sup = element("sup");
        switch (node.kind()) {
        case Kind::Sub:
        case Kind::Under:
            write(sub, node.child(1));
            break;
        case Kind::Sup:
        case Kind::Over:
            write(sup, node.child(1));
            break;
        case Kind::SubSup:
        case Kind::UnderOver:
            write(sub, node.child(1));
            write(sup, node.child(2));
            break;
        default:
            break;
        }
        QList<OmmlElement> values{
            property("chr", op.text()),
            property("limLoc", underOver ? QStringLiteral("undOvr") : QStringLiteral("subSup"))};
        if (sub.children.isEmpty())
            values.append(property("subHide", QStringLiteral("1")));
        if (sup.children.isEmpty())
            values.append(property("supHide", QStringLiteral("1")));
        return element(
            "nary", {properties("nary", std::move(values)), std::move(sub), std::move(sup), std::move(body)});
    }

    void overOrUnder(OmmlElement &into, const MathNode &node)
    {
        const bool over = node.kind() == Kind::Over;
        const MathNode &base = node.child(0);
        const MathNode &script = node.child(1);
        if (!node.hasFlag(MathNode::Accent)) {
            const char *name = over ? "limUpp" : "limLow";
            into.children.append(
                element(name, {properties(name, {}), argument("e", base), argument("lim", script)}));
            return;
        }
        const QString sign = script.text();
        if (sign == QStringLiteral("¯") || sign == QStringLiteral("̲")) {
            into.children.append(element(
                "bar",
                {properties("bar", {property("pos", over ? QStringLiteral("top") : QStringLiteral("bot"))}),
                 argument("e", base)}));
            return;
        }
        if (sign == QStringLiteral("⏞") || sign == QStringLiteral("⏟") || !over) {
            into.children.append(element(
                "groupChr",
                {properties("groupChr",
                            {property("chr", sign),
                             property("pos", over ? QStringLiteral("top") : QStringLiteral("bot")),
                             property("vertJc", over ? QStringLiteral("bot") : QStringLiteral("top"))}),
                 argument("e", base)}));
            return;
        }
        into.children.append(element(
            "acc", {properties("acc", {property("chr", accentCharacter(sign))}), argument("e", base)}));
    }

    void fenced(OmmlElement &into, const MathNode &node)
    {
        const MathNode &content = node.child(0);
        if (content.kind() == Kind::Table && node.open().isNull() && node.close().isNull()) {
            into.children.append(matrix(content));
            return;
        }
        // An absent bracket is an empty character; the separator is none, ours being in the text.
        QList<OmmlElement> values{
            property("begChr", node.open().isNull() ? QString() : QString(node.open())),
            property("sepChr", QString()),
            property("endChr", node.close().isNull() ? QString() : QString(node.close()))};
        OmmlElement body = element("e");
        if (content.kind() == Kind::Table)
            body.children.append(matrix(content));
        else
            write(body, content);
        into.children.append(element("d", {properties("d", std::move(values)), std::move(body)}));
    }

    OmmlElement matrix(const MathNode &table)
    {
        OmmlElement m = element("m", {properties("m", {})});
        for (const MathNode &line : table.children()) {
            OmmlElement mr = element("mr");
            for (const MathNode &cell : line.children())
                mr.children.append(argument("e", cell));
            m.children.append(std::move(mr));
        }
        return m;
    }
};

} // namespace

OmmlElement OmmlWriter::write(const MathNode &root)
{
    Writer writer;
    OmmlElement line = element("oMath");
    writer.write(line, root);
    return element("mmath", {std::move(line)});
}
