#include "exercise/recordfile.h"
#include "mainwindowfixture.h"
#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedplatform.h"
#include "shell/commandtable.h"
#include "shell/documentcontroller.h"
#include "shell/mainwindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

// A started main window over the scripted platform; its state file lands in the double's
// temporary application directory.
struct WindowFixture : MainWindowFixture
{
    using MainWindowFixture::MainWindowFixture;

    QString stateFilePath() const
    {
        return QDir::toNativeSeparators(fake.system.temporaryDirectory() + QStringLiteral("/TEMPO.SPC"));
    }
    QByteArray stateRecord() const
    {
        const auto bytes = RecordFile::readAll(stateFilePath());
        return bytes ? RecordFile::decodeString(*bytes, 5) : QByteArray("(no file)");
    }
    QMenu *menu(const char *name) const { return window->findChild<QMenu *>(QLatin1String(name)); }
    void typeIntoExo(const QString &text) { QTest::keyClicks(window->exo().widget(), text); }
};

QStringList describe(const QList<QAction *> &actions)
{
    QStringList rows;
    for (const QAction *action : actions) {
        QString row =
            action->objectName() + QLatin1Char('|') + (action->isSeparator() ? "-" : action->text());
        if (action->isCheckable())
            row += action->isChecked() ? QStringLiteral("|ticked") : QStringLiteral("|unticked");
        if (!action->isVisible())
            row += QStringLiteral("|hidden");
        if (!action->shortcut().isEmpty())
            row += QLatin1Char('|') + action->shortcut().toString(QKeySequence::PortableText);
        rows << row;
    }
    return rows;
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void menus_data();
    void menus();
    void menuBarOrder();
    void itemsWithoutCommandStayDisabled();
    void toolBar();

    void startUp();
    void fitsEightHundredBySixHundred();
    void placement_data();
    void placement();
    void closeRightAfterStartAsksNothing();
    void closeGuard_data();
    void closeGuard();
    void typingIntoProtectedTextKeepsDocumentSaved();

    void fileMenuEnablesSaveAllWithBothExerciseTexts_data();
    void fileMenuEnablesSaveAllWithBothExerciseTexts();
    void exerciseMenuEnablesCloseWithAnExercisePath_data();
    void exerciseMenuEnablesCloseWithAnExercisePath();
    void exerciseItemsShowPathsAsGiven();
    void modulesJoinTheStartUp();

    void printWithoutPrinterSaysWhereThePdfWent();
    void linkOptionsToggleTheirTicks();

    void help_data();
    void help();

    void chemicalFormulaFollowsTheScriptControls();
};

void tst_MainWindow::printWithoutPrinterSaysWhereThePdfWent()
{
    WindowFixture f;
    QTemporaryDir folder;
    f.state.currentDocumentPath = QDir::toNativeSeparators(folder.filePath(QStringLiteral("enonce.rtf")));
    f.fake.printer.setPrinterInstalled(false);
    f.typeIntoExo(QStringLiteral("Bonjour"));
    f.fake.messages.answerNext(MessageAnswer::Ok);
    f.window->command(QStringLiteral("Command18"))->trigger();
    const QString pdf = folder.filePath(QStringLiteral("enonce.pdf"));
    QCOMPARE(f.fake.messages.asked().size(), 1);
    QVERIFY(f.fake.messages.asked()[0].text.contains(QDir::toNativeSeparators(pdf)));
    QVERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY2(f.window->statusBar()->currentMessage().contains(QDir::toNativeSeparators(pdf)),
             qPrintable(f.window->statusBar()->currentMessage()));
}

void tst_MainWindow::linkOptionsToggleTheirTicks()
{
    WindowFixture f;
    for (const char *name : {"lierobj", "liercolle"}) {
        QAction *item = f.window->command(QLatin1String(name));
        QVERIFY2(item->isChecked(), name);
        item->trigger();
        QVERIFY2(!item->isChecked(), name);
        item->trigger();
        QVERIFY2(item->isChecked(), name);
    }
}

