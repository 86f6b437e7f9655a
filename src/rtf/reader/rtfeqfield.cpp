#include "rtf/reader/rtfeqfield.h"

namespace {

QChar closingOf(QChar open)
{
    switch (open.unicode()) {
    case u'(':
        return u')';
    case u'[':
        return u']';
    case u'{':
        return u'}';
    case u'<':
        return u'>';
    default:
        return open;
    }
}

OmmlElement container(const char *name, QList<OmmlElement> children = {})
{
    OmmlElement element{QString::fromLatin1(name)};
    element.children = std::move(children);
    return element;
}

OmmlElement property(const char *name, const QString &value)
{
    return OmmlElement(QString::fromLatin1(name), value);
}

// The switches' syntax: "\name", options such as "\up8" or "\lc\[", then "(" arguments
// separated by the list separator ")" — a comma, or a semicolon where the comma is the
// decimal sign. "\," "\(" "\)" "\\" are the characters themselves.
class EqParser
{
public:
    explicit EqParser(const QString &text) : m_text(text)
    {
        // French instructions separate with ";" since "," is the decimal comma.
        m_separator = text.contains(u';') ? u';' : u',';
    }

    std::optional<OmmlElement> parse()
    {
        OmmlElement zone = container("oMath");
        while (m_pos < m_text.size() && m_ok) {
            sequence(zone);
            if (m_pos < m_text.size()) // a closing bracket or separator with nothing open
                appendText(zone, m_text.at(m_pos++));
        }
        if (!m_ok || zone.children.isEmpty())
            return std::nullopt;
        return container("mmath", {std::move(zone)});
    }

private:
    QChar peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : QChar(); }
    bool atEnd() const { return m_pos >= m_text.size(); }

    void appendText(OmmlElement &into, QChar c)
    {
        if (m_runOpen && !into.children.isEmpty() && into.children.last().name == QLatin1String("r")) {
            into.children.last().text += c;
            return;
        }
        into.children.append(OmmlElement(QStringLiteral("r"), QString(c)));
        m_runOpen = true;
    }

    void append(OmmlElement &into, OmmlElement element)
    {
        into.children.append(std::move(element));
        m_runOpen = false;
    }

    // Items up to a closing bracket or a separator (left for the caller) or the end.
    void sequence(OmmlElement &into)
    {
        m_runOpen = false;
        while (!atEnd() && m_ok) {
            const QChar c = peek();
            if (c == u')' || (m_depth > 0 && c == m_separator))
                return;
            if (c != u'\\') {
                ++m_pos;
                if (!(c.isSpace() && into.children.isEmpty()))
                    appendText(into, c);
                continue;
            }
            ++m_pos;
            if (atEnd())
                return;
            const QChar escaped = peek();
            if (!escaped.isLetter()) {
                ++m_pos;
                appendText(into, escaped);
                continue;
            }
            switchAt(into);
        }
    }

