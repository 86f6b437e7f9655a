#include "math/mathparser.h"

#include "math/chemmath.h"

namespace {

using Kind = MathNode::Kind;

class DepthGuard
{
public:
    explicit DepthGuard(int &depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard &) = delete;
    DepthGuard &operator=(const DepthGuard &) = delete;

private:
    int &m_depth;
};

MathNode row(QList<MathNode> children)
{
    return MathNode(Kind::Row, std::move(children));
}

MathNode asRow(MathNode node)
{
    return node.kind() == Kind::Row ? node : row({std::move(node)});
}

// AsciiMath drops the brackets around an operand of /, _, ^ and of functions such as sqrt:
// (Delta x)/(Delta t) is a fraction of Δx over Δt. A lone child stands for itself.
MathNode strip(MathNode node)
{
    if (node.kind() == Kind::Fenced && QStringLiteral("([{").contains(node.open()) &&
        !node.close().isNull() && node.child(0).kind() == Kind::Row) {
        MathNode content = node.child(0);
        return content.children().size() == 1 ? content.child(0) : content;
    }
    return node;
}

QChar closing(QChar open)
{
    switch (open.unicode()) {
    case u'⌊':
        return u'⌋';
    case u'⌈':
        return u'⌉';
    default:
        return open;
    }
}

bool isSeparator(const MathNode &node)
{
    return node.kind() == Kind::Operator &&
           (node.text() == QLatin1String(",") || node.text() == QLatin1String(";"));
}

// [[a, b], [c, d]] and ((a, b), (c, d)): bracketed rows of as many cells, separated by commas or
// semicolons, make a matrix in the outer brackets.
MathNode fencedOrMatrix(QChar open, QChar close, QList<MathNode> items)
{
    if (items.size() >= 3 && items.size() % 2 == 1) {
        QList<MathNode> rows;
        qsizetype columns = -1;
        const QChar rowOpen = items.at(0).kind() == Kind::Fenced ? items.at(0).open() : QChar();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const MathNode &item = items.at(i);
            if (i % 2 == 1) {
                if (!isSeparator(item))
                    return MathNode::fenced(open, close, row(std::move(items)));
                continue;
            }
            if (item.kind() != Kind::Fenced || item.open() != rowOpen ||
                (rowOpen != u'(' && rowOpen != u'[') || item.close().isNull())
                return MathNode::fenced(open, close, row(std::move(items)));
            QList<MathNode> cells{row({})};
            for (const MathNode &child : item.child(0).children()) {
                if (isSeparator(child))
                    cells.append(row({}));
                else
                    cells.last().children().append(child);
            }
            if (columns >= 0 && cells.size() != columns)
                return MathNode::fenced(open, close, row(std::move(items)));
            columns = cells.size();
            rows.append(row(std::move(cells)));
        }
        return MathNode::fenced(open, close, MathNode(Kind::Table, std::move(rows)));
    }
    return MathNode::fenced(open, close, row(std::move(items)));
}

QString shown(const MathSymbol *symbol)
{
    const QString output = QString::fromUtf16(symbol->output);
    return output.isEmpty() ? QString::fromUtf8(symbol->name) : output;
}

bool isIndexWord(const QString &word)
{
    for (const QChar c : word) {
        if (!QStringLiteral("ijklmn").contains(c))
            return false;
    }
    return true;
}

} // namespace

MathParser::MathParser(const QString &text) : m_input(text), m_tokens(MathTokenizer::tokenize(text))
{}

MathNode MathParser::parse(const QString &text)
{
    MathParser parser(text);
    bool byBar = false;
    bool byBracket = false;
    return row(parser.parseRow(false, byBar, byBracket));
}

const MathToken *MathParser::peek(qsizetype ahead) const
{
    if (ahead < m_pending.size())
        return &m_pending.at(ahead);
    ahead -= m_pending.size();
    return m_next + ahead < m_tokens.size() ? &m_tokens.at(m_next + ahead) : nullptr;
}

