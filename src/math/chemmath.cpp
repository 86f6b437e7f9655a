#include "math/chemmath.h"

#include "chem/chemformula.h"

namespace {

using Kind = MathNode::Kind;

// A label is read as chemistry once; what a label's label would hold is shown as text.
constexpr int kMaxLabelDepth = 2;

// The blank typed between two words of chemistry (2 H2O, a label's words), in em: the math font's
// word space, as the equation's own text words are set apart.
const QString kWordSpace = QStringLiteral("0.25");
// The thin space between a number and its unit, as the SI writes it (1/6 em, TeX's \,).
const QString kThinSpace = QStringLiteral("0.167");

QString arrowOf(QStringView typed)
{
    if (typed == u"->")
        return QStringLiteral("→");
    if (typed == u"<-")
        return QStringLiteral("←");
    if (typed == u"<->")
        return QStringLiteral("↔");
    if (typed == u"<-->")
        return QStringLiteral("⇄");
    return QStringLiteral("⇌"); // <=>, and its unbalanced forms <=>> and <<=>
}

QString withoutBraces(const QString &label)
{
    return label.startsWith(u'{') && label.endsWith(u'}') ? label.mid(1, label.size() - 2) : label;
}

// Signs and arrows, labelled or not: the equation spaces them by their class.
bool isOperator(const MathNode &node)
{
    if (node.kind() == Kind::Under || node.kind() == Kind::Over || node.kind() == Kind::UnderOver)
        return isOperator(node.child(0));
    return node.kind() == Kind::Operator;
}

class Builder
{
public:
    explicit Builder(int depth) : m_depth(depth) {}

    MathNode read(const QString &chemistry)
    {
        const QList<ChemRun> runs = ChemFormula::parse(chemistry);
        for (qsizetype r = 0; r < runs.size(); ++r) {
            const ChemRun &run = runs.at(r);
            // 3/2 O2: the coefficient is a small fraction.
            if (run.kind == ChemRun::Exponent && r + 2 < runs.size() &&
                runs.at(r + 1).kind == ChemRun::SymbolCharacter &&
                runs.at(r + 1).text == QChar(ChemFormula::kFractionSlash) &&
                runs.at(r + 2).kind == ChemRun::Index) {
                append(MathNode(Kind::Fraction, {MathNode(Kind::Number, run.text),
                                                 MathNode(Kind::Number, runs.at(r + 2).text)}));
                r += 2;
                continue;
            }
            add(run, QStringView(chemistry).mid(run.start, run.length));
        }
        return MathNode(Kind::Row, std::move(m_items));
    }

private:
    void add(const ChemRun &run, QStringView typed)
    {
        switch (run.kind) {
        case ChemRun::Baseline:
            if (run.text.isEmpty()) // {} separates: what follows is scripted on nothing
                append(MathNode(Kind::Row));
            text(run.text);
            break;
        case ChemRun::Index:
        case ChemRun::Exponent:
            attach(run.kind == ChemRun::Exponent, script(run.text));
            break;
        case ChemRun::Italic:
            append(MathNode(Kind::Identifier, run.text));
            break;
        case ChemRun::SymbolCharacter: {
            const uchar code = run.text.isEmpty() ? 0 : uchar(run.text.at(0).unicode());
            const QString shown(ChemFormula::symbolCharacter(code));
            const bool letter = shown.at(0).isLetter(); // a Greek letter, upright as the Symbol font's
            append(letter ? MathNode(Kind::Identifier, shown, MathNode::Upright)
                          : MathNode(Kind::Operator, shown));
            break;
        }
        case ChemRun::ReversibleArrows:
            append(MathNode(Kind::Operator, arrowOf(typed)));
            break;
        case ChemRun::Ion: {
            text(run.text);
            MathNode base = m_items.isEmpty() ? MathNode(Kind::Row) : m_items.takeLast();
            m_items.append(MathNode(Kind::SubSup, {std::move(base), script(run.lower), script(run.upper)}));
            break;
        }
        case ChemRun::Nuclide:
            nuclide(run);
            break;
        case ChemRun::LabelledArrow:
            labelledArrow(run);
            break;
        }
    }