void tst_MainWindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items"); // name|caption[|ticked|unticked][|hidden][|shortcut]

    QTest::newRow("Fichier") << "fichi"
                             << "&Fichier"
                             << QStringList{"Nouv|&Nouveau|Ctrl+N",
                                            "s1|-",
                                            "ouvre|&Ouvrir un fichier texte|Ctrl+O",
                                            "resauve|E&nregistrer le fichier texte|Ctrl+S",
                                            "sauvetout|Enregistrer l'énoncé et la correc&tion",
                                            "sauve|&Enregistrer le fichier texte sous...",
                                            "s2|-",
                                            "configimp|&Configurer imprimante",
                                            "imprimons|&Imprimer|Ctrl+P",
                                            "exportpdf|&Exporter en PDF…",
                                            "seprecentText|-|hidden",
                                            "recentText1||hidden",
                                            "recentText2||hidden",
                                            "recentText3||hidden",
                                            "recentText4||hidden",
                                            "recentText5||hidden",
                                            "recentText6||hidden",
                                            "recentText7||hidden",
                                            "recentText8||hidden",
                                            "sep2002|-",
                                            "quitter|&Quitter",
                                            "sepatext|-|hidden",
                                            "textexo||hidden",
                                            "textcor||hidden"};
    QTest::newRow("Edition") << "edition"
                             << "&Edition"
                             << QStringList{"annuleur|&Annuler               (Ctrl+Z)",
                                            "sep555|-",
                                            "coupe|&Couper|Ctrl+X",
                                            "copie|Co&pier|Ctrl+C",
                                            "colle|C&oller|Ctrl+V",
                                            "supprime|&Supprimer",
                                            "s4|-",
                                            "supercolle|Colla&ge spécial",
                                            "s5|-",
                                            "toutsel|&Tout sélectionner|Ctrl+A"};
    QTest::newRow("Insertion") << "insert"
                               << "In&sertion"
                               << QStringList{"objet|&Objet",
                                              "insertext|&Texte",
                                              "ima|Ima&ge (incorporée)",
                                              "sdfd|-",
                                              "SPECIALCAr|Caractères spéciau&x",
                                              "ionpoly|Formule ion pol&yatomique",
                                              "equation|É&quation…|Ctrl+Shift+E"};
    QTest::newRow("Format") << "for0"
                            << "For&mat"
                            << QStringList{"q21|G&ras|unticked",
                                           "q22|&Italique|unticked",
                                           "q23|&Souligné|unticked",
                                           "sep524|-",
                                           "protection|Pro&tégé en écriture|unticked",
                                           "ecorsep|-",
                                           "bull2|Style &puce|unticked",
                                           "sep41|-",
                                           "q24|Aligné à &gauche|ticked",
                                           "q25|&Centré|unticked",
                                           "q26|Aligné à &droite|unticked",
                                           "sep2001|-",
                                           "margo|&Marges",
                                           "tabulo|Ta&bulations"};
    QTest::newRow("Indices et exposants")
        << "sep24"
        << "In&dices et exposants"
        << QStringList{"toutexpo|Aligner les &exposants",
                       "toutindi|Aligner les &indices",
                       "decabiz|Aligner sur ion pol&yatomique",
                       "sepsep77|-",
                       "decaexp|décalage e&xposants",
                       "decaind|décalage i&ndices",
                       "sepsep5|-",
                       "check2|indices et exposants de &petite taille|ticked",
                       "sepchim|-",
                       "formchim|Mettre en forme la formule chimique|Ctrl+Shift+F"};
    QTest::newRow("Options") << "optopt"
                             << "Op&tions"
                             << QStringList{"liercolle|Conserver la liaison lors du collage spécial|ticked",
                                            "lierobj|Conserver la liaison lors de l'insertion|ticked",
                                            "sepspell|-",
                                            "checkSpelling|Vérifier l'&orthographe pendant la saisie|ticked"};
    QTest::newRow("Outils") << "outil"
                            << "&Outils"
                            << QStringList{"rechercher|&Rechercher|Ctrl+F",
                                           "contrech|Poursuivre la recherche|F3", "sep54|-",
                                           "remplace|Rem&placer"};
    QTest::newRow("Exercice") << "exot"
                              << "Exer&cice"
                              << QStringList{"az55|&Fermer exercice",
                                             "az54|&Ouvrir un exercice",
                                             "az53|Créer ou modifier un e&xercice",
                                             "sepsep99|-",
                                             "az52|&Editer l'énoncé",
                                             "az51|Editer le texte de la &correction",
                                             "seprecentExercise|-|hidden",
                                             "recentExercise1||hidden",
                                             "recentExercise2||hidden",
                                             "recentExercise3||hidden",
                                             "recentExercise4||hidden",
                                             "recentExercise5||hidden",
                                             "recentExercise6||hidden",
                                             "recentExercise7||hidden",
                                             "recentExercise8||hidden"};
}

