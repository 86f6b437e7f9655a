#include "math/mathsymbols.h"

#include <QHash>

namespace {

using T = MathSymbol::Type;
using K = MathNode::Kind;
constexpr quint8 Up = MathNode::Upright;
constexpr quint8 Fn = MathNode::Function;
constexpr quint8 Big = MathNode::LargeOperator | MathNode::Limits;
constexpr quint8 Int = MathNode::LargeOperator;
constexpr quint8 Lim = MathNode::Function | MathNode::Limits;
constexpr quint8 Str = MathNode::Stretchy;

// Order matters only for linearName: the first name of an output is the one written back.
const MathSymbol symbols[] = {
    // Greek: capitals upright, small letters italic, as in French school books.
    {"alpha", u"α", T::Constant, K::Identifier, 0},
    {"beta", u"β", T::Constant, K::Identifier, 0},
    {"gamma", u"γ", T::Constant, K::Identifier, 0},
    {"Gamma", u"Γ", T::Constant, K::Identifier, Up},
    {"delta", u"δ", T::Constant, K::Identifier, 0},
    {"Delta", u"Δ", T::Constant, K::Identifier, Up},
    {"epsilon", u"ε", T::Constant, K::Identifier, 0},
    {"varepsilon", u"ɛ", T::Constant, K::Identifier, 0},
    {"zeta", u"ζ", T::Constant, K::Identifier, 0},
    {"eta", u"η", T::Constant, K::Identifier, 0},
    {"theta", u"θ", T::Constant, K::Identifier, 0},
    {"Theta", u"Θ", T::Constant, K::Identifier, Up},
    {"vartheta", u"ϑ", T::Constant, K::Identifier, 0},
    {"iota", u"ι", T::Constant, K::Identifier, 0},
    {"kappa", u"κ", T::Constant, K::Identifier, 0},
    {"lambda", u"λ", T::Constant, K::Identifier, 0},
    {"Lambda", u"Λ", T::Constant, K::Identifier, Up},
    {"mu", u"μ", T::Constant, K::Identifier, 0},
    {"nu", u"ν", T::Constant, K::Identifier, 0},
    {"xi", u"ξ", T::Constant, K::Identifier, 0},
    {"Xi", u"Ξ", T::Constant, K::Identifier, Up},
    {"pi", u"π", T::Constant, K::Identifier, 0},
    {"Pi", u"Π", T::Constant, K::Identifier, Up},
    {"rho", u"ρ", T::Constant, K::Identifier, 0},
    {"sigma", u"σ", T::Constant, K::Identifier, 0},
    {"Sigma", u"Σ", T::Constant, K::Identifier, Up},
    {"tau", u"τ", T::Constant, K::Identifier, 0},
    {"upsilon", u"υ", T::Constant, K::Identifier, 0},
    {"phi", u"ϕ", T::Constant, K::Identifier, 0},
    {"varphi", u"φ", T::Constant, K::Identifier, 0},
    {"Phi", u"Φ", T::Constant, K::Identifier, Up},
    {"chi", u"χ", T::Constant, K::Identifier, 0},
    {"psi", u"ψ", T::Constant, K::Identifier, 0},
    {"Psi", u"Ψ", T::Constant, K::Identifier, Up},
    {"omega", u"ω", T::Constant, K::Identifier, 0},
    {"Omega", u"Ω", T::Constant, K::Identifier, Up},
    // Operators
    {"+", u"+", T::Constant, K::Operator, 0},
    {"-", u"−", T::Constant, K::Operator, 0},
    {"*", u"⋅", T::Constant, K::Operator, 0},
    {"cdot", u"⋅", T::Constant, K::Operator, 0},
    {"**", u"∗", T::Constant, K::Operator, 0},
    {"ast", u"∗", T::Constant, K::Operator, 0},
    {"***", u"⋆", T::Constant, K::Operator, 0},
    {"star", u"⋆", T::Constant, K::Operator, 0},
    {"//", u"/", T::Constant, K::Operator, 0},
    {"\\\\", u"\\", T::Constant, K::Operator, 0},
    {"setminus", u"\\", T::Constant, K::Operator, 0},
    {"xx", u"×", T::Constant, K::Operator, 0},
    {"times", u"×", T::Constant, K::Operator, 0},
    {"-:", u"÷", T::Constant, K::Operator, 0},
    {"div", u"÷", T::Constant, K::Operator, 0},
    {"@", u"∘", T::Constant, K::Operator, 0},
    {"circ", u"∘", T::Constant, K::Operator, 0},
    {"o+", u"⊕", T::Constant, K::Operator, 0},
    {"oplus", u"⊕", T::Constant, K::Operator, 0},
    {"ox", u"⊗", T::Constant, K::Operator, 0},
    {"otimes", u"⊗", T::Constant, K::Operator, 0},
    {"o.", u"⊙", T::Constant, K::Operator, 0},
    {"odot", u"⊙", T::Constant, K::Operator, 0},
    {"+-", u"±", T::Constant, K::Operator, 0},
    {"\\pm", u"±", T::Constant, K::Operator, 0},
    {"-+", u"∓", T::Constant, K::Operator, 0},
    {"\\mp", u"∓", T::Constant, K::Operator, 0},
    {"^^", u"∧", T::Constant, K::Operator, 0},
    {"wedge", u"∧", T::Constant, K::Operator, 0},
    {"vv", u"∨", T::Constant, K::Operator, 0},
    {"vee", u"∨", T::Constant, K::Operator, 0},
    {"nn", u"∩", T::Constant, K::Operator, 0},
    {"cap", u"∩", T::Constant, K::Operator, 0},
    {"uu", u"∪", T::Constant, K::Operator, 0},
    {"cup", u"∪", T::Constant, K::Operator, 0},
    {"sum", u"∑", T::Constant, K::Operator, Big},
    {"prod", u"∏", T::Constant, K::Operator, Big},
    {"^^^", u"⋀", T::Constant, K::Operator, Big},
    {"vvv", u"⋁", T::Constant, K::Operator, Big},
    {"nnn", u"⋂", T::Constant, K::Operator, Big},
    {"uuu", u"⋃", T::Constant, K::Operator, Big},
    {"int", u"∫", T::Constant, K::Operator, Int},
    {"iint", u"∬", T::Constant, K::Operator, Int},
    {"iiint", u"∭", T::Constant, K::Operator, Int},
    {"oint", u"∮", T::Constant, K::Operator, Int},
    // Relations and arrows
    {"=", u"=", T::Constant, K::Operator, 0},
    {"!=", u"≠", T::Constant, K::Operator, 0},
    {"\\ne", u"≠", T::Constant, K::Operator, 0},
    {"neq", u"≠", T::Constant, K::Operator, 0},
    {"<", u"<", T::Constant, K::Operator, 0},
    {"lt", u"<", T::Constant, K::Operator, 0},
    {">", u">", T::Constant, K::Operator, 0},
    {"gt", u">", T::Constant, K::Operator, 0},
    {"<=", u"≤", T::Constant, K::Operator, 0},
    {"\\le", u"≤", T::Constant, K::Operator, 0},
    {"leq", u"≤", T::Constant, K::Operator, 0},
    {">=", u"≥", T::Constant, K::Operator, 0},
    {"\\ge", u"≥", T::Constant, K::Operator, 0},
    {"geq", u"≥", T::Constant, K::Operator, 0},
    {"mlt", u"≪", T::Constant, K::Operator, 0},
    {"\\ll", u"≪", T::Constant, K::Operator, 0},
    {"mgt", u"≫", T::Constant, K::Operator, 0},
    {"\\gg", u"≫", T::Constant, K::Operator, 0},
    {"-<", u"≺", T::Constant, K::Operator, 0},
    {">-", u"≻", T::Constant, K::Operator, 0},
    {"in", u"∈", T::Constant, K::Operator, 0},
    {"!in", u"∉", T::Constant, K::Operator, 0},
    {"notin", u"∉", T::Constant, K::Operator, 0},
    {"sub", u"⊂", T::Constant, K::Operator, 0},
    {"subset", u"⊂", T::Constant, K::Operator, 0},
    {"sup", u"⊃", T::Constant, K::Operator, 0},
    {"supset", u"⊃", T::Constant, K::Operator, 0},
    {"sube", u"⊆", T::Constant, K::Operator, 0},
    {"subseteq", u"⊆", T::Constant, K::Operator, 0},
    {"supe", u"⊇", T::Constant, K::Operator, 0},
    {"supseteq", u"⊇", T::Constant, K::Operator, 0},
    {"-=", u"≡", T::Constant, K::Operator, 0},
    {"equiv", u"≡", T::Constant, K::Operator, 0},
    {"~=", u"≅", T::Constant, K::Operator, 0},
    {"cong", u"≅", T::Constant, K::Operator, 0},
    {"~~", u"≈", T::Constant, K::Operator, 0},
    {"approx", u"≈", T::Constant, K::Operator, 0},
    {"~", u"∼", T::Constant, K::Operator, 0},
    {"sim", u"∼", T::Constant, K::Operator, 0},
    {"prop", u"∝", T::Constant, K::Operator, 0},
    {"propto", u"∝", T::Constant, K::Operator, 0},
    {"->", u"→", T::Constant, K::Operator, 0},
    {"rarr", u"→", T::Constant, K::Operator, 0},
    {"to", u"→", T::Constant, K::Operator, 0},
    {"rightarrow", u"→", T::Constant, K::Operator, 0},
    {"larr", u"←", T::Constant, K::Operator, 0},
    {"leftarrow", u"←", T::Constant, K::Operator, 0},
    {"harr", u"↔", T::Constant, K::Operator, 0},
    {"leftrightarrow", u"↔", T::Constant, K::Operator, 0},
    {"uarr", u"↑", T::Constant, K::Operator, 0},
    {"darr", u"↓", T::Constant, K::Operator, 0},
    {"->>", u"↠", T::Constant, K::Operator, 0},
    {">->", u"↣", T::Constant, K::Operator, 0},
    {"|->", u"↦", T::Constant, K::Operator, 0},
    {"mapsto", u"↦", T::Constant, K::Operator, 0},
    {"=>", u"⇒", T::Constant, K::Operator, 0},
    {"rArr", u"⇒", T::Constant, K::Operator, 0},
    {"implies", u"⇒", T::Constant, K::Operator, 0},
    {"Rightarrow", u"⇒", T::Constant, K::Operator, 0},
    {"lArr", u"⇐", T::Constant, K::Operator, 0},
    {"Leftarrow", u"⇐", T::Constant, K::Operator, 0},
    {"<=>", u"⇔", T::Constant, K::Operator, 0},
    {"hArr", u"⇔", T::Constant, K::Operator, 0},
    {"iff", u"⇔", T::Constant, K::Operator, 0},
    {"Leftrightarrow", u"⇔", T::Constant, K::Operator, 0},
    {"rightleftharpoons", u"⇌", T::Constant, K::Operator, 0},
    {"AA", u"∀", T::Constant, K::Operator, 0},
    {"forall", u"∀", T::Constant, K::Operator, 0},
    {"EE", u"∃", T::Constant, K::Operator, 0},
    {"exists", u"∃", T::Constant, K::Operator, 0},
    {"not", u"¬", T::Constant, K::Operator, 0},
    {"neg", u"¬", T::Constant, K::Operator, 0},
    {"_|_", u"⊥", T::Constant, K::Operator, 0},
    {"perp", u"⊥", T::Constant, K::Operator, 0},
    {"TT", u"⊤", T::Constant, K::Operator, 0},
    {"|--", u"⊢", T::Constant, K::Operator, 0},
    {"|==", u"⊨", T::Constant, K::Operator, 0},
    {"and", u"and", T::Constant, K::Text, 0},
    {"or", u"or", T::Constant, K::Text, 0},
    {"if", u"if", T::Constant, K::Text, 0},
    // Miscellaneous
    {"oo", u"∞", T::Constant, K::Operator, 0},
    {"infty", u"∞", T::Constant, K::Operator, 0},
    {"del", u"∂", T::Constant, K::Operator, 0},
    {"partial", u"∂", T::Constant, K::Operator, 0},
    {"grad", u"∇", T::Constant, K::Operator, 0},
    {"nabla", u"∇", T::Constant, K::Operator, 0},
    {"deg", u"°", T::Constant, K::Operator, 0},
    {"degree", u"°", T::Constant, K::Operator, 0},
    {"°", u"°", T::Constant, K::Operator, 0},
    {"'", u"′", T::Constant, K::Operator, 0},
    {"prime", u"′", T::Constant, K::Operator, 0},
    {"O/", u"∅", T::Constant, K::Operator, 0},
    {"emptyset", u"∅", T::Constant, K::Operator, 0},
    {"aleph", u"ℵ", T::Constant, K::Operator, 0},
    {"hbar", u"ℏ", T::Constant, K::Identifier, 0},
    {"/_", u"∠", T::Constant, K::Operator, 0},
    {"angle", u"∠", T::Constant, K::Operator, 0},
    {":.", u"∴", T::Constant, K::Operator, 0},
    {"therefore", u"∴", T::Constant, K::Operator, 0},
    {"...", u"…", T::Constant, K::Operator, 0},
    {"ldots", u"…", T::Constant, K::Operator, 0},
    {"cdots", u"⋯", T::Constant, K::Operator, 0},
    {"vdots", u"⋮", T::Constant, K::Operator, 0},
    {"ddots", u"⋱", T::Constant, K::Operator, 0},
    {"CC", u"ℂ", T::Constant, K::Identifier, Up},
    {"NN", u"ℕ", T::Constant, K::Identifier, Up},
    {"QQ", u"ℚ", T::Constant, K::Identifier, Up},
    {"RR", u"ℝ", T::Constant, K::Identifier, Up},
    {"ZZ", u"ℤ", T::Constant, K::Identifier, Up},
    {",", u",", T::Constant, K::Operator, 0},
    {";", u";", T::Constant, K::Operator, 0},
    {".", u".", T::Constant, K::Operator, 0},
    {"!", u"!", T::Constant, K::Operator, 0},
    {":", u":", T::Constant, K::Operator, 0},
    {"%", u"%", T::Constant, K::Operator, 0},
    // Functions, set upright
    {"sin", u"sin", T::Function, K::Identifier, Fn},
    {"cos", u"cos", T::Function, K::Identifier, Fn},
    {"tan", u"tan", T::Function, K::Identifier, Fn},
    {"sec", u"sec", T::Function, K::Identifier, Fn},
    {"csc", u"csc", T::Function, K::Identifier, Fn},
    {"cot", u"cot", T::Function, K::Identifier, Fn},
    {"arcsin", u"arcsin", T::Function, K::Identifier, Fn},
    {"arccos", u"arccos", T::Function, K::Identifier, Fn},
    {"arctan", u"arctan", T::Function, K::Identifier, Fn},
    {"sinh", u"sinh", T::Function, K::Identifier, Fn},
    {"cosh", u"cosh", T::Function, K::Identifier, Fn},
    {"tanh", u"tanh", T::Function, K::Identifier, Fn},
    {"exp", u"exp", T::Function, K::Identifier, Fn},
    {"log", u"log", T::Function, K::Identifier, Fn},
    {"ln", u"ln", T::Function, K::Identifier, Fn},
    {"lg", u"lg", T::Function, K::Identifier, Fn},
    {"det", u"det", T::Function, K::Identifier, Fn},
    {"dim", u"dim", T::Function, K::Identifier, Fn},
    {"mod", u"mod", T::Function, K::Identifier, Fn},
    {"gcd", u"gcd", T::Function, K::Identifier, Fn},
    {"lcm", u"lcm", T::Function, K::Identifier, Fn},
    {"max", u"max", T::Function, K::Identifier, Lim},
    {"min", u"min", T::Function, K::Identifier, Lim},
    {"lim", u"lim", T::Function, K::Identifier, Lim},
    {"Lim", u"Lim", T::Function, K::Identifier, Lim},
    {"dx", u"x", T::Definition, K::Identifier, 0},
    {"dy", u"y", T::Definition, K::Identifier, 0},
    {"dz", u"z", T::Definition, K::Identifier, 0},
    {"dt", u"t", T::Definition, K::Identifier, 0},
    // Brackets
    {"(", u"(", T::LeftBracket, K::Operator, Str},
    {")", u")", T::RightBracket, K::Operator, Str},
    {"[", u"[", T::LeftBracket, K::Operator, Str},
    {"]", u"]", T::RightBracket, K::Operator, Str},
    {"{", u"{", T::LeftBracket, K::Operator, Str},
    {"}", u"}", T::RightBracket, K::Operator, Str},
    {"(:", u"⟨", T::LeftBracket, K::Operator, Str},
    {":)", u"⟩", T::RightBracket, K::Operator, Str},
    {"<<", u"⟨", T::LeftBracket, K::Operator, Str},
    {">>", u"⟩", T::RightBracket, K::Operator, Str},
    {"langle", u"⟨", T::LeftBracket, K::Operator, Str},
    {"rangle", u"⟩", T::RightBracket, K::Operator, Str},
    {"{:", u"", T::LeftBracket, K::Operator, Str},
    {":}", u"", T::RightBracket, K::Operator, Str},
    // Typed as themselves, so that the linear text of a bracket left open reads back as one.
    {"⟨", u"⟨", T::LeftBracket, K::Operator, Str},
    {"⟩", u"⟩", T::RightBracket, K::Operator, Str},
    {"‖", u"‖", T::Bar, K::Operator, Str},
    {"|__", u"⌊", T::Constant, K::Operator, 0},
    {"__|", u"⌋", T::Constant, K::Operator, 0},
    {"|~", u"⌈", T::Constant, K::Operator, 0},
    {"~|", u"⌉", T::Constant, K::Operator, 0},
    {"|", u"|", T::Bar, K::Operator, Str},
    {"||", u"‖", T::Bar, K::Operator, Str},
    {"left(", u"(", T::LeftBracket, K::Operator, Str},
    {"right)", u")", T::RightBracket, K::Operator, Str},
    {"left[", u"[", T::LeftBracket, K::Operator, Str},
    {"right]", u"]", T::RightBracket, K::Operator, Str},
    // Taking arguments
    {"sqrt", u"√", T::Unary, K::Sqrt, 0},
    {"abs", u"|", T::Unary, K::Fenced, 0},
    {"norm", u"‖", T::Unary, K::Fenced, 0},
    {"floor", u"⌊", T::Unary, K::Fenced, 0},
    {"ceil", u"⌈", T::Unary, K::Fenced, 0},
    {"text", u"", T::Unary, K::Text, 0},
    {"mathrm", u"", T::Unary, K::Text, 0},
    {"mbox", u"", T::Unary, K::Text, 0},
    {"frac", u"", T::Binary, K::Fraction, 0},
    {"root", u"", T::Binary, K::Root, 0},
    {"stackrel", u"", T::Binary, K::Over, 0},
    {"overset", u"", T::Binary, K::Over, 0},
    {"underset", u"", T::Binary, K::Under, 0},
    {"hat", u"^", T::Accent, K::Over, 0},
    {"bar", u"¯", T::Accent, K::Over, 0},
    {"overline", u"¯", T::Accent, K::Over, 0},
    {"vec", u"→", T::Accent, K::Over, 0},
    {"overrightarrow", u"→", T::Accent, K::Over, 0},
    {"dot", u".", T::Accent, K::Over, 0},
    {"ddot", u"..", T::Accent, K::Over, 0},
    {"tilde", u"~", T::Accent, K::Over, 0},
    {"ul", u"̲", T::Accent, K::Under, 0},
    {"underline", u"̲", T::Accent, K::Under, 0},
    {"obrace", u"⏞", T::Accent, K::Over, 0},
    {"overbrace", u"⏞", T::Accent, K::Over, 0},
    {"ubrace", u"⏟", T::Accent, K::Under, 0},
    {"underbrace", u"⏟", T::Accent, K::Under, 0},
    // Spaces
    {"\\ ", u"0.278", T::Space, K::Space, 0},
    {"quad", u"1", T::Space, K::Space, 0},
    {"qquad", u"2", T::Space, K::Space, 0},
};

struct Index
{
    QHash<QString, const MathSymbol *> byName;
    QHash<QString, const MathSymbol *> byOutput; // the first name of each operator
    qsizetype longest = 0;

