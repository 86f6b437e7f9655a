#include "bulkscripts.h"

#include "platform/editorstate.h"
#include "platform/platform.h"
#include "richtext/richtextcontrol.h"
#include "scriptaligner.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QLocale>

#include <cmath>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("BulkScripts", text);
}

// The busy pointer while a loop runs, taken back however the loop ends.
class BusyPointer
{
public:
    BusyPointer()
    {
        if (qApp)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyPointer()
    {
        if (qApp)
            QApplication::restoreOverrideCursor();
    }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

} // namespace

BulkScripts::BulkScripts(EditorState &state, const Platform &platform, RichTextControl &exo,
                         BulkScriptHooks hooks, ControlFactory createBuffer, FormateurRunner showFormateur)
    : m_state(state), m_platform(platform), m_exo(exo), m_hooks(std::move(hooks)),
      m_createBuffer(std::move(createBuffer)), m_showFormateur(std::move(showFormateur))
{}

ScriptSteps BulkScripts::steps() const
{
    return m_hooks.steps ? m_hooks.steps() : ScriptSteps{};
}

void BulkScripts::showMessage(const QString &text, const QString &title)
{
    m_platform.messages.show(text, title, MessageIcon::Stop, MessageButtons::Ok);
}

void BulkScripts::toutexpo()
{
    openFormateur(ScriptAligner::Exponents,
                  translated("Il faut sélectionner du texte pour pouvoir le formater!"));
}

void BulkScripts::toutindi()
{
    // The misspelt word is the message this command has always shown.
    openFormateur(ScriptAligner::Indices,
                  translated("Il faut sélectiooner du texte pour pouvoir le formater!"));
}

void BulkScripts::openFormateur(int kind, const QString &emptySelectionMessage)
{
    m_state.bulkScriptKind = int16_t(kind);
    if (m_exo.selLength() <= 0) {
        showMessage(emptySelectionMessage, translated("Opération impossible"));
        return;
    }
    const ScriptSteps current = steps();
    FormateurSettings settings;
    settings.kind = kind;
    settings.step = kind == ScriptAligner::Exponents ? current.exponentStep : current.indexStep;
    if (!m_showFormateur)
        return;
    if (const std::optional<FormateurSettings> chosen = m_showFormateur(settings))
        applyFormateur(*chosen);
}

void BulkScripts::applyFormateur(const FormateurSettings &settings)
{
    if (!m_createBuffer)
        return;
    const BusyPointer busy;
    const std::unique_ptr<RichTextControl> iertf = m_createBuffer();
    iertf->setObjectName(QStringLiteral("iertf"));
    iertf->setTextRtf(m_exo.selRtf());
    ScriptAligner::alignScripts(*iertf, m_state.bulkScriptKind, settings.size, settings.step);
    m_exo.setSelRtf(iertf->textRtf());
}

std::optional<int> BulkScripts::parseStep(const QString &answer)
{
    const QString text = answer.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double floored = std::floor(value);
    if (floored < -1e6 || floored > 1e6)
        return std::nullopt;
    return int(floored);
}

void BulkScripts::askStep(const QString &title, int current, const std::function<void(int)> &apply)
{
    const std::optional<QString> answer =
        m_platform.input.ask(translated("Valeur du décalage (de 1 à 20)"), title, QString::number(current));
    if (!answer || answer->isEmpty())
        return;
    const std::optional<int> step = parseStep(*answer);
    if (!step || *step < 1 || *step > 20) {
        showMessage(translated("Intervalle autorisé; [ 1 ; 20 ]"), translated("Valeur non valide"));
        return;
    }
    if (apply)
        apply(*step);
}

void BulkScripts::decaexp()
{
    askStep(translated("Décalage des exposants"), steps().exponentStep, m_hooks.setExponentStep);
}

void BulkScripts::decaind()
{
    askStep(translated("Décalage des indices"), steps().indexStep, m_hooks.setIndexStep);
}

void BulkScripts::decabiz()
{
    if (m_exo.selLength() <= 0) {
        showMessage(translated("Il faut sélectionner du texte pour pouvoir le formater!"),
                    translated("Opération impossible"));
        return;
    }
    // Small mode off while the characters are selected one by one, so that the mirror's
    // script handlers do not shrink them; on again afterwards, whatever it was.
    if (m_hooks.setSmallMode)
        m_hooks.setSmallMode(false);
    {
        const BusyPointer busy;
        ScriptAligner::raiseBaseline(m_exo);
    }
    if (m_hooks.setSmallMode)
        m_hooks.setSmallMode(true);
}
