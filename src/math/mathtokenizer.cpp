#include "math/mathtokenizer.h"

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Letters that a symbol name cannot start with in the middle of a run are still letters: the run
// keeps to one script so that "kg" or "µm" is one word for the unit rule.
bool isLetter(QChar c)
{
    return c.isLetter() && !c.isHighSurrogate();
}

MathToken symbolToken(const MathSymbol *symbol, qsizetype position, qsizetype end)
{
    MathToken token;
    token.type = MathToken::Type::Symbol;
    token.symbol = symbol;
    token.text = QString::fromUtf8(symbol->name);
    token.position = position;
    token.end = end;
    return token;
}

// For each '{' of `input`, where its matching '}' is, -1 when it is never closed; in one pass,
// so that thousands of \ce{ cost no more than one.
QList<qsizetype> matchingBraces(const QString &input)
{
    QList<qsizetype> closing(input.size(), -1);
    QList<qsizetype> open;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input.at(i) == u'{')
            open.append(i);
        else if (input.at(i) == u'}' && !open.isEmpty())
            closing[open.takeLast()] = i;
    }
    return closing;
}

} // namespace

QList<MathToken> MathTokenizer::tokenize(const QString &input)
{
    QList<MathToken> tokens;
    QList<qsizetype> closingBraces; // computed at the first \ce{
    const qsizetype n = input.size();
    qsizetype i = 0;
    bool space = false;
    while (i < n) {
        const QChar c = input.at(i);
        if (c.isSpace()) {
            space = true;
            ++i;
            continue;
        }
        MathToken token;
        token.position = i;
        if (c == u'"') {
            const qsizetype close = input.indexOf(u'"', i + 1);
            const qsizetype stop = close < 0 ? n : close;
            token.type = MathToken::Type::Text;
            token.text = input.mid(i + 1, stop - i - 1);
            i = close < 0 ? n : close + 1;
        } else if (isDigit(c)) {
            // A comma or point between two digits is a decimal separator (9,81); with a space
            // after it, or a letter, it separates ([[1, 2], [3, 4]]).
            qsizetype j = i + 1;
            while (j < n && (isDigit(input.at(j)) || ((input.at(j) == u',' || input.at(j) == u'.') &&
                                                      j + 1 < n && isDigit(input.at(j + 1)))))
                ++j;
            token.type = MathToken::Type::Number;
            token.text = input.mid(i, j - i);
            i = j;
        } else if (c == u'\\' && i + 1 < n && input.at(i + 1).isLetter()) {
            qsizetype j = i + 1;
            while (j < n && input.at(j).isLetter())
                ++j;
            const QString word = input.mid(i + 1, j - i - 1);
            // Chemistry runs to its matching brace; never closed, it is no chemistry and reads
            // as typed, as a bracket never closed does.
            const bool chemistry = word == QLatin1String("ce") && j < n && input.at(j) == u'{';
            if (chemistry && closingBraces.isEmpty())
                closingBraces = matchingBraces(input);
            const qsizetype close = chemistry ? closingBraces.at(j) : -1;
            if (close > j) {
                token.type = MathToken::Type::Chemistry;
                token.text = input.mid(j + 1, close - j - 1);
                i = close + 1;
                token.end = i;
                token.spaceBefore = space;
                if (!token.text.isEmpty()) { // \ce{} draws nothing and is dropped
                    space = false;
                    tokens.append(token);
                }
                continue;
            }
            const MathSymbol *symbol = MathSymbols::find(QString(u'\\' + word));
            if (!symbol)
                symbol = MathSymbols::find(word);
            if (symbol && (symbol->type == MathSymbol::Type::Definition))
                symbol = nullptr;
            if (symbol) {
                token = symbolToken(symbol, i, j);
                token.latex = true;
            } else {
                token.type = MathToken::Type::Text;
                token.text = word;
            }
            i = j;
        } else if (const MathSymbol *symbol = MathSymbols::longestMatch(input, i);
                   symbol && !(c == u'°' && i + 1 < n && input.at(i + 1).isUpper()) &&
                   !(isLetter(c) && QString::fromUtf8(symbol->name).front().isLetter() &&
                     QString::fromUtf8(symbol->name).back().isLetter())) {
            // Names made only of letters are found when the run is split, so that a unit such as
            // "min" or "bar" is not taken for a symbol before the parser sees the whole word.
            const qsizetype length = QString::fromUtf8(symbol->name).size();
            token = symbolToken(symbol, i, i + length);
            i += length;
        } else if (isLetter(c) || (c == u'°' && i + 1 < n && input.at(i + 1).isUpper())) {
            qsizetype j = i + 1;
            while (j < n && isLetter(input.at(j)))
                ++j;
            token.type = MathToken::Type::Letters;
            token.text = input.mid(i, j - i);
            i = j;
        } else if (c == u'_' || c == u'^' || c == u'/') {
            token.type = c == u'_'   ? MathToken::Type::Sub
                         : c == u'^' ? MathToken::Type::Sup
                                     : MathToken::Type::Slash;
            token.text = c;
            ++i;
        } else {
            const qsizetype length = c.isHighSurrogate() && i + 1 < n ? 2 : 1;
            token.type = MathToken::Type::Other;
            token.text = input.mid(i, length);
            i += length;
        }
        token.end = i;
        token.spaceBefore = space;
        space = false;
        tokens.append(token);
    }
    return tokens;
}

QList<MathToken> MathTokenizer::splitLetters(const MathToken &letters)
{
    QList<MathToken> out;
    const QString &word = letters.text;
    qsizetype i = 0;
    while (i < word.size()) {
        const MathSymbol *symbol = MathSymbols::longestMatch(word, i);
        qsizetype length = symbol ? QString::fromUtf8(symbol->name).size() : 1;
        if (!symbol)
            symbol = MathSymbols::findByOutput(word.mid(i, 1));
        if (symbol && symbol->type == MathSymbol::Type::Definition) {
            // dx, dt: the d and the variable, as AsciiMath writes them.
            symbol = nullptr;
            length = 1;
        }
        MathToken token;
        if (symbol) {
            token = symbolToken(symbol, letters.position + i, letters.position + i + length);
        } else {
            token.type = MathToken::Type::Letters;
            token.text = word.mid(i, 1);
            token.position = letters.position + i;
            token.end = token.position + 1;
        }
        token.spaceBefore = i == 0 && letters.spaceBefore;
        out.append(token);
        i += length;
    }
    return out;
}