void tst_MainWindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);

    WindowFixture f;
    QMenu *found = f.window->findChild<QMenu *>(menu);
    QVERIFY(found);
    QCOMPARE(found->title(), caption);
    QCOMPARE(describe(found->actions()), items);
}

void tst_MainWindow::menuBarOrder()
{
    WindowFixture f;
    QStringList bar;
    for (const QAction *action : f.window->menuBar()->actions())
        bar << (action->menu() ? action->menu()->objectName() : action->objectName()) + '|' + action->text();
    QCOMPARE(bar, QStringList({"fichi|&Fichier", "edition|&Edition", "insert|In&sertion", "for0|For&mat",
                               "sep24|In&dices et exposants", "optopt|Op&tions", "outil|&Outils",
                               "exot|Exer&cice", "aidant|&Aide"}));
    QAction *help = f.window->menuBar()->actions().last();
    QVERIFY(!help->menu()); // a command, not a submenu
    QVERIFY(help->isEnabled());
}

void tst_MainWindow::itemsWithoutCommandStayDisabled()
{
    WindowFixture f;
    for (const char *bound : {"Nouv",      "ouvre",    "resauve",    "sauve",     "quitter",   "Command2",
                              "Command3",  "Command4", "Command5",   "aidant",    "Command9",  "ionpoly",
                              "toutexpo",  "decabiz",  "supercolle", "Command11", "ima",       "insertext",
                              "objet",     "lierobj",  "liercolle",  "configimp", "imprimons", "exportpdf",
                              "Command18", "tabulo",   "margo",      "formchim",  "boutonchim"})
        QVERIFY2(f.window->command(QLatin1String(bound))->isEnabled(), bound);
    // Commands whose modules are not wired yet must not look usable; az52/az51 wait for an
    // exercise even when bound.
    for (const char *unbound : {"az55", "az52", "az51"}) {
        if (f.window->command(QLatin1String(unbound))->isEnabled())
            QVERIFY2(false, unbound);
    }
    f.window->bindCommand(QStringLiteral("az52"), [] {});
    QVERIFY(!f.window->command(QStringLiteral("az52"))->isEnabled());
    f.window->bindCommand(QStringLiteral("supercolle"), [] {});
    QVERIFY(f.window->command(QStringLiteral("supercolle"))->isEnabled());
}

