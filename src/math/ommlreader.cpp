#include "math/ommlreader.h"

#include "math/linearwriter.h"
#include "math/mathsymbols.h"

namespace {

using Kind = MathNode::Kind;

bool isOn(const std::optional<QString> &value)
{
    return value && (*value == QLatin1String("1") || *value == QLatin1String("on") ||
                     *value == QLatin1String("true") || value->isEmpty());
}

QChar firstChar(const QString &text)
{
    return text.isEmpty() ? QChar() : text.at(0);
}

MathNode row(QList<MathNode> children)
{
    return MathNode(Kind::Row, std::move(children));
}

// A lone node stands for itself as an operand, as the linear reader's operands do.
MathNode operand(MathNode node)
{
    if (node.kind() == Kind::Row && node.children().size() == 1)
        return node.child(0);
    return node;
}

// The node a character stands for, with the flags the linear reader gives it (∑ is a large
// operator, Δ an upright letter).
MathNode symbolNode(const QString &text, Kind fallback)
{
    const MathSymbol *symbol = MathSymbols::findByOutput(text);
    if (!symbol && text.size() == 1 && text.at(0).unicode() < 0x80)
        symbol = MathSymbols::find(text); // "-" is the minus sign, "*" the dot
    if (symbol && symbol->type == MathSymbol::Type::Constant && symbol->kind != Kind::Text) {
        const QString output = QString::fromUtf16(symbol->output);
        return MathNode(symbol->kind, output.isEmpty() ? text : output, symbol->flags);
    }
    return MathNode(fallback, text);
}

MathNode accentNode(Kind kind, const QString &sign, MathNode base)
{
    return MathNode(kind, {operand(std::move(base)), MathNode(Kind::Operator, sign, MathNode::Stretchy)},
                    MathNode::Accent);
}

// OMML's accent characters are combining marks; the tree keeps the signs the linear names give.
QString accentSign(const QString &chr)
{
    switch (firstChar(chr).unicode()) {
    case 0x20D7: // combining right arrow above
    case 0x20D1: // harpoon
    case 0x2192:
        return QStringLiteral("→");
    case 0x0302:
    case 0x005E:
        return QStringLiteral("^");
    case 0x0304:
    case 0x0305:
    case 0x00AF:
        return QStringLiteral("¯");
    case 0x0307:
    case 0x02D9:
        return QStringLiteral(".");
    case 0x0308:
    case 0x00A8:
        return QStringLiteral("..");
    case 0x0303:
    case 0x007E:
        return QStringLiteral("~");
    default:
        return chr.isEmpty() ? QStringLiteral("^") : chr;
    }
}

class Reader
{
public:
    bool complete = true;

    MathNode argument(const OmmlElement *element, int depth)
    {
        QList<MathNode> out;
        if (element)
            children(out, element->children, depth + 1);
        return row(std::move(out));
    }

    void children(QList<MathNode> &out, const QList<OmmlElement> &elements, int depth)
    {
        for (const OmmlElement &element : elements)
            convert(out, element, depth);
    }

