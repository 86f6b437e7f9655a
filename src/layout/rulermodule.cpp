#include "rulermodule.h"

#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "ruler.h"
#include "rulerwidget.h"

Ruler *installRuler(ShellHost &host, const Platform &platform)
{
    RichTextControl &exo = host.exo();
    auto *ruler = new Ruler(exo, platform.messages);
    auto *widget = new RulerWidget(*ruler, exo.widget());
    ruler->setParent(widget);
    host.placeWidget(WindowArea::Ruler, widget);
    host.addStartupStep(StartupStep::RulerMarkers, [ruler] { ruler->hideMarkers(); });
    return ruler;
}
