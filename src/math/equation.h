#pragma once

#include "math/mathnode.h"

#include <QExplicitlySharedDataPointer>
#include <QString>

class EquationData;

// An equation as the program keeps it: the linear text as typed and the tree read from it.
// Immutable and implicitly shared: a copy costs a reference count, so a document holding a
// thousand equations holds each tree once. Reading never fails (see MathParser).
class Equation
{
public:
    Equation();
    ~Equation();
    Equation(const Equation &other);
    Equation &operator=(const Equation &other);

    static Equation fromLinear(const QString &text);

    QString linear() const;           // as typed
    QString normalizedLinear() const; // one spelling per sign; reads back to the same tree
    QString mathml() const;           // one <math> element of presentation MathML
    const MathNode &tree() const;     // a Row
    bool isEmpty() const;             // nothing but spaces was typed
    // An identity for caches: equal for copies of one equation, never reused while one lives.
    const void *key() const { return m_data.data(); }

private:
    QExplicitlySharedDataPointer<EquationData> m_data;
};