    void convert(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        const QString &name = e.name;
        if (name.endsWith(QLatin1String("Pr")) || (e.value && e.children.isEmpty() && e.text.isEmpty()))
            return; // properties are read by the element they belong to
        if (depth > OmmlElement::MaxDepth * 2) {
            complete = false;
            textOf(out, e);
            return;
        }
        if (name == QLatin1String("r"))
            run(out, e);
        else if (name == QLatin1String("mmath") || name == QLatin1String("oMath") ||
                 name == QLatin1String("e") || name == QLatin1String("box") ||
                 name == QLatin1String("borderBox"))
            children(out, e.children, depth + 1);
        else if (name == QLatin1String("oMathPara"))
            lines(out, e, depth);
        else if (name == QLatin1String("f"))
            out.append(MathNode(Kind::Fraction, {operand(argument(e.child(u"num"), depth)),
                                                 operand(argument(e.child(u"den"), depth))}));
        else if (name == QLatin1String("rad"))
            radical(out, e, depth);
        else if (name == QLatin1String("sSup") || name == QLatin1String("sSub") ||
                 name == QLatin1String("sSubSup"))
            scripts(out, e, depth);
        else if (name == QLatin1String("sPre"))
            prescripts(out, e, depth);
        else if (name == QLatin1String("nary"))
            nary(out, e, depth);
        else if (name == QLatin1String("d"))
            delimiters(out, e, depth);
        else if (name == QLatin1String("acc"))
            out.append(accentNode(Kind::Over, accentSign(e.property(u"chr").value_or(QStringLiteral("̂"))),
                                  argument(e.child(u"e"), depth)));
        else if (name == QLatin1String("bar"))
            bar(out, e, depth);
        else if (name == QLatin1String("groupChr"))
            groupCharacter(out, e, depth);
        else if (name == QLatin1String("limLow") || name == QLatin1String("limUpp"))
            out.append(MathNode(
                name == QLatin1String("limLow") ? Kind::Under : Kind::Over,
                {operand(argument(e.child(u"e"), depth)), operand(argument(e.child(u"lim"), depth))}));
        else if (name == QLatin1String("func"))
            function(out, e, depth);
        else if (name == QLatin1String("m"))
            out.append(MathNode::fenced(QChar(), QChar(), matrix(e, depth)));
        else if (name == QLatin1String("eqArr"))
            out.append(MathNode::fenced(QChar(), QChar(), equationArray(e, depth)));
        else if (name == QLatin1String("fName") || name == QLatin1String("num") ||
                 name == QLatin1String("den") || name == QLatin1String("sub") ||
                 name == QLatin1String("sup") || name == QLatin1String("deg") || name == QLatin1String("lim"))
            children(out, e.children, depth + 1); // an argument out of place: its content
        else {
            complete = false; // an element with no equation of ours: its text, never nothing
            textOf(out, e);
        }
    }

    // The characters of an element and all it holds, read as runs.
    void textOf(QList<MathNode> &out, const OmmlElement &e)
    {
        QString text;
        QList<const OmmlElement *> pending{&e};
        while (!pending.isEmpty()) {
            const OmmlElement *next = pending.takeFirst();
            if (next->name.endsWith(QLatin1String("Pr")))
                continue;
            text += next->text;
            for (qsizetype i = next->children.size() - 1; i >= 0; --i)
                pending.prepend(&next->children.at(i));
        }
        OmmlElement runElement(QStringLiteral("r"), text);
        run(out, runElement);
    }

