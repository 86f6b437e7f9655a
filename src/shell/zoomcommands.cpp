#include "zoomcommands.h"

#include "platform/settingsstore.h"
#include "richtext/richtextcontrol.h"
#include "richtext/viewzoom.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

ZoomCommands::ZoomCommands(QMainWindow &window, RichTextControl &exo, SettingsStore &settings)
    : QObject(&window), m_exo(exo), m_settings(settings)
{
    const auto add = [&](const char *name, const QList<QKeySequence> &keys, int steps) {
        auto *action = new QAction(&window);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, steps] {
            m_exo.setZoom(steps == 0 ? ViewZoom::normal : ViewZoom::stepped(m_exo.zoom(), steps));
        });
        window.addAction(action);
    };
    add("zoomIn", {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))}, 1);
    add("zoomOut", {QKeySequence(QStringLiteral("Ctrl+-"))}, -1);
    add("zoomReset", {QKeySequence(QStringLiteral("Ctrl+0"))}, 0);

    m_label = new QLabel(&window);
    m_label->setObjectName(QStringLiteral("zoomLabel"));
    m_label->setToolTip(tr("Ctrl + molette, Ctrl++, Ctrl+- ; Ctrl+0 revient à 100 %"));
    window.statusBar()->addPermanentWidget(m_label);

    connect(&m_exo, &RichTextControl::zoomChanged, this, [this](int percent) {
        show(percent);
        m_settings.setValue(settingsKey, percent);
    });
    // A value from an older or hand-edited settings file goes to the nearest step.
    bool ok = false;
    const int kept = m_settings.value(settingsKey, ViewZoom::normal).toInt(&ok);
    m_exo.setZoom(ok ? ViewZoom::bounded(kept) : ViewZoom::normal);
    show(m_exo.zoom());
}

QString ZoomCommands::caption(int percent)
{
    return tr("Zoom : %1 %").arg(percent);
}

void ZoomCommands::show(int percent)
{
    m_label->setText(caption(percent));
    m_label->setAccessibleName(caption(percent));
}
