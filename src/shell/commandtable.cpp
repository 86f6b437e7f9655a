#include "commandtable.h"

#include <QtGlobal>

#define TR(text) QT_TRANSLATE_NOOP("MainWindow", text)

namespace {

MenuItemDefinition separator(const char *name)
{
    return {name, "-"};
}

MenuItemDefinition checkItem(const char *name, const char *caption, bool ticked = false)
{
    return {name, caption, nullptr, true, ticked};
}

} // namespace

const QList<MenuDefinition> &menuTable()
{
    static const QList<MenuDefinition> table = {
        {"fichi",
         TR("&Fichier"),
         {
             {"Nouv", TR("&Nouveau"), "Ctrl+N"},
             separator("s1"),
             {"ouvre", TR("&Ouvrir un fichier texte"), "Ctrl+O"},
             {"resauve", TR("E&nregistrer le fichier texte"), "Ctrl+S"},
             {"sauvetout", TR("Enregistrer l'énoncé et la correc&tion")},
             {"sauve", TR("&Enregistrer le fichier texte sous...")},
             separator("s2"),
             {"configimp", TR("&Configurer imprimante")},
             {"imprimons", TR("&Imprimer"), "Ctrl+P"},
             {"exportpdf", TR("&Exporter en PDF…")},
             separator("sep2002"),
             {"quitter", TR("&Quitter")},
             {"sepatext", "-", nullptr, false, false, true},
             {"textexo", "", nullptr, false, false, true},
             {"textcor", "", nullptr, false, false, true},
         }},
        {"edition",
         TR("&Edition"),
         {
             // The caption itself announces Ctrl+Z; the control undoes on that key by itself.
             {"annuleur", TR("&Annuler               (Ctrl+Z)")},
             separator("sep555"),
             {"coupe", TR("&Couper"), "Ctrl+X"},
             {"copie", TR("Co&pier"), "Ctrl+C"},
             {"colle", TR("C&oller"), "Ctrl+V"},
             {"supprime", TR("&Supprimer")},
             separator("s4"),
             {"supercolle", TR("Colla&ge spécial")},
             separator("s5"),
             {"toutsel", TR("&Tout sélectionner"), "Ctrl+A"},
         }},
        {"insert",
         TR("In&sertion"),
         {
             {"objet", TR("&Objet")},
             {"insertext", TR("&Texte")},
             {"ima", TR("Ima&ge (incorporée)")},
             separator("sdfd"),
             {"SPECIALCAr", TR("Caractères spéciau&x")},
             {"ionpoly", TR("Formule ion pol&yatomique")},
             {"equation", TR("É&quation…"), "Ctrl+Shift+E"},
         }},
        {"for0",
         TR("For&mat"),
         {
             checkItem("q21", TR("G&ras")),
             checkItem("q22", TR("&Italique")),
             checkItem("q23", TR("&Souligné")),
             separator("sep524"),
             checkItem("protection", TR("Pro&tégé en écriture")),
             separator("ecorsep"),
             checkItem("bull2", TR("Style &puce")),
             separator("sep41"),
             checkItem("q24", TR("Aligné à &gauche")),
             checkItem("q25", TR("&Centré")),
             checkItem("q26", TR("Aligné à &droite")),
             separator("sep2001"),
             {"margo", TR("&Marges")},
             {"tabulo", TR("Ta&bulations")},
         }},
        {"sep24",
         TR("In&dices et exposants"),
         {
             {"toutexpo", TR("Aligner les &exposants")},
             {"toutindi", TR("Aligner les &indices")},
             {"decabiz", TR("Aligner sur ion pol&yatomique")},
             separator("sepsep77"),
             {"decaexp", TR("décalage e&xposants")},
             {"decaind", TR("décalage i&ndices")},
             separator("sepsep5"),
             checkItem("check2", TR("indices et exposants de &petite taille"), true),
             separator("sepchim"),
             {"formchim", TR("Mettre en forme la formule chimique"), "Ctrl+Shift+F"},
         }},
        {"optopt",
         TR("Op&tions"),
         {
             checkItem("liercolle", TR("Conserver la liaison lors du collage spécial"), true),
             checkItem("lierobj", TR("Conserver la liaison lors de l'insertion"), true),
             separator("sepspell"),
             checkItem("checkSpelling", TR("Vérifier l'&orthographe pendant la saisie"), true),
         }},
        {"outil",
         TR("&Outils"),
         {
             {"rechercher", TR("&Rechercher"), "Ctrl+F"},
             {"contrech", TR("Poursuivre la recherche"), "F3"},
             separator("sep54"),
             {"remplace", TR("Rem&placer")},
         }},
        {"exot",
         TR("Exer&cice"),
         {
             {"az55", TR("&Fermer exercice")},
             {"az54", TR("&Ouvrir un exercice")},
             {"az53", TR("Créer ou modifier un e&xercice")},
             separator("sepsep99"),
             {"az52", TR("&Editer l'énoncé"), nullptr, false, false, false, true},
             {"az51", TR("Editer le texte de la &correction"), nullptr, false, false, false, true},
         }},
        {"aidant", TR("&Aide"), {}},
    };
    return table;
}