void tst_MainWindow::toolBar()
{
    WindowFixture f;
    auto *bar = f.window->findChild<QToolBar *>(QStringLiteral("barreOutils"));
    QVERIFY(bar);
    QStringList buttons;
    for (const QAction *action : bar->actions()) {
        if (action->isSeparator())
            continue;
        buttons << action->objectName() + '|' + action->toolTip();
        QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        QVERIFY(!action->icon().pixmap(QSize(48, 48)).isNull()); // the SVG renders at 200 %
        QString widgetName = action->objectName();               // an array element's widget: Check1_1
        widgetName.replace('(', '_').remove(')');
        auto *button = bar->findChild<QToolButton *>(widgetName);
        QVERIFY2(button, qPrintable(widgetName));
        QCOMPARE(button->accessibleName(), action->toolTip());
    }
    QCOMPARE(buttons, QStringList({"Command2|Nouveau",
                                   "Command3|Ouvrir",
                                   "Command4|Enregistrer",
                                   "Command5|Quitter",
                                   "Command7|Couper",
                                   "Command6|Copier",
                                   "Command8|Coller",
                                   "annule|Annuler dernière opération",
                                   "Command13|Rechercher",
                                   "Command18|Imprimer",
                                   "Command11|Insérer une image",
                                   "Command9|Insertion formule ion polyatomique",
                                   "boutonchim|Mettre en forme une formule chimique",
                                   "Check1(1)|Gras",
                                   "Check1(2)|Italique",
                                   "Check1(3)|Souligné",
                                   "Command12|Choisir une couleur d'écriture",
                                   "optcoul(1)|Ecrire en noir",
                                   "optcoul(0)|Ecrire en bleu",
                                   "optcoul(2)|Ecrire en rouge",
                                   "optcoul(3)|Ecrire en vert",
                                   "bull|Style puces",
                                   "Option3(0)|Aligné à gauche",
                                   "Option3(1)|Centré",
                                   "Option3(2)|Aligné à droite"}));
}

void tst_MainWindow::startUp()
{
    WindowFixture f;
    f.window->show();
    QCOMPARE(f.window->objectName(), QStringLiteral("veligram"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("VELIGRAM - SANS NOM"));
    QCOMPARE(f.state.documentSaved, 1);
    QCOMPARE(f.state.specialCharsFont, QStringLiteral("Wingdings"));
    QCOMPARE(f.stateRecord(), QByteArray("OUI"));
    QVERIFY(f.window->findChild<QWidget *>(QStringLiteral("exo")));
    QCOMPARE(f.window->sujetampon().objectName(), QStringLiteral("sujetampon"));
    QCOMPARE(f.window->Rtfinsert().objectName(), QStringLiteral("Rtfinsert"));
    QVERIFY(!f.window->sujetampon().widget()->isVisible());

    RichTextControl &exo = f.window->exo();
    QVERIFY(exo.selIndent() == 19.0);
    QVERIFY(exo.selRightIndent() == 12.0);
    QVERIFY(exo.selFontName() == QStringLiteral("Arial"));
    QVERIFY(exo.selFontSize() == 10.0);
    QVERIFY(exo.selBold() == false);
    QVERIFY(exo.selCharOffset() == 0);
    QVERIFY(exo.selColor() == qRgb(0, 0, 0));
    QVERIFY(exo.selAlignment() == 0);

    QVERIFY(f.window->close());
    QCOMPARE(f.stateRecord(), QByteArray("NON"));
}

void tst_MainWindow::fitsEightHundredBySixHundred()
{
    // Every control laid out, the exercise panel included, within the smallest screen the
    // editor is made for: nothing is pushed past the right edge.
    WindowFixture f(QRect(0, 0, 800, 600));
    f.window->show();
    QVERIFY2(f.window->centralWidget()->minimumSizeHint().width() <= 800,
             qPrintable(QString::number(f.window->centralWidget()->minimumSizeHint().width())));
    QVERIFY(f.window->minimumSizeHint().width() <= 800);
}

void tst_MainWindow::placement_data()
{
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<bool>("maximised");
    QTest::newRow("1024: normal 800 x 600") << 1024 << false;
    QTest::newRow("850: designed state") << 850 << true;
    QTest::newRow("800: designed state") << 800 << true;
}

void tst_MainWindow::placement()
{
    QFETCH(int, screenWidth);
    QFETCH(bool, maximised);
    WindowFixture f(QRect(0, 0, screenWidth, 600));
    QCOMPARE(f.window->isMaximized(), maximised);
    if (!maximised) {
        QCOMPARE(f.window->geometry().size(), QSize(800, 600));
        QCOMPARE(f.window->geometry().x(), (screenWidth - 800) / 2);
    }
}

void tst_MainWindow::closeRightAfterStartAsksNothing()
{
    WindowFixture f;
    f.window->show();
    QVERIFY(f.window->close());
    QVERIFY(f.fake.messages.asked().isEmpty());
    QCOMPARE(f.stateRecord(), QByteArray("NON"));
}

void tst_MainWindow::closeGuard_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("saveCancelled");
    QTest::addColumn<bool>("closes");
    QTest::newRow("No: closes, nothing saved") << false << false << true;
    QTest::newRow("Yes, saved: closes") << true << false << true;
    QTest::newRow("Yes, save-as cancelled: stays open") << true << true << false;
}