    Index()
    {
        for (const MathSymbol &symbol : symbols) {
            const QString name = QString::fromUtf8(symbol.name);
            byName.insert(name, &symbol);
            longest = std::max(longest, name.size());
            if (symbol.type == T::Constant && !byOutput.contains(QString::fromUtf16(symbol.output)))
                byOutput.insert(QString::fromUtf16(symbol.output), &symbol);
        }
    }
};

const Index &index()
{
    static const Index instance;
    return instance;
}

} // namespace

namespace MathSymbols {

const MathSymbol *longestMatch(QStringView text, qsizetype position)
{
    const Index &idx = index();
    const qsizetype available = std::min(idx.longest, text.size() - position);
    for (qsizetype length = available; length > 0; --length) {
        const auto found = idx.byName.constFind(text.mid(position, length).toString());
        if (found != idx.byName.cend())
            return found.value();
    }
    return nullptr;
}

const MathSymbol *find(QStringView name)
{
    return index().byName.value(name.toString(), nullptr);
}

const MathSymbol *findByOutput(QStringView output)
{
    return index().byOutput.value(output.toString(), nullptr);
}

MathAtomClass operatorClass(QStringView op)
{
    static const QString rel = QStringLiteral("=≠<>≤≥≪≫≺≻∈∉⊂⊃⊆⊇≡≅≈∼∝→←↔↑↓↠↣↦⇒⇐⇔⇌⊢⊨:");
    static const QString bin = QStringLiteral("+−⋅∗⋆/\\×÷∘⊕⊗⊙±∓∧∨∩∪");
    static const QString punct = QStringLiteral(",;");
    static const QString open = QStringLiteral("([{⟨⌊⌈");
    static const QString close = QStringLiteral(")]}⟩⌋⌉!");
    static const QString big = QStringLiteral("∑∏⋀⋁⋂⋃∫∬∭∮");
    if (op.size() != 1)
        return MathAtomClass::Ord;
    const QChar c = op.at(0);
    if (rel.contains(c))
        return MathAtomClass::Rel;
    if (bin.contains(c))
        return MathAtomClass::Bin;
    if (punct.contains(c))
        return MathAtomClass::Punct;
    if (open.contains(c))
        return MathAtomClass::Open;
    if (close.contains(c))
        return MathAtomClass::Close;
    if (big.contains(c))
        return MathAtomClass::Op;
    return MathAtomClass::Ord;
}

bool isUnit(QStringView word)
{
    // Symbols whose letter is more often a variable (t, d, a, l) are left out: "2 t" stays a time.
    static const QStringList bases = {
        QStringLiteral("m"),   QStringLiteral("g"),   QStringLiteral("s"),  QStringLiteral("A"),
        QStringLiteral("K"),   QStringLiteral("mol"), QStringLiteral("cd"), QStringLiteral("N"),
        QStringLiteral("J"),   QStringLiteral("W"),   QStringLiteral("Pa"), QStringLiteral("Hz"),
        QStringLiteral("C"),   QStringLiteral("V"),   QStringLiteral("Ω"),  QStringLiteral("F"),
        QStringLiteral("T"),   QStringLiteral("H"),   QStringLiteral("Wb"), QStringLiteral("L"),
        QStringLiteral("h"),   QStringLiteral("min"), QStringLiteral("eV"), QStringLiteral("bar"),
        QStringLiteral("rad"), QStringLiteral("sr"),  QStringLiteral("lm"), QStringLiteral("lx"),
        QStringLiteral("Bq"),  QStringLiteral("Gy"),  QStringLiteral("Sv"), QStringLiteral("°C"),
        QStringLiteral("S"),   QStringLiteral("dB"),  QStringLiteral("u"),  QStringLiteral("M"),
    };
    static const QStringList prefixes = {QStringLiteral("k"), QStringLiteral("m"), QStringLiteral("µ"),
                                         QStringLiteral("μ"), QStringLiteral("n"), QStringLiteral("c"),
                                         QStringLiteral("d"), QStringLiteral("M"), QStringLiteral("G"),
                                         QStringLiteral("h"), QStringLiteral("p"), QStringLiteral("T")};
    if (bases.contains(word))
        return true;
    for (const QString &prefix : prefixes) {
        if (word.size() > prefix.size() && word.startsWith(prefix) && bases.contains(word.mid(prefix.size())))
            return true;
    }
    return false;
}

QString linearName(const MathNode &node)
{
    const MathSymbol *symbol = index().byOutput.value(node.text(), nullptr);
    if (!symbol || symbol->kind != node.kind())
        return node.text();
    return QString::fromUtf8(symbol->name);
}

} // namespace MathSymbols
