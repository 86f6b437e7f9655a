#include "insertionmodule.h"

#include "objectinsertion.h"
#include "pdfexport.h"
#include "platform/controlstate.h"
#include "platform/platform.h"
#include "platform/shellhost.h"
#include "printcommands.h"
#include "richtext/richtextcontrol.h"

#include <QAction>
#include <QObject>

namespace {

// Owns the commands for as long as the control it is parented to.
class InsertionOwner : public QObject
{
public:
    InsertionOwner(RichTextControl &exo, RichTextControl &Rtfinsert, EditorState &state,
                   const Platform &platform, InsertionHooks hooks)
        : QObject(&exo), insertion(exo, Rtfinsert, state, platform, hooks), objects(exo, insertion, platform),
          printing(exo, state, platform.printer, hooks.showStatus, &platform.messages),
          pdf(exo, state, platform, hooks.showStatus)
    {}

    InsertionCommands insertion;
    ObjectInsertion objects;
    PrintCommands printing;
    PdfExport pdf;
};

} // namespace

InsertionModule installInsertionAndPrinting(ShellHost &host, EditorState &state, const Platform &platform,
                                            InsertionHooks hooks)
{
    auto *owner = new InsertionOwner(host.exo(), host.Rtfinsert(), state, platform, std::move(hooks));
    InsertionCommands *insertion = &owner->insertion;
    ObjectInsertion *objects = &owner->objects;
    PrintCommands *printing = &owner->printing;

    host.bindCommand(QStringLiteral("ima"), [insertion] { insertion->ima(); });
    host.bindCommand(QStringLiteral("Command11"), [insertion] { insertion->ima(); });
    host.bindCommand(QStringLiteral("insertext"), [insertion] { insertion->insertext(); });
    host.bindCommand(QStringLiteral("objet"), [objects] { objects->objet(); });
    host.bindCommand(QStringLiteral("supercolle"), [insertion] { insertion->supercolle(); });
    // The check marks follow the options (the items toggle them as they are chosen).
    const auto option = [&host, insertion](const char *name, void (InsertionCommands::*toggle)(),
                                           bool (InsertionCommands::*value)() const) {
        QAction *item = host.command(QLatin1String(name));
        host.bindCommand(QLatin1String(name), [insertion, toggle, value, item] {
            (insertion->*toggle)();
            if (item)
                showChecked(item, (insertion->*value)());
        });
        if (item)
            showChecked(item, (insertion->*value)());
    };
    option("lierobj", &InsertionCommands::lierobj, &InsertionCommands::linksObjects);
    option("liercolle", &InsertionCommands::liercolle, &InsertionCommands::linksPaste);

    host.bindCommand(QStringLiteral("configimp"), [printing] { printing->configimp(); });
    host.bindCommand(QStringLiteral("imprimons"), [printing] { printing->imprimons(); });
    host.bindCommand(QStringLiteral("Command18"), [printing] { printing->imprimons(); });
    PdfExport *pdf = &owner->pdf;
    host.bindCommand(QStringLiteral("exportpdf"), [pdf] { pdf->exportpdf(); });
    return {insertion, objects, printing};
}
