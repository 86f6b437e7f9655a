#include "math/mathmlwriter.h"

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

void element(QString &out, QLatin1String name, const QString &text, QLatin1String attributes = {})
{
    out += u'<' + name;
    if (!attributes.isEmpty())
        out += u' ' + attributes;
    out += u'>' + escaped(text) + QLatin1String("</") + name + u'>';
}

} // namespace

QString MathMlWriter::write(const MathNode &root)
{
    QString out = QStringLiteral("<math xmlns=\"http://www.w3.org/1998/Math/MathML\">");
    if (root.kind() == MathNode::Kind::Row) {
        for (const MathNode &child : root.children())
            writeNode(child, out);
    } else {
        writeNode(root, out);
    }
    return out + QLatin1String("</math>");
}

void MathMlWriter::writeGroup(const MathNode &node, QString &out)
{
    if (node.kind() == MathNode::Kind::Row && node.children().size() == 1)
        writeNode(node.child(0), out);
    else
        writeNode(node, out);
}

void MathMlWriter::writeNode(const MathNode &node, QString &out)
{
    using Kind = MathNode::Kind;
    const auto children = [&](QLatin1String name, QLatin1String attributes = {}) {
        out += u'<' + name;
        if (!attributes.isEmpty())
            out += u' ' + attributes;
        out += u'>';
        for (const MathNode &child : node.children())
            writeGroup(child, out);
        out += QLatin1String("</") + name + u'>';
    };
    switch (node.kind()) {
    case Kind::Row:
        out += QLatin1String("<mrow>");
        for (const MathNode &child : node.children())
            writeNode(child, out);
        out += QLatin1String("</mrow>");
        break;
    case Kind::Identifier:
        // A single letter is italic in MathML unless told otherwise; longer names are upright.
        element(out, QLatin1String("mi"), node.text(),
                node.hasFlag(MathNode::Upright) && node.text().size() == 1
                    ? QLatin1String("mathvariant=\"normal\"")
                    : QLatin1String());
        break;
    case Kind::Number:
        element(out, QLatin1String("mn"), node.text());
        break;
    case Kind::Operator:
        element(out, QLatin1String("mo"), node.text());
        break;
    case Kind::Text:
        element(out, QLatin1String("mtext"), node.text());
        break;
    case Kind::Space:
        out += QLatin1String("<mspace width=\"") + node.text() + QLatin1String("em\"/>");
        break;
    case Kind::Fraction:
        children(QLatin1String("mfrac"));
        break;
    case Kind::Sub:
        children(QLatin1String("msub"));
        break;
    case Kind::Sup:
        children(QLatin1String("msup"));
        break;
    case Kind::SubSup:
        children(QLatin1String("msubsup"));
        break;
    case Kind::Under:
        children(QLatin1String("munder"),
                 node.hasFlag(MathNode::Accent) ? QLatin1String("accentunder=\"true\"") : QLatin1String());
        break;
    case Kind::Over:
        children(QLatin1String("mover"),
                 node.hasFlag(MathNode::Accent) ? QLatin1String("accent=\"true\"") : QLatin1String());
        break;
    case Kind::UnderOver:
        children(QLatin1String("munderover"));
        break;
    case Kind::Sqrt:
        out += QLatin1String("<msqrt>");
        if (node.child(0).kind() == Kind::Row) {
            for (const MathNode &child : node.child(0).children())
                writeNode(child, out);
        } else {
            writeNode(node.child(0), out);
        }
        out += QLatin1String("</msqrt>");
        break;
    case Kind::Root:
        children(QLatin1String("mroot"));
        break;
    case Kind::Fenced: {
        out += QLatin1String("<mrow>");
        if (!node.open().isNull())
            element(out, QLatin1String("mo"), QString(node.open()));
        const MathNode &content = node.child(0);
        if (content.kind() == Kind::Row) {
            for (const MathNode &child : content.children())
                writeNode(child, out);
        } else {
            writeNode(content, out);
        }
        if (!node.close().isNull())
            element(out, QLatin1String("mo"), QString(node.close()));
        out += QLatin1String("</mrow>");
        break;
    }
    case Kind::Table:
        out += QLatin1String("<mtable>");
        for (const MathNode &tableRow : node.children()) {
            out += QLatin1String("<mtr>");
            for (const MathNode &cell : tableRow.children()) {
                out += QLatin1String("<mtd>");
                for (const MathNode &child : cell.children())
                    writeNode(child, out);
                out += QLatin1String("</mtd>");
            }
            out += QLatin1String("</mtr>");
        }
        out += QLatin1String("</mtable>");
        break;
    }
}
