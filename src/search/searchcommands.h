#pragma once

#include "textreplacer.h"
#include "textsearch.h"

#include <QObject>

class QWidget;

// The commands of the tools menu: "&Rechercher", "Poursuivre la recherche" and "Rem&placer".
// Each dialog is created when shown and destroyed when closed, over exo's window.
class SearchCommands : public QObject
{
    Q_OBJECT
public:
    SearchCommands(RichTextControl &exo, EditorState &state, MessageBoxes &messages,
                   QObject *parent = nullptr);

    void rechercher(); // the find dialog, then a continue-search unless it was cancelled
    void contrech();   // continue-search, F3
    void remplace();   // the replace dialog

private:
    QWidget *dialogParent() const;

    RichTextControl &m_exo;
    TextSearch m_search;
    TextReplacer m_replacer;
};
