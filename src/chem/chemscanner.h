#pragma once

#include "chemformula.h"

#include <QList>
#include <QString>

// The reader's pieces, shared by its source files and kept out of the library's interface.
namespace ChemText {

inline bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

inline bool isUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

inline bool isLower(QChar c)
{
    return c >= u'a' && c <= u'z';
}

inline bool isSign(QChar c)
{
    return c == u'+' || c == u'-';
}

} // namespace ChemText

// Everything a formula word may run into: what the scanner reads past it is left as typed.
struct ChemScanner
{
    explicit ChemScanner(const QString &text) : s(text) {}

    const QString &s;
    QList<ChemRun> runs;

    QChar at(int i, int end) const { return i >= 0 && i < end ? s.at(i) : QChar(); }

    void add(ChemRun::Kind kind, int start, int length, const QString &text)
    {
        ChemRun run;
        run.kind = kind;
        run.start = start;
        run.length = length;
        run.text = text;
        runs.append(std::move(run));
    }
    // The typed text itself, not a copy: a long text has a run every few characters. The runs
    // given out hold copies (see ChemFormula::parse).
    void verbatim(int start, int length)
    {
        add(ChemRun::Baseline, start, length, QString::fromRawData(s.constData() + start, length));
    }

    int digitsEnd(int i, int end) const
    {
        while (i < end && ChemText::isDigit(s.at(i)))
            ++i;
        return i;
    }

    // The length of the arrow at i, 0 when there is none; the longest arrow wins, so that
    // "<-->" is not read as "<-" followed by "->".
    int arrowLength(int i, int end) const
    {
        const QStringView rest = QStringView(s).mid(i, end - i);
        for (const char16_t *arrow : {u"<=>>", u"<<=>", u"<-->", u"<=>", u"<->", u"->", u"<-"}) {
            if (rest.startsWith(arrow))
                return int(std::char_traits<char16_t>::length(arrow));
        }
        return 0;
    }

    // A script after '^' or '_' at i: "{...}" without nested braces, or unbraced as typed
    // before. Its length with the mark, 0 when nothing readable follows.
    struct Script
    {
        int length = 0;
        QString text;
    };
    Script script(int i, int end) const
    {
        if (at(i + 1, end) == u'{') {
            for (int j = i + 2; j < end; ++j) {
                if (s.at(j) == u'{')
                    return {};
                if (s.at(j) == u'}')
                    return {j + 1 - i, s.mid(i + 2, j - i - 2)};
            }
            return {};
        }
        if (s.at(i) == u'^') {
            const int length = exponentLength(i, end);
            return {length, s.mid(i + 1, length - 1)};
        }
        int j = i + 1;
        if (const int state = stateLength(j, end))
            return {1 + state, s.mid(j, state)};
        if (j < end && s.at(j) == u'-')
            ++j;
        j = digitsEnd(j, end);
        return j > i + 1 && ChemText::isDigit(s.at(j - 1)) ? Script{j - i, s.mid(i + 1, j - i - 1)}
                                                           : Script{};
    }

    int stateLength(int i, int end) const
    {
        const QStringView rest = QStringView(s).mid(i, end - i);
        if (rest.startsWith(u"(aq)"))
            return 4;
        for (const char16_t *state : {u"(s)", u"(l)", u"(g)"}) {
            if (rest.startsWith(state))
                return 3;
        }
        return 0;
    }

    // A sign ending at i is a charge when the formula ends there or only a state follows.
    bool chargeEndsAt(int i, int end) const
    {
        return i == end || stateLength(i, end) > 0 || s.at(i) == u'_' || s.at(i) == u'{';
    }

    // The exponent after '^' at i: a sign, digits, or digits then a sign ("-2", "3+", "+").
    // Returns its length with the '^', 0 when nothing readable follows.
    int exponentLength(int i, int end) const
    {
        int j = i + 1;
        if (j < end && ChemText::isSign(s.at(j))) {
            j = digitsEnd(j + 1, end);
        } else {
            j = digitsEnd(j, end);
            if (j < end && ChemText::isSign(s.at(j)))
                ++j;
        }
        return j > i + 1 ? j - i : 0;
    }

    void arrow(int start, int length)
    {
        const QStringView typed = QStringView(s).mid(start, length);
        // ⇌, its unbalanced forms and ⇄ have no character in the text's code page nor in the
        // Symbol font: they are drawn, as the reversible arrows of "Math II".
        if (typed.startsWith(u"<=") || typed.startsWith(u"<<") || typed == u"<-->") {
            add(ChemRun::ReversibleArrows, start, length, QString());
            return;
        }
        const unsigned char code = typed == u"->"   ? ChemFormula::kArrowRight
                                   : typed == u"<-" ? ChemFormula::kArrowLeft
                                                    : ChemFormula::kArrowBoth;
        add(ChemRun::SymbolCharacter, start, length, QString(QChar(code)));
    }

    // A nuclide at i, "^{238}_{92}U", "^235_92U", "^{13}C", "^{0}_{-1}e": adds its run and
    // returns its length, 0 when there is none.
    int nuclideLength(int i, int end)
    {
        const Script mass = script(i, end);
        if (mass.length == 0 || mass.text.isEmpty())
            return 0;
        for (const QChar d : mass.text) {
            if (!ChemText::isDigit(d))
                return 0;
        }
        int j = i + mass.length;
        QString number;
        if (at(j, end) == u'_') {
            const Script atomic = script(j, end);
            if (atomic.length == 0)
                return 0;
            number = atomic.text;
            j += atomic.length;
        }
        int length = 0;
        if (ChemText::isUpper(at(j, end)))
            length = ChemText::isLower(at(j + 1, end)) && ChemFormula::isElement(s.mid(j, 2)) ? 2 : 1;
        else if (at(j, end) == u'e' || at(j, end) == u'n' || at(j, end) == u'p')
            length = 1; // the electron, the neutron, the proton
        if (length == 0 || (length == 1 && ChemText::isLower(at(j + 1, end))))
            return 0;
        ChemRun nuclide;
        nuclide.kind = ChemRun::Nuclide;
        nuclide.start = i;
        nuclide.length = j + length - i;
        nuclide.text = s.mid(j, length);
        nuclide.upper = mass.text;
        nuclide.lower = number;
        runs.append(nuclide);
        return nuclide.length;
    }

    // Reads one word as chemistry; returns where it stopped: `end`, or the first fault.
    int scanChemical(int begin, int end);
    // Reads one word as powers of units and numbers (m.s^-2, 10^-14); false when it is not one.
    bool scanPowers(int begin, int end);
    // Whether [begin, end) reads whole as a formula that writing would change (3 O2, not 25 K).
    bool readsAsFormula(int begin, int end);
    // Words that mean something only between formulas: v and ^ after one (precipitate, gas), '*'
    // or '.' between two (an addition compound), x or n before one (an unknown coefficient).
    // Returns where reading goes on, 0 when the word is none of them.
    int scanAlone(int begin, int end);
    // A label may hold blanks (<=>[+ H2O]): the word then runs to the bracket that closes it.
    int labelledArrowEnd(int begin, int end) const;
};