MathToken MathParser::take()
{
    if (!m_pending.isEmpty())
        return m_pending.takeFirst();
    return m_tokens.at(m_next++);
}

// What closes the row being read is left for its owner to take.
bool MathParser::atRowEnd() const
{
    const MathToken *token = peek();
    if (!token)
        return true;
    if (token->type != MathToken::Type::Symbol)
        return false;
    return (token->symbol->type == MathSymbol::Type::RightBracket && m_brackets > 0) ||
           (token->symbol->type == MathSymbol::Type::Bar && m_stopAtBar);
}

bool MathParser::isUnitWord(qsizetype ahead) const
{
    const MathToken *token = peek(ahead);
    if (!token || token->type != MathToken::Type::Letters || !MathSymbols::isUnit(token->text))
        return false;
    const MathToken *after = peek(ahead + 1);
    return token->text.size() > 1 || !after || after->type != MathToken::Type::Letters;
}

QList<MathNode> MathParser::parseRow(bool stopAtBar, bool &closedByBar, bool &closedByBracket)
{
    const bool outerStopAtBar = m_stopAtBar;
    m_stopAtBar = stopAtBar;
    QList<MathNode> items;
    bool unitRun = false;
    closedByBar = closedByBracket = false;
    while (const MathToken *token = peek()) {
        if (token->type == MathToken::Type::Symbol) {
            if (token->symbol->type == MathSymbol::Type::RightBracket && m_brackets > 0) {
                closedByBracket = true;
                break;
            }
            if (token->symbol->type == MathSymbol::Type::Bar && stopAtBar) {
                closedByBar = true;
                break;
            }
            // A closing bracket with nothing open stands alone in the row: it takes no scripts
            // and is nobody's argument, so that written back it cannot close anything.
            if (token->symbol->type == MathSymbol::Type::RightBracket) {
                items.append(MathNode(Kind::Operator, shown(take().symbol)));
                unitRun = false;
                continue;
            }
        }
        const bool afterNumber = !items.isEmpty() && items.last().kind() == Kind::Number;
        if ((afterNumber || unitRun) && token->spaceBefore && isUnitWord(0)) {
            m_unitNext = true;
        } else if (unitRun && token->type == MathToken::Type::Symbol &&
                   (token->text == QLatin1String(".") || token->text == QLatin1String("*")) &&
                   isUnitWord(1)) {
            take();
            items.append(MathNode(Kind::Operator, QStringLiteral("⋅"), MathNode::Unit));
            m_unitNext = true;
            continue;
        }
        m_flatten = false;
        MathNode node = parseElement();
        m_unitNext = false;
        unitRun = node.hasFlag(MathNode::Unit) || ((node.kind() == Kind::Sup || node.kind() == Kind::Sub) &&
                                                   node.child(0).hasFlag(MathNode::Unit));
        if (m_flatten && node.kind() == Kind::Row)
            items.append(node.children());
        else
            items.append(std::move(node));
    }
    m_stopAtBar = outerStopAtBar;
    return items;
}

MathNode MathParser::parseElement()
{
    MathNode node = parseIntermediate();
    int chain = 0;
    while (peek() && peek()->type == MathToken::Type::Slash && m_depth + chain < MaxDepth) {
        take();
        ++chain; // a/b/c nests to the left: each link counts as one level
        const DepthGuard guard(m_depth);
        MathNode denominator = atRowEnd() ? row({}) : parseIntermediate();
        node = MathNode(Kind::Fraction, {strip(std::move(node)), strip(std::move(denominator))});
    }
    return node;
}