    // Words and signs on the baseline: letters upright, digits as numbers, signs as operators so
    // that the equation spaces them.
    void text(QStringView t)
    {
        qsizetype i = 0;
        while (i < t.size()) {
            const QChar c = t.at(i);
            qsizetype j = i + 1;
            if (c == ChemFormula::kNumberUnitSpace) {
                m_space = false;
                m_items.append(MathNode(Kind::Space, kThinSpace));
            } else if (c.isSpace()) {
                m_space = !m_items.isEmpty();
            } else if (c.isDigit()) {
                while (j < t.size() && (t.at(j).isDigit() || ((t.at(j) == u',' || t.at(j) == u'.') &&
                                                              j + 1 < t.size() && t.at(j + 1).isDigit())))
                    ++j;
                append(MathNode(Kind::Number, t.mid(i, j - i).toString()));
            } else if (c.isLetter()) {
                while (j < t.size() && t.at(j).isLetter())
                    ++j;
                append(MathNode(Kind::Identifier, t.mid(i, j - i).toString(), MathNode::Upright));
            } else if (c == u'-') {
                append(MathNode(Kind::Operator, QStringLiteral("−")));
            } else if (c == ChemFormula::kMiddleDot) {
                // An addition compound's dot is an operator; a radical's dot (in a script) a sign.
                append(MathNode(Kind::Operator, m_depth < 0 ? QStringLiteral("·") : QStringLiteral("⋅")));
            } else {
                if (c.isHighSurrogate() && j < t.size())
                    ++j;
                append(MathNode(Kind::Operator, t.mid(i, j - i).toString()));
            }
            i = j;
        }
    }

    MathNode script(const QString &t) const
    {
        Builder inner(-1);
        inner.text(t);
        return MathNode(Kind::Row, std::move(inner.m_items));
    }

    void append(MathNode node)
    {
        // A blank becomes a word space between words; beside a sign or a fraction (3/2 O2) the
        // equation's own spacing does the work.
        if (m_space && !m_items.isEmpty() && !isOperator(m_items.last()) && !isOperator(node) &&
            m_items.last().kind() != Kind::Fraction)
            m_items.append(MathNode(Kind::Space, kWordSpace));
        m_space = false;
        m_items.append(std::move(node));
    }

    // A count or a charge goes on what was written last; an index after a charge (Cl^-_{(aq)})
    // and a charge after an index (X_{ox}^{2+}) stack with it.
    void attach(bool upper, MathNode script)
    {
        MathNode base = m_items.isEmpty() || m_space ? MathNode(Kind::Row) : m_items.takeLast();
        m_space = false;
        if (base.kind() == Kind::Sup && !upper)
            base = MathNode(Kind::SubSup, {base.child(0), std::move(script), base.child(1)});
        else if (base.kind() == Kind::Sub && upper)
            base = MathNode(Kind::SubSup, {base.child(0), base.child(1), std::move(script)});
        else
            base = MathNode(upper ? Kind::Sup : Kind::Sub, {std::move(base), std::move(script)});
        m_items.append(std::move(base));
    }

    // The mass number over the atomic number before the symbol, both ending where the symbol
    // begins: the shorter is pushed right by half an em a character, the math font's digit width.
    void nuclide(const ChemRun &run)
    {
        MathNode upper = script(run.upper);
        MathNode lower = script(run.lower);
        const qsizetype difference = run.upper.size() - run.lower.size();
        MathNode &shorter = difference > 0 ? lower : upper;
        if (difference != 0)
            shorter.children().prepend(MathNode(Kind::Space, QString::number(0.5 * std::abs(difference))));
        append(run.lower.isEmpty()
                   ? MathNode(Kind::Sup, {MathNode(Kind::Row), std::move(upper)})
                   : MathNode(Kind::SubSup, {MathNode(Kind::Row), std::move(lower), std::move(upper)}));
        m_items.append(MathNode(Kind::Identifier, run.text, MathNode::Upright));
    }

    // ->[above][below]: the labels over and under a stretchy arrow. A braced label is text as
    // typed; otherwise it is chemistry (<=>[+ H2O]).
    void labelledArrow(const ChemRun &run)
    {
        const auto label = [this](const QString &typed) {
            if (typed.startsWith(u'{') || m_depth + 1 >= kMaxLabelDepth)
                return MathNode(Kind::Text, withoutBraces(typed));
            return Builder(m_depth + 1).read(typed);
        };
        MathNode arrow(Kind::Operator, arrowOf(run.text), MathNode::Stretchy);
        if (run.lower.isEmpty())
            append(MathNode(Kind::Over, {std::move(arrow), label(run.upper)}));
        else if (run.upper.isEmpty())
            append(MathNode(Kind::Under, {std::move(arrow), label(run.lower)}));
        else
            append(MathNode(Kind::UnderOver, {std::move(arrow), label(run.lower), label(run.upper)}));
    }

    int m_depth = 0; // -1 in a script
    QList<MathNode> m_items;
    bool m_space = false; // a blank was typed since the last node
};

} // namespace

MathNode ChemMath::toMath(const QString &chemistry)
{
    MathNode node(Kind::Row, chemistry);
    node.children() = Builder(0).read(chemistry).children();
    return node;
}