void tst_MainWindow::closeGuard()
{
    QFETCH(bool, yes);
    QFETCH(bool, saveCancelled);
    QFETCH(bool, closes);

    WindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->exo().setFocus();
    f.typeIntoExo(QStringLiteral("x"));
    QCOMPARE(f.state.documentSaved, 0);

    const QString target = QDir::toNativeSeparators(f.fake.system.temporaryDirectory() + "/saved.rtf");
    f.fake.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);
    if (yes) {
        if (saveCancelled)
            f.fake.files.cancelNext();
        else
            f.fake.files.chooseNext(target);
    }

    QCOMPARE(f.window->close(), closes);
    QCOMPARE(f.fake.messages.asked().size(), 1);
    const MessageRequest asked = f.fake.messages.asked().first();
    QCOMPARE(asked.text, QStringLiteral("Enregistrer modifications ?"));
    QCOMPARE(asked.title, QStringLiteral("Avertissement"));
    QCOMPARE(asked.icon, MessageIcon::Question);
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(QFile::exists(target), yes && !saveCancelled);
    QCOMPARE(f.stateRecord(), closes ? QByteArray("NON") : QByteArray("OUI"));
    if (!closes) {
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->exo().text().startsWith("x"));
        f.state.documentSaved = 1; // let the fixture close quietly
    }
    VERIFY_ALL_CONSUMED(f.fake);
}

void tst_MainWindow::typingIntoProtectedTextKeepsDocumentSaved()
{
    WindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    RichTextControl &exo = f.window->exo();
    exo.setText("locked");
    exo.setSelection({0, 6});
    exo.setSelProtected(true);
    f.state.documentSaved = 1; // the protected text as saved
    exo.setSelection({2, 0});
    exo.setFocus();
    f.typeIntoExo(QStringLiteral("z"));
    QCOMPARE(f.state.documentSaved, 1);
}

void tst_MainWindow::fileMenuEnablesSaveAllWithBothExerciseTexts_data()
{
    QTest::addColumn<bool>("statement");
    QTest::addColumn<bool>("correction");
    QTest::newRow("no exercise") << false << false;
    QTest::newRow("statement only") << true << false;
    QTest::newRow("statement and correction") << true << true;
}

void tst_MainWindow::fileMenuEnablesSaveAllWithBothExerciseTexts()
{
    QFETCH(bool, statement);
    QFETCH(bool, correction);
    WindowFixture f;
    f.window->setStatementItem(QStringLiteral("/ex/enonce.rtf"), statement);
    f.window->setCorrectionItem(QStringLiteral("/ex/corrige.rtf"), correction);
    Q_EMIT f.menu("fichi")->aboutToShow();
    QCOMPARE(f.window->command(QStringLiteral("sauvetout"))->isEnabled(), statement && correction);
    QCOMPARE(f.window->command(QStringLiteral("sepatext"))->isVisible(), statement);
    QCOMPARE(f.window->command(QStringLiteral("textexo"))->isVisible(), statement);
    QCOMPARE(f.window->command(QStringLiteral("textcor"))->isVisible(), correction);
}

void tst_MainWindow::exerciseMenuEnablesCloseWithAnExercisePath_data()
{
    QTest::addColumn<bool>("bound");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty path") << true << "" << false;
    QTest::newRow("exercise open") << true << "/ex/a.E01" << true;
}

