#include "math/equation.h"

#include "math/linearwriter.h"
#include "math/mathmlwriter.h"
#include "math/mathparser.h"

#include <QSharedData>

class EquationData : public QSharedData
{
public:
    QString linear;
    MathNode tree;
};

namespace {

const QExplicitlySharedDataPointer<EquationData> &emptyData()
{
    static const QExplicitlySharedDataPointer<EquationData> empty(new EquationData);
    return empty;
}

} // namespace

Equation::Equation() : m_data(emptyData())
{}

Equation::~Equation() = default;
Equation::Equation(const Equation &other) = default;
Equation &Equation::operator=(const Equation &other) = default;

Equation Equation::fromLinear(const QString &text)
{
    Equation equation;
    equation.m_data = new EquationData;
    equation.m_data->linear = text;
    equation.m_data->tree = MathParser::parse(text);
    return equation;
}

QString Equation::linear() const
{
    return m_data->linear;
}

QString Equation::normalizedLinear() const
{
    return LinearWriter::write(m_data->tree);
}

QString Equation::mathml() const
{
    return MathMlWriter::write(m_data->tree);
}

const MathNode &Equation::tree() const
{
    return m_data->tree;
}

bool Equation::isEmpty() const
{
    return m_data->tree.children().isEmpty();
}