    // Math alphanumerics (𝑎, 𝐅) are the letters typed here with a style: the letters they are.
    static QString plainLetters(const QString &text)
    {
        QString out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                const char32_t code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
                const QString pair = text.mid(i, 2);
                out += code >= 0x1D400 && code <= 0x1D7FF ? pair.normalized(QString::NormalizationForm_KC)
                                                          : pair;
                ++i;
                continue;
            }
            out += text.at(i);
        }
        return out;
    }

    void run(QList<MathNode> &out, const OmmlElement &r)
    {
        const QString text = plainLetters(r.text);
        if (r.property(u"nor") || r.property(u"lit")) {
            if (!text.trimmed().isEmpty())
                out.append(MathNode(Kind::Text, text));
            return;
        }
        const std::optional<QString> style = r.property(u"sty");
        const bool upright = style && (*style == QLatin1String("p") || *style == QLatin1String("0") ||
                                       *style == QLatin1String("b") || *style == QLatin1String("1"));
        for (qsizetype i = 0; i < text.size();) {
            const QChar c = text.at(i);
            if (c == u' ' || c == u'\t') {
                ++i;
                continue;
            }
            if (c.unicode() >= 0x2000 && c.unicode() <= 0x200A) {
                out.append(
                    MathNode(Kind::Space, c == u'\u2003' ? QStringLiteral("1") : QStringLiteral("0.167")));
                ++i;
                continue;
            }
            qsizetype j = i + 1;
            if (c.isDigit()) {
                while (j < text.size() &&
                       (text.at(j).isDigit() || ((text.at(j) == u',' || text.at(j) == u'.') &&
                                                 j + 1 < text.size() && text.at(j + 1).isDigit())))
                    ++j;
                out.append(MathNode(Kind::Number, text.mid(i, j - i)));
            } else if (c.isLetter()) {
                while (j < text.size() && text.at(j).isLetter())
                    ++j;
                letters(out, text.mid(i, j - i), upright);
            } else {
                if (c.isHighSurrogate() && j < text.size())
                    ++j;
                out.append(symbolNode(text.mid(i, j - i), Kind::Operator));
            }
            i = j;
        }
    }

    // A word of letters: a function's name is one identifier (sin, ln, lim), an upright word too
    // (a unit, a label); italic letters are a product, one identifier each, as typed here.
    static void letters(QList<MathNode> &out, const QString &word, bool upright)
    {
        const MathSymbol *symbol = MathSymbols::find(word);
        if (symbol && symbol->type == MathSymbol::Type::Function) {
            out.append(MathNode(Kind::Identifier, QString::fromUtf16(symbol->output), symbol->flags));
            return;
        }
        // An upright letter after a number is its unit: "9,81 N".
        const bool unit = upright && !out.isEmpty() &&
                          (out.last().kind() == Kind::Number || out.last().hasFlag(MathNode::Unit));
        if (upright && word.size() > 1) {
            out.append(MathNode(Kind::Identifier, word, unit ? MathNode::Unit : MathNode::NoFlag));
            return;
        }
        for (const QChar c : word) {
            MathNode letter = symbolNode(QString(c), Kind::Identifier);
            if (upright && letter.kind() == Kind::Identifier)
                letter.setFlags(letter.flags() | MathNode::Upright |
                                (unit ? MathNode::Unit : MathNode::NoFlag));
            out.append(letter);
        }
    }

    void lines(QList<MathNode> &out, const OmmlElement &paragraph, int depth)
    {
        QList<MathNode> rows;
        for (const OmmlElement &line : paragraph.children) {
            if (line.name == QLatin1String("oMath"))
                rows.append(row({argument(&line, depth)}));
        }
        if (rows.size() == 1)
            out.append(rows.first().child(0).children());
        else if (!rows.isEmpty())
            out.append(MathNode::fenced(QChar(), QChar(), MathNode(Kind::Table, rows)));
    }

    void radical(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        MathNode radicand = operand(argument(e.child(u"e"), depth));
        MathNode degree = operand(argument(e.child(u"deg"), depth));
        if (isOn(e.property(u"degHide")) || degree.isEmptyRow())
            out.append(MathNode(Kind::Sqrt, {std::move(radicand)}));
        else
            out.append(MathNode(Kind::Root, {std::move(radicand), std::move(degree)}));
    }

    void scripts(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        MathNode base = operand(argument(e.child(u"e"), depth));
        if (e.name == QLatin1String("sSup"))
            out.append(MathNode(Kind::Sup, {std::move(base), operand(argument(e.child(u"sup"), depth))}));
        else if (e.name == QLatin1String("sSub"))
            out.append(MathNode(Kind::Sub, {std::move(base), operand(argument(e.child(u"sub"), depth))}));
        else
            out.append(MathNode(Kind::SubSup, {std::move(base), operand(argument(e.child(u"sub"), depth)),
                                               operand(argument(e.child(u"sup"), depth))}));
    }

    // Scripts before their base: on an empty group, as {::}_a^b X is written.
    void prescripts(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        out.append(MathNode(Kind::SubSup, {MathNode::fenced(QChar(), QChar(), row({})),
                                           operand(argument(e.child(u"sub"), depth)),
                                           operand(argument(e.child(u"sup"), depth))}));
        children(out, e.child(u"e") ? e.child(u"e")->children : QList<OmmlElement>{}, depth + 1);
    }

    void nary(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        const QString sign = e.property(u"chr").value_or(QStringLiteral("∫"));
        MathNode op = symbolNode(sign.isEmpty() ? QStringLiteral("∫") : sign, Kind::Operator);
        op.setFlags(op.flags() | MathNode::LargeOperator);
        // Limits go under and over unless said otherwise; integrals keep them beside.
        const std::optional<QString> location = e.property(u"limLoc");
        const bool beside = location ? *location == QLatin1String("subSup") : sign == QStringLiteral("∫");
        if (!beside)
            op.setFlags(op.flags() | MathNode::Limits);
        MathNode sub = isOn(e.property(u"subHide")) ? row({}) : operand(argument(e.child(u"sub"), depth));
        MathNode sup = isOn(e.property(u"supHide")) ? row({}) : operand(argument(e.child(u"sup"), depth));
        const bool hasSub = !sub.isEmptyRow();
        const bool hasSup = !sup.isEmptyRow();
        if (hasSub && hasSup)
            out.append(MathNode(beside ? Kind::SubSup : Kind::UnderOver, {op, sub, sup}));
        else if (hasSub)
            out.append(MathNode(beside ? Kind::Sub : Kind::Under, {op, sub}));
        else if (hasSup)
            out.append(MathNode(beside ? Kind::Sup : Kind::Over, {op, sup}));
        else
            out.append(op);
        if (const OmmlElement *body = e.child(u"e"))
            children(out, body->children, depth + 1);
    }

    void delimiters(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        const QChar open = firstChar(e.property(u"begChr").value_or(QStringLiteral("(")));
        const QChar close = firstChar(e.property(u"endChr").value_or(QStringLiteral(")")));
        const QString separator = e.property(u"sepChr").value_or(QStringLiteral("|"));
        QList<const OmmlElement *> parts;
        for (const OmmlElement &child : e.children) {
            if (child.name == QLatin1String("e"))
                parts.append(&child);
        }
        // A matrix in brackets is the bracketed matrix.
        if (parts.size() == 1 && parts.first()->children.size() == 1 &&
            parts.first()->children.first().name == QLatin1String("m")) {
            out.append(MathNode::fenced(open, close, matrix(parts.first()->children.first(), depth + 1)));
            return;
        }
        QList<MathNode> content;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0 && !separator.isEmpty())
                content.append(symbolNode(separator, Kind::Operator));
            children(content, parts.at(i)->children, depth + 1);
        }
        out.append(MathNode::fenced(open, close, row(std::move(content))));
    }

    void bar(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        const bool top = e.property(u"pos").value_or(QStringLiteral("bot")) == QLatin1String("top");
        out.append(accentNode(top ? Kind::Over : Kind::Under, top ? QStringLiteral("¯") : QStringLiteral("̲"),
                              argument(e.child(u"e"), depth)));
    }

    void groupCharacter(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        const QString sign = e.property(u"chr").value_or(QStringLiteral("⏟"));
        const bool top = e.property(u"pos").value_or(QStringLiteral("bot")) == QLatin1String("top");
        out.append(accentNode(top ? Kind::Over : Kind::Under, sign.isEmpty() ? QStringLiteral("⏟") : sign,
                              argument(e.child(u"e"), depth)));
    }

    // sin x, sin(x + 1): the name, then what it applies to, bracketed when it is more than one
    // operand so that the linear text keeps it whole.
    void function(QList<MathNode> &out, const OmmlElement &e, int depth)
    {
        MathNode name = argument(e.child(u"fName"), depth);
        for (MathNode &part : name.children()) {
            if (part.kind() == Kind::Identifier && part.text().size() > 1)
                part.setFlags(part.flags() | MathNode::Function);
        }
        MathNode body = argument(e.child(u"e"), depth);
        out.append(name.children());
        if (body.children().size() > 1)
            out.append(MathNode::fenced(u'(', u')', std::move(body)));
        else
            out.append(body.children());
    }

    MathNode matrix(const OmmlElement &m, int depth)
    {
        QList<MathNode> rows;
        for (const OmmlElement &line : m.children) {
            if (line.name != QLatin1String("mr"))
                continue;
            QList<MathNode> cells;
            for (const OmmlElement &cell : line.children) {
                if (cell.name == QLatin1String("e"))
                    cells.append(argument(&cell, depth + 1));
            }
            rows.append(row(std::move(cells)));
        }
        return MathNode(Kind::Table, std::move(rows));
    }

    MathNode equationArray(const OmmlElement &array, int depth)
    {
        QList<MathNode> rows;
        for (const OmmlElement &line : array.children) {
            if (line.name == QLatin1String("e"))
                rows.append(row({argument(&line, depth + 1)}));
        }
        return MathNode(Kind::Table, std::move(rows));
    }
};

} // namespace

OmmlReader::Result OmmlReader::read(const OmmlElement &zone)
{
    Reader reader;
    QList<MathNode> out;
    reader.convert(out, zone, 0);
    return Result{row(std::move(out)), reader.complete};
}

QString OmmlReader::linear(const OmmlElement &zone)
{
    return LinearWriter::write(read(zone).tree);
}
