#include "chemformulacommand.h"

#include "format/scriptformat.h"
#include "ionformulapicture.h"
#include "nuclidepicture.h"
#include "platform/editorstate.h"
#include "reactionarrows.h"
#include "richtext/richtextcontrol.h"
#include "rtf/cp1252.h"

#include <QGuiApplication>
#include <QWidget>

#include <cmath>

namespace {

bool isBlank(char c)
{
    // A paragraph mark reads '\r', a line break '\v', an object ' '.
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v';
}

} // namespace

ChemFormulaCommand::ChemFormulaCommand(EditorState &state, RichTextControl &exo, SettingsSource settings)
    : m_state(state), m_exo(exo), m_settings(std::move(settings))
{
    m_ratio = [this] {
        const QWidget *widget = m_exo.widget();
        return widget ? widget->devicePixelRatioF() : qGuiApp->devicePixelRatio();
    };
}

TextRange ChemFormulaCommand::formulaRange(const QByteArray &text, TextRange selection)
{
    const int length = int(text.size());
    const int start = qBound(0, selection.start, length);
    if (selection.length > 0)
        return {start, qMin(selection.length, length - start)};
    int begin = start;
    while (begin > 0 && !isBlank(text.at(begin - 1)))
        --begin;
    return {begin, start - begin};
}

bool ChemFormulaCommand::run()
{
    const QByteArray all = m_exo.text();
    const TextRange before = m_exo.selection();
    const TextRange range = formulaRange(all, before);
    if (range.length <= 0)
        return false;
    const QString typed = Cp1252::decode(all.mid(range.start, range.length));
    const QList<ChemRun> runs = ChemFormula::parse(typed);
    if (!ChemFormula::changesText(typed, runs))
        return false;
    m_current = m_settings ? m_settings() : ChemScriptSettings{};
    // The walk below moves the selection many times; a format the composer or a palette left
    // pending must not land on one of its pieces.
    m_state.formatRestorePending = 0;

    m_pictures.clear();
    const EditBlock block(m_exo); // the whole formula is one undo step
    m_exo.setSelection({range.start, 1});
    const Mixed<QString> fontName = m_exo.selFontName();
    const Mixed<double> fontSize = m_exo.selFontSize();
    int written = 0;
    // From the right, so the spans still to write stay where they were typed.
    for (auto it = runs.crbegin(); it != runs.crend(); ++it)
        written += write(*it, range.start + it->start, typed.mid(it->start, it->length));
    m_pictures.clear();

    // Typing goes on after the formula on the baseline, in the formula's own font and size.
    m_exo.setSelection({range.start + written, 0});
    m_exo.setSelCharOffset(0);
    if (fontName.hasValue())
        m_exo.setSelFontName(fontName.value());
    if (fontSize.hasValue())
        m_exo.setSelFontSize(fontSize.value());
    m_exo.refresh();
    m_exo.setFocus();
    return true;
}