MathNode MathParser::parseIntermediate()
{
    MathNode base = parseSimple(false);
    const bool limits = base.hasFlag(MathNode::Limits);
    const bool function = base.hasFlag(MathNode::Function) && !limits;
    if (m_depth < MaxDepth && peek() && peek()->type == MathToken::Type::Sub) {
        take();
        MathNode sub = parseScript(false);
        if (peek() && peek()->type == MathToken::Type::Sup) {
            take();
            MathNode sup = parseScript(true);
            base = MathNode(limits ? Kind::UnderOver : Kind::SubSup,
                            {std::move(base), std::move(sub), std::move(sup)});
        } else {
            base = MathNode(limits ? Kind::Under : Kind::Sub, {std::move(base), std::move(sub)});
        }
    } else if (m_depth < MaxDepth && peek() && peek()->type == MathToken::Type::Sup) {
        take();
        MathNode sup = parseScript(true);
        if (peek() && peek()->type == MathToken::Type::Sub) {
            take();
            MathNode sub = parseScript(false);
            // x^b_a^c: the last exponent goes on b, as it would in x_a^b^c, the order written back.
            if (m_depth < MaxDepth && peek() && peek()->type == MathToken::Type::Sup) {
                take();
                sup = MathNode(Kind::Sup, {std::move(sup), parseScript(true)});
            }
            base = MathNode(limits ? Kind::UnderOver : Kind::SubSup,
                            {std::move(base), std::move(sub), std::move(sup)});
        } else {
            base = MathNode(limits ? Kind::Over : Kind::Sup, {std::move(base), std::move(sup)});
        }
    }
    // sin x, sin(x), sin^2 x: the name and what it applies to make one group, so that
    // sin(x)/x divides the whole.
    if (function && m_depth < MaxDepth && startsArgument(peek())) {
        const DepthGuard guard(m_depth);
        MathNode argument = parseIntermediate();
        return row({std::move(base), std::move(argument)});
    }
    return base;
}

MathNode MathParser::parseScript(bool superscript)
{
    const DepthGuard guard(m_depth);
    if (atRowEnd())
        return row({});
    // x^-2: the minus belongs to the exponent.
    const MathToken *sign = peek();
    const MathToken *number = peek(1);
    if (sign->type == MathToken::Type::Symbol && sign->text == QLatin1String("-") && number &&
        number->type == MathToken::Type::Number && !number->spaceBefore) {
        take();
        const MathToken digits = take();
        return row({MathNode(Kind::Operator, QStringLiteral("−")), MathNode(Kind::Number, digits.text)});
    }
    MathNode script = strip(parseSimple(true));
    if (superscript && m_depth < MaxDepth && peek() && peek()->type == MathToken::Type::Sup) {
        take(); // a^b^c reads a^(b^c)
        MathNode upper = parseScript(true);
        return MathNode(Kind::Sup, {std::move(script), std::move(upper)});
    }
    return script;
}

bool MathParser::startsArgument(const MathToken *token) const
{
    if (!token || atRowEnd())
        return false;
    const MathSymbol *symbol = token->symbol;
    if (token->type == MathToken::Type::Letters) {
        // The run reads as its first name: "sinEE" is sin ∃, no argument.
        symbol = MathSymbols::longestMatch(token->text, 0);
        if (!symbol || symbol->type == MathSymbol::Type::Definition)
            return true;
    }
    switch (token->type) {
    case MathToken::Type::Number:
    case MathToken::Type::Text:
        return true;
    case MathToken::Type::Letters:
    case MathToken::Type::Symbol:
        switch (symbol->type) {
        case MathSymbol::Type::Constant:
            return symbol->kind == Kind::Identifier ||
                   symbol->kind == Kind::Text; // and, or, if: as if quoted
        case MathSymbol::Type::RightBracket:
        case MathSymbol::Type::Space:
        case MathSymbol::Type::Definition:
            return false;
        default:
            return true;
        }
    default:
        return false;
    }
}

