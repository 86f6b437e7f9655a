#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// One element of an Office Math zone as word processors store it in RTF: OMML's element names
// written as control words ("\mf" is <m:f>, "\mnum" is <m:num>). The reader builds these trees
// and the writer writes them; what they mean as mathematics is the math library's business.
//
// - `name` is the control word without its "m": "oMath", "f", "num", "sSup", "r", "chr"…;
// - a property's value is the text of its group ("{\mchr ∑}", "{\mtype noBar}") or the word's
//   parameter when it is given as a flag inside another group ("{\mr\msty2 a}");
// - text directly inside an argument (e, num, den…) becomes a run ("r") of its own, in order
//   with the elements beside it; in any other element it is that element's `text`.
//
// Trees are never deeper than MaxDepth: the reader puts deeper content into the deepest element
// it keeps, so walking a tree recursively is safe.
struct OmmlElement
{
    static constexpr int MaxDepth = 48;

    QString name;
    QString text;
    std::optional<int> value;
    QList<OmmlElement> children;

    OmmlElement() = default;
    explicit OmmlElement(const QString &elementName, const QString &elementText = QString())
        : name(elementName), text(elementText)
    {}

    // The first child called `childName`, or nullptr.
    const OmmlElement *child(QStringView childName) const
    {
        for (const OmmlElement &c : children) {
            if (c.name == childName)
                return &c;
        }
        return nullptr;
    }
    // The value of property `property` in this element's "<name>Pr" group (or among its own
    // children, where some writers put them): its text, else its parameter; empty when absent.
    std::optional<QString> property(QStringView property) const
    {
        const OmmlElement *properties = child(QString(name + QLatin1String("Pr")));
        const OmmlElement *found = properties ? properties->child(property) : nullptr;
        if (!found)
            found = child(property);
        if (!found)
            return std::nullopt;
        if (found->text.isEmpty() && found->value)
            return QString::number(*found->value);
        return found->text;
    }

    friend bool operator==(const OmmlElement &, const OmmlElement &) = default;
};