const QList<ToolButtonDefinition> &toolBarTable()
{
    // The pen colours follow the order of the tool tips (black first), not their indices.
    static const QList<ToolButtonDefinition> table = {
        {"Command2", TR("Nouveau"), ":/shell/icons/new.svg"},
        {"Command3", TR("Ouvrir"), ":/shell/icons/open.svg"},
        {"Command4", TR("Enregistrer"), ":/shell/icons/save.svg"},
        {"Command5", TR("Quitter"), ":/shell/icons/quit.svg"},
        {"Command7", TR("Couper"), ":/shell/icons/cut.svg", false, true},
        {"Command6", TR("Copier"), ":/shell/icons/copy.svg"},
        {"Command8", TR("Coller"), ":/shell/icons/paste.svg"},
        {"annule", TR("Annuler dernière opération"), ":/shell/icons/undo.svg"},
        {"Command13", TR("Rechercher"), ":/shell/icons/find.svg", false, true},
        {"Command18", TR("Imprimer"), ":/shell/icons/print.svg"},
        {"Command11", TR("Insérer une image"), ":/shell/icons/image.svg", false, true},
        {"Command9", TR("Insertion formule ion polyatomique"), ":/shell/icons/ion.svg"},
        {"boutonchim", TR("Mettre en forme une formule chimique"), ":/shell/icons/chemformula.svg"},
        {"Check1(1)", TR("Gras"), ":/shell/icons/bold.svg", true, true},
        {"Check1(2)", TR("Italique"), ":/shell/icons/italic.svg", true},
        {"Check1(3)", TR("Souligné"), ":/shell/icons/underline.svg", true},
        {"Command12", TR("Choisir une couleur d'écriture"), ":/shell/icons/palette.svg", false, true},
        {"optcoul(1)", TR("Ecrire en noir"), ":/shell/icons/pen-black.svg", true},
        {"optcoul(0)", TR("Ecrire en bleu"), ":/shell/icons/pen-blue.svg", true},
        {"optcoul(2)", TR("Ecrire en rouge"), ":/shell/icons/pen-red.svg", true},
        {"optcoul(3)", TR("Ecrire en vert"), ":/shell/icons/pen-green.svg", true},
        {"bull", TR("Style puces"), ":/shell/icons/bullets.svg", true, true},
        {"Option3(0)", TR("Aligné à gauche"), ":/shell/icons/align-left.svg", true},
        {"Option3(1)", TR("Centré"), ":/shell/icons/align-center.svg", true},
        {"Option3(2)", TR("Aligné à droite"), ":/shell/icons/align-right.svg", true},
    };
    return table;
}