MathNode MathParser::parseSimple(bool script)
{
    const MathToken *next = peek();
    if (atRowEnd() ||
        (next->type == MathToken::Type::Symbol && next->symbol->type == MathSymbol::Type::RightBracket))
        return row({});
    const MathToken token = take();
    switch (token.type) {
    case MathToken::Type::Number:
        return MathNode(Kind::Number, token.text);
    case MathToken::Type::Text:
        return MathNode(Kind::Text, token.text);
    case MathToken::Type::Chemistry:
        return ChemMath::toMath(token.text);
    case MathToken::Type::Letters: {
        if (m_unitNext) {
            m_unitNext = false;
            const quint8 upright = token.text.size() == 1 ? MathNode::Upright : MathNode::NoFlag;
            return MathNode(Kind::Identifier, token.text, MathNode::Unit | upright);
        }
        if (script && token.text.size() > 1 && !MathSymbols::longestMatch(token.text, 0)) {
            if (!isIndexWord(token.text))
                return MathNode(Kind::Identifier, token.text);
            QList<MathNode> indices; // a_ij: both indices go down
            for (const QChar c : token.text)
                indices.append(MathNode(Kind::Identifier, QString(c)));
            return row(std::move(indices));
        }
        if (token.text.size() == 1 && !MathSymbols::findByOutput(token.text))
            return MathNode(Kind::Identifier, token.text);
        m_pending = MathTokenizer::splitLetters(token) + m_pending;
        return parseSimple(script);
    }
    case MathToken::Type::Symbol:
        return parseSymbol(token);
    default:
        return MathNode(Kind::Operator, token.text);
    }
}

MathNode MathParser::parseSymbol(const MathToken &token)
{
    const MathSymbol *symbol = token.symbol;
    const QString output = QString::fromUtf16(symbol->output);
    const bool deep = m_depth >= MaxDepth;
    switch (symbol->type) {
    case MathSymbol::Type::Constant:
        return MathNode(symbol->kind, output, symbol->flags);
    case MathSymbol::Type::Function:
        return MathNode(Kind::Identifier, output, symbol->flags);
    case MathSymbol::Type::Space:
        return MathNode(Kind::Space, output);
    case MathSymbol::Type::LeftBracket: {
        // An empty pair costs no depth: read at any level, it stays a group, as the "()" the
        // writer gives an empty operand must.
        const MathToken *next = peek();
        if (deep && next && next->type == MathToken::Type::Symbol &&
            next->symbol->type == MathSymbol::Type::RightBracket) {
            const QString close = QString::fromUtf16(take().symbol->output);
            return MathNode::fenced(output.isEmpty() ? QChar() : output.at(0),
                                    close.isEmpty() ? QChar() : close.at(0), row({}));
        }
        return deep ? MathNode(Kind::Operator, shown(symbol)) : parseBracket(token);
    }
    case MathSymbol::Type::RightBracket:
        return MathNode(Kind::Operator, shown(symbol));
    case MathSymbol::Type::Bar:
        return deep ? MathNode(Kind::Operator, output) : parseBar(token);
    case MathSymbol::Type::Definition:
        return MathNode(Kind::Identifier, output);
    case MathSymbol::Type::Unary:
    case MathSymbol::Type::Binary:
    case MathSymbol::Type::Accent:
        return deep ? MathNode(Kind::Text, QString::fromUtf8(symbol->name)) : parseUnary(token);
    }
    return MathNode(Kind::Operator, output);
}

MathNode MathParser::parseBracket(const MathToken &open)
{
    const DepthGuard guard(m_depth);
    ++m_brackets;
    bool byBar = false;
    bool byBracket = false;
    QList<MathNode> items = parseRow(false, byBar, byBracket);
    --m_brackets;
    const QString openText = QString::fromUtf16(open.symbol->output);
    const QChar openChar = openText.isEmpty() ? QChar() : openText.at(0);
    if (byBracket) {
        const QString closeText = QString::fromUtf16(take().symbol->output);
        return fencedOrMatrix(openChar, closeText.isEmpty() ? QChar() : closeText.at(0), std::move(items));
    }
    // Never closed: the bracket is shown as typed and what followed it stays in the row.
    items.prepend(MathNode(Kind::Operator, shown(open.symbol)));
    m_flatten = true;
    // Open to the end of the text, it takes all that follows; stopped by an outer closing
    // bracket, it is bounded like any group.
    return MathNode(Kind::Row, std::move(items), peek() ? MathNode::NoFlag : MathNode::Unclosed);
}