int ChemFormulaCommand::write(const ChemRun &run, int start, const QString &typed)
{
    const TextRange span{start, run.length};
    const auto replace = [this, &span, &typed](QString text) {
        if (text == typed)
            return;
        m_exo.setSelection(span);
        m_exo.setSelText(Cp1252::encode(text.replace(ChemFormula::kNumberUnitSpace, QChar(0xA0))));
    };
    switch (run.kind) {
    case ChemRun::Baseline: {
        replace(run.text);
        const int length = int(run.text.size());
        // As "Aligner sur ion pol&yatomique" does: each character still on the baseline goes up
        // by a quarter of its size.
        for (int position = start; run.raised && position < start + length; ++position) {
            m_exo.setSelection({position, 1});
            const Mixed<double> size = m_exo.selFontSize();
            if (m_exo.selCharOffset() == 0 && size.hasValue())
                m_exo.setSelCharOffset(int(std::lround(5 * size.value())));
        }
        return length;
    }
    case ChemRun::Italic:
        replace(run.text);
        m_exo.setSelection({start, int(run.text.size())});
        m_exo.setSelItalic(true);
        return int(run.text.size());
    case ChemRun::Index:
    case ChemRun::Exponent:
        replace(run.text);
        applyScript(run.kind, {start, int(run.text.size())});
        return int(run.text.size());
    case ChemRun::SymbolCharacter: {
        m_exo.setSelection(span);
        m_exo.setSelText(Cp1252::encode(run.text));
        m_exo.setSelection({start, 1});
        m_exo.setSelFontName(QStringLiteral("Symbol"));
        return 1;
    }
    case ChemRun::ReversibleArrows: {
        // Drawn as "Math II" draws them: the text's size as a height in pixels, a bold text
        // with a 2-pixel pen, in the text's colour.
        m_exo.setSelection({start, 1});
        const Mixed<double> size = m_exo.selFontSize();
        const int height = size.hasValue() ? int(std::lround(size.value())) : 10;
        const int pen = m_exo.selBold() == true ? 2 : 1;
        const QRgb colour = m_exo.selColor().valueOr(qRgb(0, 0, 0));
        m_exo.setSelection(span);
        m_exo.insertPicture(ReactionArrowsPicture::draw(height, pen, colour));
        return 1;
    }
    case ChemRun::LabelledArrow:
        // An equation object: the arrow grows to its longer label and prints as vectors; its
        // linear text is the chemistry as typed, so the equation dialog opens on it.
        m_exo.setSelection(span);
        m_exo.insertEquation(ChemFormula::equationText(typed));
        return 1;
    case ChemRun::Ion:
    case ChemRun::Nuclide: {
        // The composer's picture, in the format of the base's first character; the composer
        // draws nothing under 10 points.
        m_exo.setSelection({start, 1});
        IonFormulaStyle style;
        style.fontName = m_exo.selFontName().valueOr(QGuiApplication::font().family());
        style.size = qMax(10.0, m_exo.selFontSize().valueOr(10));
        style.bold = m_exo.selBold().valueOr(false);
        style.italic = m_exo.selItalic().valueOr(false);
        style.colour = m_exo.selColor().valueOr(qRgb(0, 0, 0));
        const IonFormula formula{run.text, run.upper, run.lower};
        m_exo.setSelection(span);
        const qreal ratio = m_ratio ? m_ratio() : 1;
        // A long text holds the same ions many times: each is drawn once.
        const QString key = QStringList{QString::number(run.kind),
                                        formula.base,
                                        formula.upper,
                                        formula.lower,
                                        style.fontName,
                                        QString::number(style.size),
                                        QString::number(style.bold),
                                        QString::number(style.italic),
                                        QString::number(style.colour),
                                        QString::number(ratio)}
                                .join(QChar(0));
        auto picture = m_pictures.constFind(key);
        if (picture == m_pictures.cend())
            picture = m_pictures.insert(key, run.kind == ChemRun::Ion
                                                 ? IonFormulaPicture::compose(formula, style, ratio)
                                                 : NuclidePicture::compose(formula, style, ratio));
        m_exo.insertPicture(*picture);
        return 1;
    }
    }
    return run.length;
}

void ChemFormulaCommand::applyScript(ChemRun::Kind kind, TextRange range)
{
    // What "&Indice" and "E&xposant" write on that selection.
    const auto choice = kind == ChemRun::Index ? ScriptFormat::Index : ScriptFormat::Exponent;
    m_exo.setSelection(range);
    if (m_current.smallMode) {
        m_exo.setSelCharOffsetAndSize(
            ScriptFormat::scriptOffset(choice, 0, m_current.exponentStep, m_current.indexStep, true),
            ScriptFormat::kSmallScriptSize);
        return;
    }
    const Mixed<double> size = m_exo.selFontSize();
    if (size.hasValue())
        m_exo.setSelCharOffset(ScriptFormat::scriptOffset(choice, size.value(), m_current.exponentStep,
                                                          m_current.indexStep, false));
}