    QString word()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek().isLetter())
            ++m_pos;
        return m_text.mid(start, m_pos - start).toLower();
    }

    int number()
    {
        int value = 0;
        while (!atEnd() && peek().isDigit() && value < 10000)
            value = value * 10 + peek().digitValue(), ++m_pos;
        while (!atEnd() && peek().isDigit())
            ++m_pos;
        return value;
    }

    QChar optionCharacter()
    {
        if (peek() == u'\\')
            ++m_pos;
        return atEnd() ? QChar() : m_text.at(m_pos++);
    }

    // The arguments in brackets, each read as an argument element of `name`.
    QList<OmmlElement> arguments(const char *name)
    {
        while (!atEnd() && peek().isSpace())
            ++m_pos;
        if (peek() != u'(' || m_depth >= RtfEqField::MaxDepth) {
            m_ok = false;
            return {};
        }
        ++m_pos;
        ++m_depth;
        QList<OmmlElement> list;
        while (m_ok) {
            OmmlElement argument = container(name);
            sequence(argument);
            list.append(std::move(argument));
            if (atEnd()) // never closed: what was read stands
                break;
            const QChar c = m_text.at(m_pos++);
            if (c == u')')
                break;
        }
        --m_depth;
        m_runOpen = false;
        return list;
    }

    static OmmlElement joined(QList<OmmlElement> parts, const char *name)
    {
        OmmlElement all = container(name);
        for (OmmlElement &part : parts)
            all.children.append(std::move(part.children));
        return all;
    }

    void switchAt(OmmlElement &into)
    {
        const QString name = word();
        if (name == QLatin1String("f")) {
            QList<OmmlElement> args = arguments("num");
            if (!m_ok)
                return;
            OmmlElement denominator = args.size() > 1 ? args.takeAt(1) : container("den");
            denominator.name = QStringLiteral("den");
            append(into, container("f", {args.isEmpty() ? container("num") : args.takeFirst(), denominator}));
        } else if (name == QLatin1String("r")) {
            QList<OmmlElement> args = arguments("e");
            if (!m_ok)
                return;
            OmmlElement radicand = args.isEmpty() ? container("e") : args.takeLast();
            OmmlElement degree = args.isEmpty() ? container("deg") : args.takeFirst();
            degree.name = QStringLiteral("deg");
            QList<OmmlElement> parts;
            if (degree.children.isEmpty())
                parts.append(container("radPr", {property("degHide", QStringLiteral("1"))}));
            parts << degree << radicand;
            append(into, container("rad", parts));
        } else if (name == QLatin1String("s")) {
            scripts(into);
        } else if (name == QLatin1String("b")) {
            QChar open = u'(';
            QChar close = u')';
            while (peek() == u'\\') {
                ++m_pos;
                const QString option = word();
                const QChar c = optionCharacter();
                if (option == QLatin1String("lc"))
                    open = c;
                else if (option == QLatin1String("rc"))
                    close = c;
                else if (option == QLatin1String("bc"))
                    open = c, close = closingOf(c);
            }
            QList<OmmlElement> args = arguments("e");
            if (!m_ok)
                return;
            append(into, container("d", {container("dPr", {property("begChr", QString(open)),
                                                           property("endChr", QString(close))}),
                                         joined(std::move(args), "e")}));
        } else if (name == QLatin1String("o")) {
            while (peek() == u'\\') { // \al \ac \ar: how the characters align
                ++m_pos;
                word();
            }
            QList<OmmlElement> args = arguments("e");
            if (!m_ok)
                return;
            // A character struck over a base is that base's accent.
            const bool accent = args.size() == 2 && args.at(1).children.size() == 1 &&
                                args.at(1).children.first().name == QLatin1String("r") &&
                                args.at(1).children.first().text.size() == 1;
            if (accent) {
                const QString mark = args.at(1).children.first().text;
                append(into,
                       container("acc", {container("accPr", {property("chr", mark)}), args.takeFirst()}));
            } else {
                append(into, container("box", {joined(std::move(args), "e")}));
            }
        } else {
            m_ok = false; // \a, \d, \i, \l, \x: the field's result shows them
        }
    }

    // \s\up8(2) raises its argument as a script of what comes before it, \s\do8(2) lowers it.
    void scripts(OmmlElement &into)
    {
        bool up = true;
        bool seenDirection = false;
        while (peek() == u'\\') {
            ++m_pos;
            const QString option = word();
            number();
            if (option == QLatin1String("up") || option == QLatin1String("do")) {
                up = option == QLatin1String("up");
                seenDirection = true;
            }
        }
        if (!seenDirection) { // lines stacked over each other: no script to make of it
            m_ok = false;
            return;
        }
        QList<OmmlElement> args = arguments(up ? "sup" : "sub");
        if (!m_ok)
            return;
        OmmlElement base = container("e");
        if (!into.children.isEmpty()) {
            OmmlElement last = into.children.takeLast();
            // Only the last character of a run is the base: "mc\s\up(2)" squares the c.
            if (last.name == QLatin1String("r") && last.text.size() > 1) {
                base.children.append(OmmlElement(QStringLiteral("r"), last.text.right(1)));
                last.text.chop(1);
                into.children.append(std::move(last));
            } else {
                base.children.append(std::move(last));
            }
        }
        append(into, container(up ? "sSup" : "sSub",
                               {std::move(base), joined(std::move(args), up ? "sup" : "sub")}));
    }

    QString m_text;
    qsizetype m_pos = 0;
    int m_depth = 0;
    bool m_ok = true;
    bool m_runOpen = false;
    QChar m_separator;
};

} // namespace

std::optional<OmmlElement> RtfEqField::parse(const QString &instruction)
{
    const QString text = instruction.trimmed();
    if (!text.startsWith(QLatin1String("EQ"), Qt::CaseInsensitive) ||
        (text.size() > 2 && !text.at(2).isSpace() && text.at(2) != u'\\'))
        return std::nullopt;
    return EqParser(text.mid(2)).parse();
}