MathNode MathParser::parseBar(const MathToken &bar)
{
    const DepthGuard guard(m_depth);
    const QChar sign = QString::fromUtf16(bar.symbol->output).at(0);
    bool byBar = false;
    bool byBracket = false;
    QList<MathNode> items = parseRow(true, byBar, byBracket);
    if (byBar) {
        take();
        return MathNode::fenced(sign, sign, row(std::move(items)));
    }
    items.prepend(MathNode(Kind::Operator, QString(sign)));
    m_flatten = true;
    // Open to the end of the text, it takes all that follows; stopped by an outer closing
    // bracket, it is bounded like any group.
    return MathNode(Kind::Row, std::move(items), peek() ? MathNode::NoFlag : MathNode::Unclosed);
}

// text(…) keeps what is between its brackets as typed, spaces included.
MathNode MathParser::parseRawText()
{
    const MathToken *open = peek();
    if (!open || open->type != MathToken::Type::Symbol ||
        open->symbol->type != MathSymbol::Type::LeftBracket || !m_pending.isEmpty()) {
        if (open && open->type == MathToken::Type::Letters)
            return MathNode(Kind::Text, take().text);
        return MathNode(Kind::Text);
    }
    const QChar openChar = m_input.at(open->position);
    const QChar closeChar = openChar == u'(' ? u')' : openChar == u'[' ? u']' : u'}';
    int level = 0;
    qsizetype i = open->end;
    for (; i < m_input.size(); ++i) {
        if (m_input.at(i) == openChar)
            ++level;
        else if (m_input.at(i) == closeChar && level-- == 0)
            break;
    }
    const QString text = m_input.mid(open->end, i - open->end);
    while (m_next < m_tokens.size() && m_tokens.at(m_next).position <= i)
        ++m_next;
    return MathNode(Kind::Text, text);
}

MathNode MathParser::parseUnary(const MathToken &token)
{
    const DepthGuard guard(m_depth);
    const MathSymbol *symbol = token.symbol;
    const QString output = QString::fromUtf16(symbol->output);
    if (symbol->kind == Kind::Text)
        return parseRawText();
    if (symbol->type == MathSymbol::Type::Binary) {
        MathNode first = strip(parseSimple(false));
        MathNode second = strip(parseSimple(false));
        switch (symbol->kind) {
        case Kind::Fraction:
            return MathNode(Kind::Fraction, {std::move(first), std::move(second)});
        case Kind::Root:
            return MathNode(Kind::Root, {std::move(second), std::move(first)});
        default: // stackrel, overset, underset: the first argument goes over or under the second
            return MathNode(symbol->kind, {std::move(second), std::move(first)});
        }
    }
    if (symbol->type == MathSymbol::Type::Accent) {
        MathNode base = strip(parseSimple(false));
        return MathNode(symbol->kind, {std::move(base), MathNode(Kind::Operator, output, MathNode::Stretchy)},
                        MathNode::Accent);
    }
    if (symbol->kind == Kind::Sqrt) {
        // \sqrt[3]{x}: LaTeX's optional index.
        const MathToken *next = peek();
        if (token.latex && next && next->type == MathToken::Type::Symbol &&
            next->text == QLatin1String("[")) {
            MathNode index = strip(parseSimple(false));
            MathNode radicand = strip(parseSimple(false));
            return MathNode(Kind::Root, {std::move(radicand), std::move(index)});
        }
        return MathNode(Kind::Sqrt, {strip(parseSimple(false))});
    }
    // abs, norm, floor, ceil
    MathNode content = asRow(strip(parseSimple(false)));
    return MathNode::fenced(output.at(0), closing(output.at(0)), std::move(content));
}
