#include "formatcontrols.h"

#include "platform/shellhost.h"

#include <QAction>

FormatControls FormatControls::fromHost(ShellHost &host, FormatToolBar &bar)
{
    FormatControls controls;
    const auto named = [&host](const char *name) { return host.command(QString::fromLatin1(name)); };
    for (int i = 1; i <= 3; ++i) {
        controls.Check1[i] = host.command(QStringLiteral("Check1(%1)").arg(i));
        controls.boldItalicUnderlineItems[i] = host.command(QStringLiteral("q2%1").arg(i));
    }
    for (int i = 0; i < 4; ++i)
        controls.optcoul[i] = host.command(QStringLiteral("optcoul(%1)").arg(i));
    for (int i = 0; i < 3; ++i) {
        controls.Option3[i] = host.command(QStringLiteral("Option3(%1)").arg(i));
        controls.alignmentItems[i] = host.command(QStringLiteral("q2%1").arg(i + 4));
    }
    controls.bull = named("bull");
    controls.bull2 = named("bull2");
    controls.protection = named("protection");
    controls.check2 = named("check2");
    controls.Command12 = named("Command12");
    controls.bar = &bar;
    return controls;
}