void tst_MainWindow::exerciseMenuEnablesCloseWithAnExercisePath()
{
    QFETCH(bool, bound);
    QFETCH(QString, path);
    QFETCH(bool, enabled);
    WindowFixture f;
    if (bound)
        f.window->bindCommand(QStringLiteral("az55"), [] {});
    f.window->setExercisePathSource([path] { return path; });
    Q_EMIT f.menu("exot")->aboutToShow();
    QCOMPARE(f.window->command(QStringLiteral("az55"))->isEnabled(), enabled);
}

void tst_MainWindow::exerciseItemsShowPathsAsGiven()
{
    WindowFixture f;
    const QString path = QStringLiteral("/cours/R&D/enonce.rtf");
    f.window->setStatementItem(path, true);
    QCOMPARE(f.window->statementItemPath(), path);
    QCOMPARE(f.window->command(QStringLiteral("textexo"))->text(), QStringLiteral("/cours/R&&D/enonce.rtf"));
}

void tst_MainWindow::modulesJoinTheStartUp()
{
    EditorState state;
    ScriptedPlatform fake;
    Platform platform = fake.platform();
    MainWindow window(state, platform, [] { return createRichTextControl(); });
    QStringList ran;
    window.addStartupStep(StartupStep::FontList, [&] { ran << "fonts, title " + window.windowTitle(); });
    window.addStartupStep(StartupStep::PaletteButtons, [&] { ran << "palettes"; });
    state.currentDocumentPath.clear();
    window.start();
    window.start(); // once only
    QCOMPARE(ran, QStringList({"palettes", "fonts, title VELIGRAM - SANS NOM"}));
}

void tst_MainWindow::help_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("helpFile");
    QTest::newRow("folder") << "/opt/veligram/bin"
                            << "/opt/veligram/bin/QZ7.hlp";
    QTest::newRow("folder given with its separator") << "/opt/veligram/bin/"
                                                     << "/opt/veligram/bin/QZ7.hlp";
    QTest::newRow("root") << "/"
                          << "/QZ7.hlp";
}

void tst_MainWindow::help()
{
    QFETCH(QString, directory);
    QFETCH(QString, helpFile);
    WindowFixture f;
    f.fake.system.setApplicationDirectory(directory);
    f.window->command(QStringLiteral("aidant"))->trigger();
    QCOMPARE(f.fake.help.requests().size(), 1);
    QCOMPARE(f.fake.help.requests().first().helpFile, QDir::toNativeSeparators(helpFile));
    QCOMPARE(f.fake.help.requests().first().command, 11);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("VELIGRAM - SANS NOM"));
    // The state file is written there on shutdown: back to the scratch folder.
    f.fake.system.setApplicationDirectory(f.fake.system.temporaryDirectory());
}

void tst_MainWindow::chemicalFormulaFollowsTheScriptControls()
{
    WindowFixture f;
    RichTextControl &exo = f.window->exo();
    exo.setSelFontSize(12);
    f.typeIntoExo(QStringLiteral("H2O Fe^3+"));
    QCOMPARE(exo.text(), QByteArray("H2O Fe^3+"));
    QAction *command = f.window->command(QStringLiteral("formchim"));
    QCOMPARE(command->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    // Small mode ticked at start: 8 points, -10 x 5 twips; at the caret only "Fe^3+" is taken.
    command->trigger();
    QCOMPARE(exo.text(), QByteArray("H2O Fe3+"));
    exo.setSelection({6, 2});
    QVERIFY(exo.selCharOffset() == 80);
    QVERIFY(exo.selFontSize() == 8.0);
    exo.setSelection({1, 1});
    QVERIFY(exo.selCharOffset() == 0);

    // Small mode off, from the tool-bar button: the size is kept, the offset is 5 x 12 twips.
    f.window->command(QStringLiteral("check2"))->setChecked(false);
    exo.setSelection({0, 3});
    f.window->command(QStringLiteral("boutonchim"))->trigger();
    exo.setSelection({1, 1});
    QVERIFY(exo.selCharOffset() == -60);
    QVERIFY(exo.selFontSize() == 12.0);
    f.state.documentSaved = 1;
    QVERIFY(f.window->close());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
