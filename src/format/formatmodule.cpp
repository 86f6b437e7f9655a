#include "formatmodule.h"

#include "characterformat.h"
#include "formatcontrols.h"
#include "formattoolbar.h"
#include "paragraphformat.h"
#include "platform/editorstate.h"
#include "platform/platform.h"
#include "platform/shellhost.h"
#include "richtext/richtextcontrol.h"
#include "scriptformat.h"
#include "selectionmirror.h"
#include "updown.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>

namespace {

// The pen buttons show their letter in their colour.
QIcon letterIcon(const QString &letter, QRgb color)
{
    QIcon icon;
    for (const int side : {20, 40}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        font.setPixelSize(side * 3 / 4);
        painter.setFont(font);
        painter.setPen(QColor(color));
        painter.drawText(pixmap.rect(), Qt::AlignCenter, letter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

FormatModule installFormat(ShellHost &host, EditorState &state, const Platform &platform, Ruler &ruler,
                           FormatMemory &memory)
{
    RichTextControl &exo = host.exo();
    FormatModule module;
    module.bar = new FormatToolBar;
    host.placeWidget(WindowArea::FormatBar, module.bar);
    const FormatControls controls = FormatControls::fromHost(host, *module.bar);
    auto *characters = new CharacterFormat(state, exo, controls, module.bar);
    auto *paragraphs = new ParagraphFormat(state, exo, controls, module.bar);
    auto *scripts = new ScriptFormat(state, exo, controls, module.bar);
    auto *mirror = new SelectionMirror(state, exo, controls, *characters, *paragraphs, *scripts, ruler,
                                       memory, module.bar);
    module.characters = characters;
    module.paragraphs = paragraphs;
    module.scripts = scripts;
    module.mirror = mirror;
    mirror->connectEditor();

    for (int i = 1; i <= 3; ++i) {
        host.bindCommand(QStringLiteral("Check1(%1)").arg(i), [characters] { characters->Check1_Click(); });
        host.bindCommand(QStringLiteral("q2%1").arg(i), [characters, i] { characters->flipCheck1(i); });
    }
    const QStringList pens = {QStringLiteral("B"), QStringLiteral("N"), QStringLiteral("R"),
                              QStringLiteral("V")};
    for (int i = 0; i < 4; ++i) {
        host.bindCommand(QStringLiteral("optcoul(%1)").arg(i),
                         [characters, i] { characters->optcoul_Click(i); });
        if (QAction *pen = controls.optcoul[i]) {
            pen->setIcon(letterIcon(pens[i], CharacterFormat::penColor(i)));
            pen->setIconText(pens[i]);
        }
    }
    host.bindCommand(QStringLiteral("Command12"), [characters] { characters->showPalette(); });
    host.bindCommand(QStringLiteral("protection"), [characters] { characters->protection_Click(); });
    for (int i = 0; i < 3; ++i) {
        host.bindCommand(QStringLiteral("Option3(%1)").arg(i),
                         [paragraphs, i] { paragraphs->Option3_Click(i); });
        // From the menu the alignment applies even when its button already shows.
        host.bindCommand(QStringLiteral("q2%1").arg(i + 4),
                         [paragraphs, i] { paragraphs->Option3_Click(i); });
    }
    host.bindCommand(QStringLiteral("bull"), [paragraphs] { paragraphs->bull_Click(); });
    host.bindCommand(QStringLiteral("bull2"), [paragraphs] { paragraphs->flipBull(); });
    host.bindCommand(QStringLiteral("check2"), [scripts] { scripts->check2_Click(); });

    FormatToolBar *bar = module.bar;
    QObject::connect(bar->Combo1, &QComboBox::activated, characters, &CharacterFormat::Combo1_Click);
    QObject::connect(bar->UpDown1, &UpDown::valueChanged, characters, &CharacterFormat::UpDown1_Change);
    QObject::connect(bar->Command15, &QToolButton::clicked, characters, &CharacterFormat::Command15_Click);
    QObject::connect(bar->cotext, &ColorSwatch::clicked, characters, &CharacterFormat::showPalette);
    // `toggled` is what a click, the space bar and an accessibility "Toggle" have in common;
    // the program's own writes to these buttons are silent (showChecked).
    for (int i = 0; i < 3; ++i)
        QObject::connect(bar->Option2[i], &QRadioButton::toggled, scripts,
                         [scripts, i] { scripts->Option2_Click(i); });
    for (int i = 0; i < 2; ++i)
        QObject::connect(bar->Check3[i], &QCheckBox::toggled, scripts,
                         [scripts, i] { scripts->Check3_Click(i); });
    QObject::connect(bar->udexp, &UpDown::valueChanged, scripts, &ScriptFormat::stepChanged);
    QObject::connect(bar->udind, &UpDown::valueChanged, scripts, &ScriptFormat::stepChanged);

    if (QAction *item = controls.protection) {
        for (QObject *owner : item->associatedObjects()) {
            if (auto *menu = qobject_cast<QMenu *>(owner))
                QObject::connect(menu, &QMenu::aboutToShow, characters,
                                 &CharacterFormat::updateProtectionItem);
        }
    }

    host.addStartupStep(StartupStep::SharedDefaults, [characters] { characters->setFontBoxGuard(false); });
    // The box shows the up-down's value and exo takes that size.
    host.addStartupStep(StartupStep::FontSizeBox, [characters] { characters->UpDown1_Change(); });
    host.addStartupStep(StartupStep::FontList,
                        [characters, &platform] { characters->fillFontList(platform.system.screenFonts()); });
    host.addStartupStep(StartupStep::RulerIndent, [mirror] { mirror->maj(); });
    return module;
}
